#include "games/tienlen/CardUtils.h"

#include <gtest/gtest.h>
#include <vector>

// Card ids: rank = id / 4 (0 the three ... 11 the ace, 12 the two), suit = id % 4.
namespace kavo::test {
namespace {

using Bytes = std::vector<int8_t>;
using Indexes = CardUtils::Indexes;

struct TypeCase {
    const char* name;
    Bytes cards;
    int type;
};

TEST(TienLenRules, EveryShapeGetsItsType) {
    const TypeCase cases[] = {
        {"single", {5}, 0},
        {"pair", {0, 1}, 2},
        {"two ranks", {0, 4}, -1},
        {"triple", {0, 1, 2}, 3},
        {"three-four-five", {0, 4, 8}, 1},
        {"straight with suits mixed", {0, 5, 10, 15, 16}, 1},
        {"straight with a gap", {0, 5, 12}, -1},
        {"queen-king-ace-two", {36, 40, 44, 48}, -1},
        {"three pairs", {0, 1, 4, 5, 8, 9}, 4},
        {"king-king-ace-ace-two-two", {40, 41, 44, 45, 48, 49}, 4},
        {"four pairs ending in twos", {36, 37, 40, 41, 44, 45, 48, 49}, 5},
        {"four of a kind", {0, 1, 2, 3}, 6},
        {"two pairs", {0, 1, 4, 5}, -1},
        {"three pairs with a gap", {0, 1, 4, 5, 12, 13}, -1},
        {"four pairs with a gap", {0, 1, 4, 5, 8, 9, 16, 17}, -1},
        {"pair and a kicker", {0, 1, 5}, -1},
        {"nothing", {}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CardUtils::getType(c.cards), c.type) << c.name;
}

TEST(TienLenRules, SortIsAscendingWithFaceDownFirst) {
    Bytes cards{51, 0, 17, -1, 4};
    CardUtils::sort(cards.data(), int(cards.size()));
    EXPECT_EQ(cards, (Bytes{-1, 0, 4, 17, 51}));
}

struct BeatCase {
    const char* name;
    Bytes mine;
    Bytes table;
    bool beats;
};

TEST(TienLenRules, BeatTableWithEveryChop) {
    const BeatCase cases[] = {
        {"clear table, typed", {0, 4, 8}, {}, true},
        {"clear table, untyped", {0, 4}, {}, false},
        {"higher single", {5}, {4}, true},
        {"lower single", {4}, {5}, false},
        {"two of a higher suit", {49}, {48}, true},
        {"pair on a single", {6, 7}, {4}, false},
        {"three pairs chop a single two", {0, 1, 4, 5, 8, 9}, {51}, true},
        {"four pairs chop a single two", {0, 1, 4, 5, 8, 9, 12, 13}, {48}, true},
        {"four of a kind chops a single two", {0, 1, 2, 3}, {50}, true},
        {"three pairs do not beat an ace", {0, 1, 4, 5, 8, 9}, {47}, false},
        {"higher straight", {4, 8, 12}, {0, 4, 8}, true},
        {"straight won on the top suit", {1, 5, 9}, {0, 4, 8}, true},
        {"longer straight", {4, 8, 12, 16}, {0, 4, 8}, false},
        {"higher pair", {6, 7}, {4, 5}, true},
        {"pair with a lower top", {4, 6}, {5, 7}, false},
        {"pair whose top beats though its lowest does not", {4, 7}, {5, 6}, true},
        {"pair whose lowest beats though its top does not", {5, 6}, {4, 7}, false},
        {"straight whose top beats though its lowest does not", {1, 4, 11}, {2, 5, 8}, true},
        {"straight whose lowest beats though its top does not", {2, 5, 8}, {1, 4, 11}, false},
        {"higher pair of twos", {50, 51}, {48, 49}, true},
        {"three pairs on a pair of twos", {0, 1, 4, 5, 8, 9}, {48, 49}, false},
        {"four pairs on a pair of twos", {0, 1, 4, 5, 8, 9, 12, 13}, {48, 49}, true},
        {"four of a kind on a pair of twos", {0, 1, 2, 3}, {48, 49}, true},
        {"four of a kind on a pair of aces", {0, 1, 2, 3}, {44, 45}, false},
        {"higher triple", {4, 5, 6}, {0, 1, 2}, true},
        {"higher three pairs", {4, 5, 8, 9, 12, 13}, {0, 1, 4, 5, 8, 9}, true},
        {"lower three pairs", {0, 1, 4, 5, 8, 9}, {4, 5, 8, 9, 12, 13}, false},
        {"four pairs on three pairs", {0, 1, 4, 5, 8, 9, 12, 13}, {16, 17, 20, 21, 24, 25}, true},
        {"four of a kind on three pairs", {0, 1, 2, 3}, {16, 17, 20, 21, 24, 25}, true},
        {"higher four pairs", {4, 5, 8, 9, 12, 13, 16, 17}, {0, 1, 4, 5, 8, 9, 12, 13}, true},
        {"four of a kind on four pairs", {40, 41, 42, 43}, {0, 1, 4, 5, 8, 9, 12, 13}, false},
        {"lower four of a kind", {0, 1, 2, 3}, {4, 5, 6, 7}, false},
        {"higher four of a kind", {8, 9, 10, 11}, {4, 5, 6, 7}, true},
        {"four pairs on four of a kind", {0, 1, 4, 5, 8, 9, 12, 13}, {40, 41, 42, 43}, true},
        {"three pairs on four of a kind", {16, 17, 20, 21, 24, 25}, {4, 5, 6, 7}, false},
    };
    for (const auto& c : cases) {
        const int mineType = CardUtils::getType(c.mine);
        const int tableType = CardUtils::getType(c.table);
        EXPECT_EQ(CardUtils::available(c.mine.data(), int(c.mine.size()), mineType, c.table.data(), int(c.table.size()),
                                       tableType),
                  c.beats)
            << c.name;
    }
    const Bytes single{5};
    EXPECT_FALSE(CardUtils::available(single.data(), 1, 0, single.data(), 1, 7)) << "unknown table type";
}

struct WinCase {
    const char* name;
    Bytes hand;
    bool newGame;
    bool wins;
};

TEST(TienLenRules, InstantWinsInOrder) {
    const WinCase cases[] = {
        {"four twos", {0, 4, 8, 12, 16, 20, 24, 28, 36, 48, 49, 50, 51}, false, true},
        {"four threes in a new game", {0, 1, 2, 3, 4, 8, 12, 16, 20, 24, 28, 32, 40}, true, true},
        {"four threes later on", {0, 1, 2, 3, 4, 8, 12, 16, 20, 24, 28, 32, 40}, false, false},
        {"dragon with a second ace", {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 45}, false, true},
        {"dragon with a two", {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48}, false, true},
        {"dragon with a second three", {0, 1, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44}, false, true},
        {"six pairs around a triple", {0, 1, 2, 4, 5, 12, 13, 20, 21, 28, 29, 36, 37}, false, true},
        {"five consecutive pairs", {0, 1, 4, 5, 8, 9, 12, 13, 16, 17, 24, 32, 40}, false, true},
        {"three to king and two twos", {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 48, 49}, true, false},
        {"four pairs in a row only", {0, 1, 4, 5, 8, 9, 12, 13, 20, 28, 36, 44, 48}, true, false},
        {"five pairs apart", {0, 1, 8, 9, 16, 17, 24, 25, 32, 33, 40, 44, 48}, false, false},
        {"six pairs apart", {0, 1, 8, 9, 16, 17, 24, 25, 32, 33, 40, 41, 48}, false, true},
        {"four to the two is no dragon", {4, 5, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48}, false, false},
        {"three threes and three twos", {0, 1, 2, 8, 16, 20, 24, 28, 36, 44, 49, 50, 51}, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CardUtils::checkForceFinish(c.hand.data(), int(c.hand.size()), c.newGame), c.wins) << c.name;
    const Bytes twelve{0, 4, 8, 12, 16, 20, 24, 28, 36, 48, 49, 50};
    EXPECT_FALSE(CardUtils::checkForceFinish(twelve.data(), 12, true)) << "a short hand";
}

TEST(TienLenRules, LongestRunOfPairs) {
    const std::pair<Bytes, int> cases[] = {
        {{0, 1, 4, 5, 8}, 2}, {{0, 1, 2, 4, 5}, 2}, {{0, 1}, 1}, {{0, 4, 8}, 0}, {{0}, 0}, {{0, 1, 8, 9, 12, 13}, 2},
    };
    for (const auto& [cards, pairs] : cases)
        EXPECT_EQ(CardUtils::demDoiThong(cards.data(), int(cards.size())), pairs);
    Bytes deck;
    for (int id = 0; id < 48; ++id)
        deck.push_back(int8_t(id));
    EXPECT_EQ(CardUtils::demDoiThong(deck.data(), 47), 12) << "three to ace, the longest length taken";
    EXPECT_EQ(CardUtils::demDoiThong(deck.data(), 48), 0) << "one card too many";
}

TEST(TienLenRules, FindersAnswerHandIndexes) {
    EXPECT_EQ(CardUtils::findAndSelectTwin(-1, {0, 4, 5, 9}), (Indexes{1, 2}));
    EXPECT_EQ(CardUtils::findAndSelectTwin(4, {0, 4, 5, 9}), (Indexes{2, 1}));
    EXPECT_EQ(CardUtils::findAndSelectTwin(-1, {0, 4, 8}), Indexes{});
    EXPECT_EQ(CardUtils::findAndSelectTriple(-1, {1, 2, 3, 8}), (Indexes{1, 2, 0}));
    EXPECT_EQ(CardUtils::findAndSelectTriple(-1, {1, 2, 8}), Indexes{});
    EXPECT_EQ(CardUtils::findAndSelectQuart(-1, {0, 1, 2, 3, 4, 5, 6, 7}), (Indexes{7, 6, 5, 4}));
    EXPECT_EQ(CardUtils::findAndSelectQuart(-1, {0, 48, 49, 50, 51}), Indexes{}) << "never four twos";
    EXPECT_EQ(CardUtils::findAndSelectQuart(-1, {0, 1, 2}), Indexes{});
    EXPECT_EQ(CardUtils::findAndSelectSeries(-1, {0, 4, 8, 12}, 3), (Indexes{2, 1, 0}));
    EXPECT_EQ(CardUtils::findAndSelectSeries(8, {0, 4, 8, 12}, 3), (Indexes{3, 2, 1}));
    EXPECT_EQ(CardUtils::findAndSelectSeries(-1, {40, 44, 48}, 3), Indexes{}) << "no straight up to a two";
    EXPECT_EQ(CardUtils::findDoubleSequence(-1, {0, 1, 4, 5, 8, 9}, 3), (Indexes{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(CardUtils::findDoubleSequence(-1, {40, 41, 44, 45, 48, 49}, 3), Indexes{}) << "no run topped by twos";
    EXPECT_EQ(CardUtils::findDoubleSequence(-1, {0, 1, 4, 5, 8, 9, 12, 13}, 3), (Indexes{7, 6, 5, 4, 3, 2}))
        << "the highest run";
}

// A hand of plain ids with lift flags, as the table screen's hand would answer.
class ListHand : public SelectableHand {
public:
    explicit ListHand(Bytes ids) : ids_(std::move(ids)), lifted_(ids_.size(), false) {}
    Bytes handIds() const override { return ids_; }
    Bytes selectedIds() const override {
        Bytes out;
        for (size_t i = 0; i < ids_.size(); ++i)
            if (lifted_[i]) out.push_back(ids_[i]);
        return out;
    }
    void unSelectAll() override { lifted_.assign(ids_.size(), false); }
    void selectAt(int index) override { lifted_.at(size_t(index)) = true; }
    Bytes lifted() const { return selectedIds(); }

private:
    Bytes ids_;
    std::vector<bool> lifted_;
};

TEST(TienLenRules, AutoSelectOnASingleWalksUpAndWraps) {
    ListHand hand({0, 21, 30, 44, 47});
    const Bytes table{20};
    const Indexes expected[] = {{1}, {2}, {3}, {4}, {1}};
    for (const auto& want : expected)
        EXPECT_EQ(CardUtils::autoSelect(table.data(), 1, hand), want);
    EXPECT_EQ(hand.lifted(), (Bytes{21}));
}

TEST(TienLenRules, AutoSelectOnAClearTableWalksTheHand) {
    ListHand hand({3, 9});
    EXPECT_EQ(CardUtils::autoSelect(nullptr, 0, hand), (Indexes{0}));
    EXPECT_EQ(CardUtils::autoSelect(nullptr, 0, hand), (Indexes{1}));
    EXPECT_EQ(CardUtils::autoSelect(nullptr, 0, hand), (Indexes{0}));
    ListHand empty({});
    EXPECT_EQ(CardUtils::autoSelect(nullptr, 0, empty), Indexes{});
}

TEST(TienLenRules, AutoSelectOnAPairOfTwosOffersChops) {
    const Bytes twos{48, 49};
    ListHand quad({0, 4, 5, 6, 7, 20});
    EXPECT_EQ(CardUtils::autoSelect(twos.data(), 2, quad), (Indexes{4, 3, 2, 1}));
    ListHand fourPairs({0, 1, 4, 5, 8, 9, 12, 13, 30});
    EXPECT_EQ(CardUtils::autoSelect(twos.data(), 2, fourPairs), (Indexes{7, 6, 5, 4, 3, 2, 1, 0}));
    ListHand threePairs({0, 1, 4, 5, 8, 9});
    EXPECT_EQ(CardUtils::autoSelect(twos.data(), 2, threePairs), Indexes{});
    EXPECT_EQ(threePairs.lifted(), Bytes{});
}

TEST(TienLenRules, AutoSelectOnThreePairsOffersRunThenFourThenFourPairs) {
    const Bytes low{0, 1, 4, 5, 8, 9};
    ListHand run({12, 13, 16, 17, 20, 21, 40, 41, 42, 43});
    EXPECT_EQ(CardUtils::autoSelect(low.data(), 6, run), (Indexes{5, 4, 3, 2, 1, 0}));
    ListHand quad({12, 16, 20, 40, 41, 42, 43});
    EXPECT_EQ(CardUtils::autoSelect(low.data(), 6, quad), (Indexes{6, 5, 4, 3}));
    const Bytes high{36, 37, 40, 41, 44, 47};
    ListHand fourPairs({0, 1, 4, 5, 8, 9, 12, 13});
    EXPECT_EQ(CardUtils::autoSelect(high.data(), 6, fourPairs), (Indexes{7, 6, 5, 4, 3, 2, 1, 0}));
}

TEST(TienLenRules, AutoSelectFollowsTheTableShape) {
    ListHand hand({0, 1, 2, 4, 8, 9, 10, 12, 16});
    const Bytes triple{5, 6, 7};
    EXPECT_EQ(CardUtils::autoSelect(triple.data(), 3, hand), (Indexes{5, 6, 4}));
    // Again from the lifted triple (top 10): the next straight above it.
    const Bytes straight{0, 4, 8};
    EXPECT_EQ(CardUtils::autoSelect(straight.data(), 3, hand), (Indexes{7, 4, 3}));
    ListHand fresh({0, 1, 2, 4, 8, 9, 10, 12, 16});
    const Indexes walk[] = {{5, 3, 0}, {6, 3, 0}, {7, 4, 3}, {8, 7, 4}};
    for (const auto& want : walk)
        EXPECT_EQ(CardUtils::autoSelect(straight.data(), 3, fresh), want);
    const Bytes five{0, 4, 8, 12, 16};
    EXPECT_EQ(CardUtils::autoSelect(five.data(), 5, hand), Indexes{});
    EXPECT_EQ(hand.lifted(), Bytes{});
    const Bytes twelve(12, 0);
    EXPECT_EQ(CardUtils::autoSelect(twelve.data(), 12, hand), Indexes{});
}

// Hands that hold more than one answer: the order of the tries decides.
TEST(TienLenRules, AutoSelectOnASingleTwoTriesThreePairsThenFourOfAKind) {
    const Bytes two{51};
    ListHand both({0, 1, 4, 5, 8, 9, 20, 21, 22, 23});
    EXPECT_EQ(CardUtils::autoSelect(two.data(), 1, both), (Indexes{5, 4, 3, 2, 1, 0}));
    ListHand quadAndSingles({0, 4, 20, 21, 22, 23});
    EXPECT_EQ(CardUtils::autoSelect(two.data(), 1, quadAndSingles), (Indexes{5, 4, 3, 2}));
}

TEST(TienLenRules, AutoSelectOnThreePairsTriesFourOfAKindBeforeFourPairs) {
    const Bytes high{36, 37, 40, 41, 44, 47};
    ListHand both({0, 1, 4, 5, 8, 9, 12, 13, 20, 21, 22, 23});
    EXPECT_EQ(CardUtils::autoSelect(high.data(), 6, both), (Indexes{11, 10, 9, 8}));
}

TEST(TienLenRules, AutoSelectStartsAgainFromTheTablesTop) {
    const Bytes triple{4, 5, 6};
    ListHand triples({8, 9, 10, 12, 13, 14});
    const Indexes walk[] = {{1, 2, 0}, {4, 5, 3}, {1, 2, 0}};
    for (const auto& want : walk)
        EXPECT_EQ(CardUtils::autoSelect(triple.data(), 3, triples), want);

    const Bytes quad{4, 5, 6, 7};
    ListHand quads({8, 9, 10, 11, 20, 21, 22, 23});
    EXPECT_EQ(CardUtils::autoSelect(quad.data(), 4, quads), (Indexes{7, 6, 5, 4}));
    EXPECT_EQ(CardUtils::autoSelect(quad.data(), 4, quads), (Indexes{7, 6, 5, 4})) << "again from the table's top";

    const Bytes fourPairs{0, 1, 4, 5, 8, 9, 12, 13};
    ListHand runs({16, 17, 20, 21, 24, 25, 28, 29, 32, 33, 36, 37});
    EXPECT_EQ(CardUtils::autoSelect(fourPairs.data(), 8, runs), (Indexes{11, 10, 9, 8, 7, 6, 5, 4}));
    EXPECT_EQ(CardUtils::autoSelect(fourPairs.data(), 8, runs), (Indexes{11, 10, 9, 8, 7, 6, 5, 4}))
        << "the lifted run does not raise the bar";
}

TEST(TienLenRules, AutoSelectOnAHighFourOfAKindOffersFourPairs) {
    const Bytes aces{40, 41, 42, 43};
    ListHand hand({0, 1, 2, 3, 4, 5, 8, 9, 12, 13});
    EXPECT_EQ(CardUtils::autoSelect(aces.data(), 4, hand), (Indexes{9, 8, 7, 6, 5, 4, 3, 2}));
}

TEST(TienLenRules, AutoSelectOnALongStraightMovesOnFromTheLiftedOne) {
    const Bytes six{0, 4, 8, 12, 16, 20};
    ListHand hand({4, 8, 12, 16, 20, 24, 28});
    EXPECT_EQ(CardUtils::autoSelect(six.data(), 6, hand), (Indexes{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(CardUtils::autoSelect(six.data(), 6, hand), (Indexes{6, 5, 4, 3, 2, 1}));
}

} // namespace
} // namespace kavo::test
