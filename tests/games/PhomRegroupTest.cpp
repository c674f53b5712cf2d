// Regrouping my Phom hand after a drop, without views: the decision over the side
// checks, the side checks on real cards, and whole drops (the screen's touch end).
#include "games/phom/PhomRegroup.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using namespace phomregroup;

// A card: id, tag, eaten.
struct C {
    int id;
    int tag = 0;
    bool eaten = false;
};

MeldHand handOf(std::initializer_list<C> cards) {
    MeldHand hand;
    for (const auto& c : cards)
        hand.push_back({int8_t(c.id), int8_t(c.tag), c.eaten, int(hand.size())});
    return hand;
}

std::vector<int> idsOf(const MeldHand& hand) {
    std::vector<int> ids;
    for (const auto& card : hand)
        ids.push_back(card.id);
    return ids;
}

int tagOf(const MeldHand& hand, int id) {
    for (const auto& card : hand)
        if (card.id == id) return card.tag;
    return -100;
}

struct Row {
    const char* name;
    bool left, right, mid;
    Flags flags;
    Change expected;
};

Flags flags(bool anL, bool anR, bool anM, bool baL = false, bool baR = false, bool baM = false) {
    Flags f;
    f.anLeft = anL;
    f.anRight = anR;
    f.anMid = anM;
    f.baLaLeft = baL;
    f.baLaRight = baR;
    f.baLaMid = baM;
    return f;
}

TEST(PhomRegroup, TheDecisionFollowsTheSideChecksAndTheirFlags) {
    const Row rows[] = {
        {"no meld on any side", false, false, false, flags(true, true, true), Change::None},
        {"left allowed", true, false, false, flags(true, false, false), Change::Left},
        {"left not allowed", true, false, false, flags(false, true, true), Change::None},
        {"right allowed", false, true, false, flags(false, true, false), Change::Right},
        {"right not allowed", false, true, false, flags(true, false, true), Change::None},
        {"middle allowed", false, false, true, flags(false, false, true), Change::Mid},
        {"middle not allowed", false, false, true, flags(true, true, false), Change::None},
        {"left and middle, middle barred, left allowed", true, false, true, flags(true, false, false), Change::Left},
        {"left and middle, both barred", true, false, true, flags(false, false, false), Change::None},
        {"left and middle, left a set", true, false, true, flags(true, false, true, true), Change::Left},
        {"left and middle, left a run", true, false, true, flags(true, false, true, false), Change::Mid},
        {"left and middle, left barred", true, false, true, flags(false, false, true, true), Change::Mid},
        {"right and middle, middle barred, right allowed", false, true, true, flags(false, true, false), Change::Right},
        {"right and middle, both barred", false, true, true, flags(false, false, false), Change::None},
        {"right and middle, right barred", false, true, true, flags(false, false, true), Change::Mid},
        {"right and middle, middle a set", false, true, true, flags(false, true, true, false, false, true),
         Change::Mid},
        {"right and middle, middle a run", false, true, true, flags(false, true, true), Change::Right},
        {"left and right, only left allowed", true, true, false, flags(true, false, false), Change::Left},
        {"left and right, only right allowed", true, true, false, flags(false, true, false), Change::Right},
        {"left and right, both allowed", true, true, false, flags(true, true, false), Change::None},
        {"left and right, neither allowed", true, true, false, flags(false, false, false), Change::None},
        {"all three", true, true, true, flags(false, false, false), Change::Right},
    };
    for (const auto& row : rows)
        EXPECT_EQ(decide(row.left, row.right, row.mid, row.flags), row.expected) << row.name;
}

TEST(PhomRegroup, TheSideChecksSetTheirFlagsAndPutTheTagsBack) {
    // 5, 6 and 7 of spades: a run on the left of the seven.
    auto run = handOf({{16}, {20}, {24}, {49}});
    Flags f;
    EXPECT_TRUE(checkLeft(run, 2, f));
    EXPECT_TRUE(f.anLeft);
    EXPECT_FALSE(f.baLaLeft);
    EXPECT_FALSE(checkRight(run, 2, f));
    EXPECT_FALSE(checkMid(run, 2, f)); // 6, 7 and the king of hearts
    EXPECT_TRUE(checkMid(run, 1, f));
    EXPECT_TRUE(f.anMid);
    EXPECT_EQ(idsOf(run), (std::vector<int>{16, 20, 24, 49}));
    EXPECT_EQ(tagOf(run, 16), 0);

    // Three aces: a set on the right of the first.
    auto set = handOf({{0}, {1}, {2}});
    f = {};
    EXPECT_TRUE(checkRight(set, 0, f));
    EXPECT_TRUE(f.baLaRight);
    EXPECT_FALSE(checkLeft(set, 0, f));

    // The seven belongs to a meld with an eaten card: a new meld without that card is
    // not allowed, one holding the eaten card is.
    auto eaten = handOf({{16}, {20}, {24, 5}, {28, 5, true}, {32, 5}});
    f = {};
    EXPECT_TRUE(checkLeft(eaten, 2, f));
    EXPECT_TRUE(f.oldEat);
    EXPECT_FALSE(f.anLeft);
    EXPECT_EQ(tagOf(eaten, 24), 5);
    EXPECT_EQ(tagOf(eaten, 16), 0);
    EXPECT_TRUE(checkRight(eaten, 2, f));
    EXPECT_TRUE(f.anRight);
    EXPECT_FALSE(f.baLaRight);
    // Both neighbours in melds with eaten cards: no middle meld.
    auto between = handOf({{16, 3, true}, {20, 0}, {24, 5, true}});
    EXPECT_FALSE(checkMid(between, 1, f));
}

TEST(PhomRegroup, ACardBetweenTwoCardsOfItsOwnTagIsNotRegrouped) {
    EXPECT_FALSE(checkCardIndex(handOf({{16}, {49}, {24}}), 1));
    EXPECT_FALSE(checkCardIndex(handOf({{16, 4}, {20, 4}, {24, 4}}), 1));
    EXPECT_TRUE(checkCardIndex(handOf({{16, 4}, {49}, {24, 4}}), 1));
    EXPECT_TRUE(checkCardIndex(handOf({{16, 4}, {20, 4}, {24, 4}}), 0));
    EXPECT_TRUE(checkCardIndex(handOf({{16, 4}, {20, 4}, {24, 4}}), 2));
}

TEST(PhomRegroup, ALooseCardDroppedIntoAMeldBreaksItUnlessTheMeldHoldsAnEatenCard) {
    PhomTagCounter counter;
    // 5, 6, 7 of spades and the king of hearts; the king goes between the 5 and the 6.
    auto plain = handOf({{16, 5}, {20, 5}, {24, 5}, {49}});
    dropCard(plain, 3, 1, counter);
    EXPECT_EQ(idsOf(plain), (std::vector<int>{16, 49, 20, 24}));
    for (int id : {16, 49, 20, 24})
        EXPECT_EQ(tagOf(plain, id), 0) << id;

    auto eaten = handOf({{16, 5}, {20, 5}, {24, 5, true}, {49}});
    int reports = 0;
    dropCard(eaten, 3, 1, counter, [&](const MeldHand&) { ++reports; });
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(tagOf(eaten, 16), 5);
    EXPECT_EQ(tagOf(eaten, 20), 5);
    EXPECT_EQ(tagOf(eaten, 24), 5);
    EXPECT_EQ(tagOf(eaten, 49), 0);
    EXPECT_EQ(idsOf(eaten).back(), 49);
}

TEST(PhomRegroup, ACardOfAMeldWithAnEatenCardKeepsItsTagAndReturnsToItsMeld) {
    PhomTagCounter counter;
    auto hand = handOf({{16, 5}, {20, 5}, {24, 5, true}, {49}, {45}});
    dropCard(hand, 0, 4, counter);
    EXPECT_EQ(tagOf(hand, 16), 5);
    const auto ids = idsOf(hand);
    const auto at = [&](int id) { return std::find(ids.begin(), ids.end(), id) - ids.begin(); };
    EXPECT_EQ(std::abs(at(16) - at(20)) + std::abs(at(20) - at(24)), 2) << testing::PrintToString(ids);
}

TEST(PhomRegroup, APlainMeldCardDraggedAwayDissolvesAndTheScanFindsWhereItLanded) {
    PhomTagCounter counter;
    // The 7 of spades leaves its run and lands beside two sevens.
    auto hand = handOf({{16, 5}, {20, 5}, {24, 5}, {25}, {26}});
    dropCard(hand, 2, 4, counter);
    EXPECT_EQ(idsOf(hand), (std::vector<int>{16, 20, 25, 26, 24}));
    EXPECT_EQ(tagOf(hand, 16), 0);
    EXPECT_EQ(tagOf(hand, 20), 0);
    EXPECT_NE(tagOf(hand, 24), 0);
    EXPECT_EQ(tagOf(hand, 24), tagOf(hand, 25));
    EXPECT_EQ(tagOf(hand, 24), tagOf(hand, 26));
}

TEST(PhomRegroup, AnEatenMeldCardDroppedBesideAMatchingPairFormsANewMeldAndReportsIt) {
    PhomTagCounter counter;
    // The eaten 7 of spades and its run 5-6; two more sevens stand loose. Dropped on the
    // right of the sevens the eaten card takes them as a set (a new meld holding it).
    auto hand = handOf({{16, 5}, {20, 5}, {24, 5, true}, {25}, {26}, {49}});
    int reports = 0;
    dropCard(hand, 2, 4, counter, [&](const MeldHand&) { ++reports; });
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(tagOf(hand, 24), tagOf(hand, 25));
    EXPECT_EQ(tagOf(hand, 24), tagOf(hand, 26));
    EXPECT_NE(tagOf(hand, 24), 0);
    EXPECT_EQ(tagOf(hand, 16), 0);
}

TEST(PhomRegroup, AMiddleRegroupTagsTheCardAndBothNeighbours) {
    PhomTagCounter counter;
    // The six of spades dropped between the five and the seven, each the last of a meld.
    auto hand = handOf({{45}, {16, 4}, {20}, {24, 6}, {49}});
    EXPECT_EQ(checkDoiPhom(hand, 2, counter), Change::Mid);
    EXPECT_NE(tagOf(hand, 20), 0);
    EXPECT_EQ(tagOf(hand, 16), tagOf(hand, 20));
    EXPECT_EQ(tagOf(hand, 24), tagOf(hand, 20));
    EXPECT_EQ(tagOf(hand, 45), 0);
    EXPECT_EQ(tagOf(hand, 49), 0);
}

TEST(PhomRegroup, AMiddleMeldIsTriedWhenOnlyOneNeighboursMeldHoldsAnEatenCard) {
    Flags f;
    auto left = handOf({{16, 3, true}, {20}, {24}});
    EXPECT_TRUE(checkMid(left, 1, f));
    auto right = handOf({{16}, {20}, {24, 3, true}});
    EXPECT_TRUE(checkMid(right, 1, f));
}

} // namespace
} // namespace kavo::test
