// The Phom meld rules over plain cards: sorting, both scans, the meld-first order, the
// meld tests and the meld list the server gets (the bytes of 68 after room and board).
#include "games/phom/PhomMelds.h"

#include "games/phom/PhomNewService.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using namespace phommelds;

MeldHand handOf(std::initializer_list<int> ids) {
    MeldHand hand;
    for (int id : ids)
        hand.push_back({int8_t(id), 0, false, int(hand.size())});
    return hand;
}

std::vector<int> idsOf(const MeldHand& hand) {
    std::vector<int> ids;
    for (const auto& card : hand)
        ids.push_back(card.id);
    return ids;
}

// The 68 request for the hand at room 2, board 7.
std::vector<uint8_t> report(const MeldHand& hand) {
    return PhomNewService::doResetPhomMessage(2, 7, hand).data();
}

// Whether the cards at these places share one non-zero tag.
bool oneMeld(const MeldHand& hand, std::initializer_list<size_t> places) {
    const int8_t tag = hand[*places.begin()].tag;
    return tag != 0 && std::all_of(places.begin(), places.end(), [&](size_t p) { return hand[p].tag == tag; });
}

MeldHand sorted(std::initializer_list<int> ids) {
    MeldHand hand = handOf(ids);
    PhomTagCounter counter;
    intelligentSort(hand, counter);
    return hand;
}

TEST(PhomMeldSort, TheSuitPassPutsTheLowestSuitOfARankLastAndLeavesOneCardAlone) {
    MeldHand one = handOf({5});
    sortChat(one);
    EXPECT_EQ(idsOf(one), (std::vector<int>{5}));

    MeldHand sevens = handOf({24, 25, 26, 27});
    sortChat(sevens);
    EXPECT_EQ(idsOf(sevens), (std::vector<int>{25, 26, 27, 24}));
    MeldHand suits = handOf({0, 1, 3});
    sortChat(suits);
    EXPECT_EQ(idsOf(suits), (std::vector<int>{1, 3, 0}));
}

TEST(PhomMeldSort, FourSevensMakeOneSetAndTheRightmostSevenStaysLoose) {
    const MeldHand hand = sorted({26, 24, 27, 25});
    EXPECT_EQ(idsOf(hand), (std::vector<int>{27, 26, 25, 24}));
    EXPECT_TRUE(oneMeld(hand, {0, 1, 2}));
    EXPECT_EQ(hand[3].tag, 0);
    EXPECT_EQ(report(hand), (std::vector<uint8_t>{2, 7, 1, 27, 26, 25, 255}));
}

TEST(PhomMeldSort, RunsFollowTheRankOrderWithinTheirWindowAndNeverWrap) {
    // Ace, two, three of one suit form a run; queen, king, ace do not.
    EXPECT_EQ(report(sorted({48, 0, 44})), (std::vector<uint8_t>{2, 7, 0}));

    // Five in a row: the three lowest make the run, the others stay loose.
    const MeldHand five = sorted({17, 1, 13, 9, 5});
    EXPECT_EQ(report(five), (std::vector<uint8_t>{2, 7, 1, 9, 5, 1, 255}));
    EXPECT_EQ(five[3].tag, 0);
    EXPECT_EQ(five[4].tag, 0);

    // The sorted scan looks five places ahead for the second and third card of a run.
    PhomTagCounter counter;
    MeldHand near = handOf({0, 21, 26, 31, 4, 8});
    findPhom1(near, counter);
    EXPECT_TRUE(oneMeld(near, {0, 4, 5}));
    MeldHand far = handOf({0, 21, 26, 31, 33, 4, 8});
    findPhom1(far, counter);
    EXPECT_TRUE(std::all_of(far.begin(), far.end(), [](const MeldCard& c) { return c.tag == 0; }));
}

TEST(PhomMeldSort, ACardThatFitsASetAndARunGoesToTheSet) {
    const MeldHand hand = sorted({8, 5, 0, 6, 4});
    EXPECT_EQ(idsOf(hand), (std::vector<int>{6, 5, 4, 0, 8}));
    EXPECT_EQ(report(hand), (std::vector<uint8_t>{2, 7, 1, 6, 5, 4, 255}));
}

TEST(PhomMeldSort, MeldsComeFirstSetsAheadOfRunsUnlessTheRunIsWorthMoreAndTiesKeepTheirOrder) {
    struct Case {
        const char* what;
        std::initializer_list<int> hand;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"a run of 5-6-7 (18) before a set of aces (3)",
         {1, 24, 2, 16, 3, 20},
         {2, 7, 2, 24, 20, 16, 255, 3, 2, 1, 255}},
        {"a set of kings (39) before a run of A-2-3 (6)",
         {49, 8, 50, 4, 51, 0},
         {2, 7, 2, 51, 50, 49, 255, 8, 4, 0, 255}},
        {"two runs of equal value keep their order", {8, 0, 9, 5, 1, 4}, {2, 7, 2, 9, 5, 1, 255, 8, 4, 0, 255}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(report(sorted(c.hand)), c.bytes) << c.what;
}

TEST(PhomMeldSort, ASecondSortKeepsEveryTagAndStillReportsTheMelds) {
    PhomTagCounter counter;
    MeldHand hand = handOf({1, 24, 2, 16, 3, 20, 40});
    intelligentSort(hand, counter);
    MeldHand again = hand;
    intelligentSort(again, counter);
    for (size_t i = 0; i < hand.size(); ++i) {
        EXPECT_EQ(again[i].id, hand[i].id);
        EXPECT_EQ(again[i].tag, hand[i].tag);
    }
    EXPECT_EQ(report(again), (std::vector<uint8_t>{2, 7, 2, 24, 20, 16, 255, 3, 2, 1, 255}));
}

TEST(PhomMeldAdjacency, OnlyCardsSideBySideOfOneSuitAndNextRanksFormMelds) {
    struct Case {
        const char* what;
        std::initializer_list<int> hand;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"5, 7, 6 of one suit", {16, 24, 20}, {2, 7, 1, 16, 24, 20, 255}},
        {"a card between the sevens", {24, 1, 25, 26}, {2, 7, 0}},
        {"three sevens side by side", {24, 25, 26, 1}, {2, 7, 1, 24, 25, 26, 255}},
        {"5, 7 and 3 of one suit", {16, 24, 8}, {2, 7, 0}},
        {"5, 8 and 6 of spades", {16, 28, 20}, {2, 7, 0}},
    };
    for (const auto& c : cases) {
        PhomTagCounter counter;
        MeldHand hand = handOf(c.hand);
        findPhom2(hand, counter);
        EXPECT_EQ(report(hand), c.bytes) << c.what;
    }
    // The possible-run check: one suit, next ranks, never wrapping from the king to the ace.
    const std::pair<std::array<int8_t, 3>, bool> threes[] = {{{0, 4, 8}, true},     {{24, 16, 20}, true},
                                                             {{44, 48, 0}, false},  {{16, 21, 24}, false},
                                                             {{16, 20, 25}, false}, {{17, 20, 24}, false}};
    for (const auto& [ids, run] : threes)
        EXPECT_EQ(canBePhom(ids[0], ids[1], ids[2]), run) << int(ids[0]) << "," << int(ids[1]) << "," << int(ids[2]);
}

TEST(PhomMeldAdjacency, ARunTakesACardOfAnEatenMeldWithoutDissolvingIt) {
    for (bool eaten : {true, false}) {
        PhomTagCounter counter;
        MeldHand hand = handOf({17, 18, 20, 24, 16});
        for (size_t p : {0, 1, 4})
            hand[p].tag = 7;
        hand[1].eaten = eaten;
        findPhom2(hand, counter);
        EXPECT_TRUE(oneMeld(hand, {2, 3, 4}));
        EXPECT_NE(hand[4].tag, 7);
        if (eaten) {
            EXPECT_EQ(hand[0].tag, 7);
            EXPECT_EQ(hand[1].tag, 7);
            EXPECT_EQ(report(hand), (std::vector<uint8_t>{2, 7, 1, 17, 18, 20, 255}));
        } else {
            EXPECT_EQ(hand[0].tag, 0);
            EXPECT_EQ(hand[1].tag, 0);
            EXPECT_EQ(report(hand), (std::vector<uint8_t>{2, 7, 1, 20, 24, 16, 255}));
        }
    }
}

TEST(PhomMeldValues, TagQueriesCountValueAndDissolve) {
    MeldHand hand = handOf({48, 49, 50, 51, 0, 4});
    for (size_t p : {0, 1, 2, 3})
        hand[p].tag = 5;
    hand[4].tag = 6;
    hand[4].eaten = true;
    EXPECT_EQ(countPhomCard(hand, 5), 4);
    EXPECT_EQ(countPhomValue(hand, 5), 39) << "the last three of four";
    EXPECT_EQ(getValueOfPhom(hand, 5), 52);
    EXPECT_EQ(countPhomValue(hand, 0), 0);
    EXPECT_TRUE(isPhomBaLa(hand, 5));
    EXPECT_TRUE(isPhomBaLa(hand, 9)) << "no card carries it";
    EXPECT_TRUE(isPhomAn(hand, 6));
    EXPECT_FALSE(isPhomAn(hand, 5));
    clearPhomMove(hand, 5);
    EXPECT_EQ(countPhomCard(hand, 5), 0);
    EXPECT_EQ(countPhomCard(hand, 0), 5);
}

TEST(PhomMeldValues, TheArrayFormsSortAndTestRunsAndSets) {
    int ids[] = {-1, 8, 0, 4};
    orderArrayIncrease(ids, 4);
    EXPECT_EQ(std::vector<int>(ids, ids + 4), (std::vector<int>{0, 4, 8, -1}));
    struct Case {
        std::vector<int> ids;
        bool run, set;
    };
    const Case cases[] = {
        {{8, 0, 4, -1}, true, false},    {{0, 4, -1}, false, false},   {{0, 4, 9}, false, false},
        {{24, 25, -1, 26}, false, true}, {{24, 24, 25}, false, false}, {{44, 48, 0}, false, false},
        {{1, 5, 9, 13}, true, false},    {{24, 25}, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkPhomSanh(c.ids.data(), int(c.ids.size())), c.run) << c.ids[0] << "," << c.ids[1];
        EXPECT_EQ(checkPhomBaLa(c.ids.data(), int(c.ids.size())), c.set) << c.ids[0] << "," << c.ids[1];
    }
}

TEST(PhomMeldList, ATaggedCardInTheLastTwoPlacesIsSentAsLoose) {
    MeldHand tail = handOf({1, 2, 3});
    tail[2].tag = 5;
    EXPECT_EQ(report(tail), (std::vector<uint8_t>{2, 7, 0}));
    MeldHand hand = handOf({0, 4, 8, 12, 13});
    for (size_t p : {0, 1, 2})
        hand[p].tag = 5;
    hand[3].tag = hand[4].tag = 9;
    EXPECT_EQ(report(hand), (std::vector<uint8_t>{2, 7, 1, 0, 4, 8, 255}));
}

TEST(PhomMeldTags, FiveHundredSortsNeverGiveZeroTheTrialTagOrALiveTag) {
    PhomTagCounter counter;
    MeldHand hand = handOf({48, 49, 50});
    intelligentSort(hand, counter);
    const int8_t live = hand[0].tag;
    ASSERT_NE(live, 0);
    for (int round = 0; round < 500; ++round) {
        MeldHand withSet = hand;
        for (int id : {24, 25, 26})
            withSet.push_back({int8_t(id), 0, false, -1});
        intelligentSort(withSet, counter);
        const auto seven = std::find_if(withSet.begin(), withSet.end(), [](const MeldCard& c) { return c.id == 24; });
        ASSERT_NE(seven->tag, 0) << round;
        ASSERT_NE(seven->tag, kTrialTag) << round;
        ASSERT_NE(seven->tag, -1) << round;
        ASSERT_NE(seven->tag, live) << round;
    }
}

MeldHand taggedHand(std::initializer_list<std::pair<int, int>> cards) {
    MeldHand hand;
    for (const auto& [id, tag] : cards)
        hand.push_back({int8_t(id), int8_t(tag), false, int(hand.size())});
    return hand;
}

TEST(PhomRequests, EveryRequestIsBuiltByteForByte) {
    struct Case {
        const char* what;
        Message message;
        int16_t command;
        std::vector<uint8_t> body;
    };
    const MeldHand threeMelds =
        taggedHand({{26, 4}, {25, 4}, {24, 4}, {8, 5}, {4, 5}, {0, 5}, {49, 6}, {45, 6}, {41, 6}, {13, 0}});
    const Case cases[] = {
        {"fire", PhomNewService::fireMessage(2, 7, 13), 21, {2, 7, 13}},
        {"skip", PhomNewService::skipMessage(2, 7), 49, {2, 7}},
        {"draw", PhomNewService::getCardMessage(2, 7), 63, {2, 7}},
        {"eat: the discard first, then the two hand cards",
         PhomNewService::eatCardMessage(2, 7, 26, 25, 27),
         64,
         {2, 7, 27, 26, 25}},
        {"three melds in thirteen bytes",
         PhomNewService::haPhomMessage(2, 7, threeMelds),
         65,
         {2, 7, 3, 26, 25, 24, 255, 8, 4, 0, 255, 49, 45, 41, 255}},
        {"lay off nothing: room and board only", PhomNewService::addCardMessage(2, 7, {}), 67, {2, 7}},
        {"lay off two cards", PhomNewService::addCardMessage(2, 7, {12, 48}), 67, {2, 7, 12, 48}},
        {"the grouping",
         PhomNewService::doResetPhomMessage(2, 7, threeMelds),
         68,
         {2, 7, 3, 26, 25, 24, 255, 8, 4, 0, 255, 49, 45, 41, 255}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.message.commandId(), c.command) << c.what;
        EXPECT_EQ(c.message.data(), c.body) << c.what;
    }
}

} // namespace
} // namespace kavo::test
