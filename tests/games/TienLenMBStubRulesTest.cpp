// How the stub's Tien Len MB players answer and what the stub lets a person play.
#include "games/tienlenmb/CardMBUtils.h"
#include "tests/support/Bytes.h"
#include "tools/portal-stub/StubTienLenMBRules.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <tuple>

// Card ids: rank = id / 4 (0 the three ... 12 the two), suit = id % 4 (0 spades,
// 1 clubs, 2 diamonds, 3 hearts).
namespace kavo::test {
namespace {

using portalstub::StubTienLenMBRules;
using Cards = StubTienLenMBRules::Cards;

TEST(TienLenMBStubRules, StubPlayersFollowSuitWithTheirLowestCardsOrSkip) {
    // What each row shows, the table's cards, the stub player's hand, its answer.
    const std::tuple<const char*, Cards, Cards, Cards> cases[] = {
        {"a clear table gets the lowest card", {}, {30, 17, 4}, {4}},
        {"a higher heart on the seven of hearts", {19}, {0, 15, 27, 23, 40, 49}, {23}},
        {"no higher heart: the lowest two", {19}, {0, 15, 40, 51, 49}, {49}},
        {"nothing to follow: a skip", {19}, {0, 15, 40}, {}},
        {"the lowest higher black pair", {9, 8}, {6, 7, 16, 17, 12, 13, 48, 49}, {12, 13}},
        {"red pairs do not follow black ones", {8, 9}, {14, 15, 48, 50}, {}},
        {"black twos follow black fives", {8, 9}, {14, 15, 48, 49}, {48, 49}},
        {"the lowest higher spade straight", {0, 4, 8}, {5, 9, 13, 12, 16, 20, 24}, {12, 16, 20}},
        {"a triple in the table's suits", {0, 1, 3}, {4, 5, 6, 7}, {4, 5, 7}},
        {"a black run on a black run",
         {0, 1, 4, 5, 8, 9},
         {6, 7, 10, 11, 14, 15, 12, 13, 16, 17, 20, 21},
         {12, 13, 16, 17, 20, 21}},
        {"a higher four of a kind", {4, 5, 6, 7}, {0, 8, 9, 10, 11}, {8, 9, 10, 11}},
        {"an empty hand skips", {19}, {}, {}},
    };
    for (const auto& [shows, table, hand, answer] : cases)
        EXPECT_EQ(StubTienLenMBRules::answer(table, hand), answer) << shows;
}

TEST(TienLenMBStubRules, PersonsPlaysAreCheckedByTheMBRules) {
    // What each row shows, the table's cards, the person's hand, the play, the verdict.
    const std::tuple<const char*, Cards, Cards, Cards, bool> cases[] = {
        {"a one-suit straight on a clear table", {}, {8, 0, 4, 30}, {4, 8, 0}, true},
        {"a two-suit straight on a clear table", {}, {0, 5, 8}, {0, 5, 8}, false},
        {"a higher heart on a heart", {19}, {23, 40}, {23}, true},
        {"a spade on a heart", {19}, {23, 40}, {40}, false},
        {"a card not held", {19}, {23, 40}, {27}, false},
        {"a card played twice", {}, {4, 5}, {4, 4}, false},
        {"nothing", {}, {4}, {}, false},
        {"a red run chops a two", {50}, {2, 3, 6, 7, 10, 11, 30}, {2, 3, 6, 7, 10, 11}, true},
    };
    for (const auto& [shows, table, hand, play, allowed] : cases)
        EXPECT_EQ(StubTienLenMBRules::allows(table, hand, play), allowed) << shows;
}

TEST(TienLenMBStubRules, EveryStubAnswerIsAPlayTheStubWouldTakeFromAPerson) {
    std::mt19937 random(12);
    Cards deck(52);
    std::iota(deck.begin(), deck.end(), int8_t(0));
    int answered = 0;
    for (int round = 0; round < 400; ++round) {
        std::shuffle(deck.begin(), deck.end(), random);
        const Cards hand(deck.begin(), deck.begin() + 13);
        // The table: a combination of the first cards of another hand.
        Cards table(deck.begin() + 13, deck.begin() + 13 + 1 + int(random() % 3));
        std::sort(table.begin(), table.end());
        if (CardMBUtils::getType(table) == CardUtils::kNone) continue;
        const Cards play = StubTienLenMBRules::answer(table, hand);
        if (play.empty()) continue;
        ++answered;
        EXPECT_TRUE(StubTienLenMBRules::allows(table, hand, play))
            << ::testing::PrintToString(table) << " answered " << ::testing::PrintToString(play);
        EXPECT_EQ(play.size(), table.size());
    }
    EXPECT_GT(answered, 20) << "the rounds should reach answers";
}

TEST(TienLenMBStubRules, ClaimsHoldAsTheClientMakesThem) {
    const Cards fourTwos{51, 0, 4, 8, 12, 16, 20, 24, 28, 36, 48, 49, 50};
    EXPECT_TRUE(StubTienLenMBRules::claimHolds(fourTwos, false, false));
    const Cards threeBlackPairs{9, 0, 5, 1, 8, 4, 20, 24, 28, 33, 38, 43, 50};
    EXPECT_FALSE(StubTienLenMBRules::claimHolds(threeBlackPairs, false, false)) << "later match, another moves first";
    EXPECT_TRUE(StubTienLenMBRules::claimHolds(threeBlackPairs, true, false)) << "first match";
    EXPECT_TRUE(StubTienLenMBRules::claimHolds(threeBlackPairs, false, true)) << "the claimant moves first";
    const Cards fourThrees{0, 1, 2, 3, 4, 9, 14, 19, 20, 25, 30, 35, 40};
    EXPECT_TRUE(StubTienLenMBRules::claimHolds(fourThrees, true, false));
    EXPECT_FALSE(StubTienLenMBRules::claimHolds(fourThrees, false, true));
}

TEST(TienLenMBStubRules, AClaimIsAnsweredWithBoardRoomWinnerAndThirteenCards) {
    const Cards hand{0, 1, 4, 5, 8, 9, 20, 24, 28, 33, 38, 43, 50, 51};
    const Message message = StubTienLenMBRules::forceFinishMessage(2, 7, 4001, hand);
    EXPECT_EQ(message.commandId(), 53);
    EXPECT_EQ(toHex(message.data()), "070200000fa100010405080914181c21262b32");
}

} // namespace
} // namespace kavo::test
