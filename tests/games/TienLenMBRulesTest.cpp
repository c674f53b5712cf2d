#include "games/tienlenmb/CardMBUtils.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <numeric>
#include <random>
#include <set>
#include <string_view>
#include <vector>

// Card ids: rank = id / 4 (0 the three ... 11 the ace, 12 the two), suit = id % 4
// (0 spades, 1 clubs: black; 2 diamonds, 3 hearts: red).
namespace kavo::test {

using Bytes = std::vector<int8_t>;
using Indexes = CardMBUtils::Indexes;

namespace {

// One row of a rule's table: what it shows, the cards, the cards lying on the table
// where the rule looks at them, the answer, and whether it is the first match.
struct Row {
    std::string_view shows;
    Bytes cards;
    Bytes table = {};
    int answer = 0;
    bool firstMatch = false;
};

TEST(TienLenMBRules, PairsAndRunsKeepOneColourAndStraightsOneSuit) {
    const Row cases[] = {
        {"black run of three pairs", {0, 1, 4, 5, 8, 9}, {}, 4},
        {"red run of three pairs", {2, 3, 6, 7, 10, 11}, {}, 4},
        {"black pair then red pairs", {0, 1, 6, 7, 10, 11}, {}, -1},
        {"run ending in twos", {40, 41, 44, 45, 48, 49}, {}, -1},
        {"red run of four pairs", {2, 3, 6, 7, 10, 11, 14, 15}, {}, 5},
        {"four pairs, the last red", {0, 1, 4, 5, 8, 9, 14, 15}, {}, -1},
        {"black pair", {4, 5}, {}, 2},
        {"red pair", {6, 7}, {}, 2},
        {"two twos of different colours", {48, 51}, {}, 2},
        {"a four of each colour", {4, 6}, {}, -1},
        {"spade straight", {0, 4, 8}, {}, 1},
        {"heart straight of five", {3, 7, 11, 15, 19}, {}, 1},
        {"straight of two suits", {0, 5, 8}, {}, -1},
        {"spade straight up to the two", {36, 40, 44, 48}, {}, -1},
        {"triple of both colours", {0, 2, 3}, {}, 3},
        {"four of a kind", {0, 1, 2, 3}, {}, 6},
        {"single", {51}, {}, 0},
        {"nothing", {}, {}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CardMBUtils::getType(c.cards), c.answer) << c.shows;
}

struct SetTest {
    const char* name;
    bool (*test)(const int8_t*, int);
    Bytes cards;
    bool holds;
};

TEST(TienLenMBRules, SuitColourPairAndTripleTests) {
    const SetTest cases[] = {
        {"one suit", &CardMBUtils::isSameType, {0, 4, 8}, true},
        {"two suits", &CardMBUtils::isSameType, {0, 5}, false},
        {"one card has one suit", &CardMBUtils::isSameType, {7}, true},
        {"spades and clubs are black", &CardMBUtils::isSameColor, {0, 1, 5}, true},
        {"diamonds and hearts are red", &CardMBUtils::isSameColor, {2, 7, 11}, true},
        {"club and diamond", &CardMBUtils::isSameColor, {1, 2}, false},
        {"pair of two colours", &CardMBUtils::isPair, {4, 6}, true},
        {"two ranks", &CardMBUtils::isPair, {4, 8}, false},
        {"three of a rank", &CardMBUtils::isPair, {4, 5, 6}, false},
        {"pair of one colour", &CardMBUtils::isPairMB, {4, 5}, true},
        {"pair of two colours, MB", &CardMBUtils::isPairMB, {4, 6}, false},
        {"twos of two colours, MB", &CardMBUtils::isPairMB, {48, 51}, false},
        {"triple", &CardMBUtils::isTriple, {0, 2, 3}, true},
        {"pair and a kicker", &CardMBUtils::isTriple, {0, 1, 4}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.test(c.cards.data(), int(c.cards.size())), c.holds) << c.name;
    const Bytes spades{0, 4}, spadesHigher{8, 12}, spadeClub{0, 5};
    EXPECT_TRUE(CardMBUtils::isSameTypeAndColor(spades.data(), 2, spadesHigher.data(), 2));
    EXPECT_FALSE(CardMBUtils::isSameTypeAndColor(spadeClub.data(), 2, spadesHigher.data(), 2));
    EXPECT_FALSE(CardMBUtils::isSameTypeAndColor(spades.data(), 1, spadesHigher.data(), 2)) << "lengths differ";
}

bool beats(const Bytes& mine, const Bytes& table) {
    return CardMBUtils::available(mine.data(), int(mine.size()), CardMBUtils::getType(mine), table.data(),
                                  int(table.size()), CardMBUtils::getType(table));
}

TEST(TienLenMBRules, PlaysFollowTheSuitsTheyBeat) {
    const Row cases[] = {
        {"clear table, one-suit straight", {0, 4, 8}, {}, 1},
        {"clear table, two-suit straight", {0, 5, 8}, {}, 0},
        {"higher heart on the seven of hearts", {23}, {19}, 1},
        {"two of spades on the seven of hearts", {48}, {19}, 1},
        {"king of spades on the seven of hearts", {40}, {19}, 0},
        {"lower heart on the seven of hearts", {15}, {19}, 0},
        {"seven of hearts on the seven of diamonds", {19}, {18}, 0},
        {"higher two on a two", {51}, {48}, 1},
        {"lower two on a two", {48}, {51}, 0},
        {"black sixes on black fives", {12, 13}, {8, 9}, 1},
        {"black aces on black fives", {44, 45}, {8, 9}, 1},
        {"twos of two colours on black fives", {48, 51}, {8, 9}, 1},
        {"red sixes on black fives", {14, 15}, {8, 9}, 0},
        {"black fours on black fives", {4, 5}, {8, 9}, 0},
        {"higher twos on twos", {50, 51}, {48, 49}, 1},
        {"higher spade straight", {4, 8, 12}, {0, 4, 8}, 1},
        {"club straight on a spade one", {5, 9, 13}, {0, 4, 8}, 0},
        {"longer straight", {4, 8, 12, 16}, {0, 4, 8}, 0},
        {"higher triple in the same suits", {4, 5, 7}, {0, 1, 3}, 1},
        {"higher triple in other suits", {4, 5, 6}, {0, 1, 3}, 0},
        {"higher black run on a black run", {4, 5, 8, 9, 12, 13}, {0, 1, 4, 5, 8, 9}, 1},
        {"higher red run on a black run", {6, 7, 10, 11, 14, 15}, {0, 1, 4, 5, 8, 9}, 0},
        {"higher black four pairs", {4, 5, 8, 9, 12, 13, 16, 17}, {0, 1, 4, 5, 8, 9, 12, 13}, 1},
        {"higher red four pairs on black ones", {6, 7, 10, 11, 14, 15, 18, 19}, {0, 1, 4, 5, 8, 9, 12, 13}, 0},
        {"higher four of a kind", {8, 9, 10, 11}, {4, 5, 6, 7}, 1},
        {"lower four of a kind", {0, 1, 2, 3}, {4, 5, 6, 7}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(beats(c.cards, c.table), c.answer != 0) << c.shows;
}

TEST(TienLenMBRules, ChopsAreTienLensInAnyColour) {
    const Row cases[] = {
        {"red run on a single two", {2, 3, 6, 7, 10, 11}, {50}, 1},
        {"four of a kind on a single two", {0, 1, 2, 3}, {49}, 1},
        {"red run on a single ace", {2, 3, 6, 7, 10, 11}, {47}, 0},
        {"black run on a pair of twos", {0, 1, 4, 5, 8, 9}, {48, 49}, 0},
        {"four pairs on a pair of twos", {0, 1, 4, 5, 8, 9, 12, 13}, {48, 49}, 1},
        {"four of a kind on a pair of twos", {0, 1, 2, 3}, {48, 49}, 1},
        {"red four pairs on a black run", {2, 3, 6, 7, 10, 11, 14, 15}, {0, 1, 4, 5, 8, 9}, 1},
        {"four of a kind on a black run", {20, 21, 22, 23}, {0, 1, 4, 5, 8, 9}, 1},
        {"four pairs on four of a kind", {0, 1, 4, 5, 8, 9, 12, 13}, {40, 41, 42, 43}, 1},
        {"four of a kind on four pairs", {40, 41, 42, 43}, {0, 1, 4, 5, 8, 9, 12, 13}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(beats(c.cards, c.table), c.answer != 0) << c.shows;
}

TEST(TienLenMBRules, InstantWinsCountOnlySameSuitStepsAndOneColourPairs) {
    const Row cases[] = {
        {"four twos", {0, 4, 8, 12, 16, 20, 24, 28, 36, 48, 49, 50, 51}, {}, 1, false},
        {"four threes in the first match", {0, 1, 2, 3, 4, 9, 14, 19, 20, 25, 30, 35, 40}, {}, 1, true},
        {"four threes later on", {0, 1, 2, 3, 4, 9, 14, 19, 20, 25, 30, 35, 40}, {}, 0, false},
        {"spade dragon", {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48}, {}, 1, false},
        {"spade dragon and the ace of clubs", {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 45}, {}, 1, false},
        {"dragon of two suits", {0, 5, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 49}, {}, 0, false},
        {"dragon stepping from the three of clubs to spades", {0, 1, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44}, {}, 0},
        {"six pairs of one colour each", {0, 1, 6, 7, 8, 9, 14, 15, 16, 17, 22, 23, 40}, {}, 1, false},
        {"six pairs, one of two colours", {0, 1, 6, 7, 8, 9, 14, 15, 16, 17, 21, 22, 40}, {}, 0, false},
        {"five black consecutive pairs", {0, 1, 4, 5, 8, 9, 12, 13, 16, 17, 30, 35, 42}, {}, 1, false},
        {"five consecutive pairs changing colour", {0, 1, 4, 5, 10, 11, 14, 15, 18, 19, 28, 33, 42}, {}, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CardMBUtils::checkForceFinish(c.cards.data(), int(c.cards.size()), c.firstMatch), c.answer != 0)
            << c.shows;
    const Bytes twelve{0, 4, 8, 12, 16, 20, 24, 28, 36, 48, 49, 50};
    EXPECT_FALSE(CardMBUtils::checkForceFinish(twelve.data(), 12, true)) << "a short hand";
}

TEST(TienLenMBRules, ThreeBlackPairsFromTheThreeOfSpadesWinOnlyWithIds0To9) {
    const std::pair<Bytes, bool> cases[] = {
        {{9, 0, 5, 1, 8, 4, 20, 24, 28, 33, 38, 43, 50}, true},   // in the order dealt
        {{0, 2, 4, 5, 8, 9, 20, 24, 28, 33, 38, 43, 50}, false},  // three of diamonds for clubs
        {{0, 1, 6, 7, 8, 9, 20, 24, 28, 33, 38, 43, 50}, false},  // red fours
        {{0, 1, 4, 5, 8, 10, 20, 24, 28, 33, 38, 43, 50}, false}, // no five of clubs
        {{0, 1, 4, 5, 9, 10, 20, 24, 28, 33, 38, 43, 50}, false}, // no five of spades
        {{1, 2, 4, 5, 8, 9, 20, 24, 28, 33, 38, 43, 50}, false},  // no three of spades
        {{-1, 0, 1, 4, 5, 8, 9, 24, 28, 33, 38, 43, 50}, false},  // a face-down card below it
        {{}, false},
    };
    for (const auto& [hand, wins] : cases)
        EXPECT_EQ(CardMBUtils::checkForceFinishWith3DoiThongCo3Bich(hand), wins) << ::testing::PrintToString(hand);
}

TEST(TienLenMBRules, LongestRunOfPairsKeepsOneColour) {
    const Row cases[] = {
        {"black three-four-five", {0, 1, 4, 5, 8, 9}, {}, 3},
        {"red three-four-five", {2, 3, 6, 7, 10, 11}, {}, 3},
        {"black threes, red fours", {0, 1, 6, 7}, {}, 1},
        {"a pair of two colours ends the run", {0, 1, 4, 5, 8, 10}, {}, 2},
        {"a third four is passed over", {0, 1, 4, 5, 6}, {}, 2},
        {"a gap ends the run, the longer counts", {0, 1, 4, 5, 12, 13}, {}, 2},
        {"a card of the other colour after a pair is passed over", {0, 1, 7, 10, 11}, {}, 2},
        {"one card", {0}, {}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CardMBUtils::demDoiThong(c.cards.data(), int(c.cards.size())), c.answer) << c.shows;
    Bytes deck;
    for (int id = 0; id < 48; ++id)
        deck.push_back(int8_t(id));
    EXPECT_EQ(CardMBUtils::demDoiThong(deck.data(), 48), 0) << "one card too many";
}

TEST(TienLenMBRules, FindersFollowTheSuitOfTheMinimum) {
    EXPECT_EQ(CardMBUtils::findAndSelectSingle(19, {15, 18, 23, 48}), Indexes{2});
    EXPECT_EQ(CardMBUtils::findAndSelectSingle(23, {15, 18, 27, 40, 48}), Indexes{2});
    EXPECT_EQ(CardMBUtils::findAndSelectSingle(27, {15, 18, 27, 40, 48}), Indexes{4}) << "no heart: a two";
    EXPECT_EQ(CardMBUtils::findAndSelectSingle(19, {15, 18, 40}), Indexes{});

    EXPECT_EQ(CardMBUtils::findAndSelectTwin(9, {12, 13}), (Indexes{1, 0}));
    EXPECT_EQ(CardMBUtils::findAndSelectTwin(11, {14, 15}), (Indexes{1, 0}));
    EXPECT_EQ(CardMBUtils::findAndSelectTwin(9, {14, 15}), Indexes{}) << "red sixes on black fives";
    EXPECT_EQ(CardMBUtils::findAndSelectTwin(9, {12, 14, 15, 48, 51}), (Indexes{3, 4}));

    const Bytes tripleSCH{16, 17, 19}, tripleSDH{16, 18, 19};
    EXPECT_EQ(CardMBUtils::findAndSelectTriple(19, {20, 21, 22, 23}, tripleSCH.data(), 3), (Indexes{0, 1, 3}));
    EXPECT_EQ(CardMBUtils::findAndSelectTriple(19, {20, 21, 22, 23}, tripleSDH.data(), 3), (Indexes{0, 2, 3}));
    EXPECT_EQ(CardMBUtils::findAndSelectTriple(19, {20, 22, 23, 30}, tripleSCH.data(), 3), Indexes{});
    EXPECT_EQ(CardMBUtils::findAndSelectTriple(19, {20, 21, 23}, nullptr, 0), Indexes{}) << "no table cards";

    EXPECT_EQ(CardMBUtils::findAndSelectQuart(-1, {0, 1, 2, 3}), (Indexes{3, 2, 1, 0}));

    EXPECT_EQ(CardMBUtils::findAndSelectSeries(8, {1, 4, 5, 8, 9, 12, 13}, 3), (Indexes{5, 3, 1}));
    EXPECT_EQ(CardMBUtils::findAndSelectSeries(9, {1, 4, 5, 8, 9, 12, 13}, 3), (Indexes{6, 4, 2}));
    EXPECT_EQ(CardMBUtils::findAndSelectSeries(8, {4, 9, 12}, 3), Indexes{}) << "the five is a club";
    EXPECT_EQ(CardMBUtils::findAndSelectSeries(8, {4, 8}, 3), Indexes{}) << "too few cards";
}

TEST(TienLenMBRules, RunsOfPairsAreFoundLowestFirstInsideTheHand) {
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {0, 4, 5, 8, 9, 12, 13, 40}, 2), (Indexes{3, 4, 1, 2}));
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {0, 4, 5, 20}, 1), (Indexes{1, 2}));
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {4, 5, 20}, 1), Indexes{}) << "the first card is not looked at";
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {0, 4, 5}, 1), Indexes{}) << "the last card is not looked at";
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {0, 4, 9, 10, 15, 20}, 1), Indexes{})
        << "a club five after a spade four is no pair";
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {0, 44, 45, 48, 49, 50}, 1), (Indexes{1, 2})) << "no twos on top";
    // 8 9 | 14 15 | 18 19 pair up one by one, but black fives sit under red sixes.
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {0, 8, 9, 14, 15, 18, 19, 22, 23, 40}, 3),
              (Indexes{7, 8, 5, 6, 3, 4}))
        << "the all-red run above is offered instead";
}

// A hand as the table screen keeps it: the ids in hand order and the lifted places.
class LiftableHand : public SelectableHand {
public:
    explicit LiftableHand(Bytes ids) : lifted_(), ids_(std::move(ids)) {}
    Bytes handIds() const override { return ids_; }
    Bytes selectedIds() const override {
        Bytes ids;
        std::transform(lifted_.begin(), lifted_.end(), std::back_inserter(ids),
                       [&](int at) { return ids_.at(size_t(at)); });
        return ids;
    }
    void unSelectAll() override { lifted_.clear(); }
    void selectAt(int index) override { lifted_.insert(index); }

private:
    std::set<int> lifted_;
    Bytes ids_;
};

TEST(TienLenMBRules, AutoSelectOnASingleFollowsItsSuitOrPlaysATwo) {
    const Bytes sevenOfHearts{19};
    LiftableHand hand({15, 18, 23, 40, 48});
    EXPECT_EQ(CardMBUtils::autoSelect(sevenOfHearts.data(), 1, hand), Indexes{2}) << "the eight of hearts";
    EXPECT_EQ(CardMBUtils::autoSelect(sevenOfHearts.data(), 1, hand), Indexes{4}) << "then the two of spades";
    EXPECT_EQ(CardMBUtils::autoSelect(sevenOfHearts.data(), 1, hand), Indexes{2}) << "then the eight again";
    EXPECT_EQ(hand.selectedIds(), Bytes{23});
    LiftableHand noFollower({15, 18, 40});
    EXPECT_EQ(CardMBUtils::autoSelect(sevenOfHearts.data(), 1, noFollower), Indexes{});
    EXPECT_EQ(noFollower.selectedIds(), Bytes{});
}

// Each row lifts from a fresh hand; the lifted cards are the answer's.
TEST(TienLenMBRules, AutoSelectLiftsTheFirstPlayThatBeatsTheTable) {
    struct Case {
        const char* what;
        Bytes table, hand;
        Indexes answer;
    };
    const Case cases[] = {
        {"the lowest run of pairs chops a two", {49}, {0, 2, 3, 6, 7, 10, 11, 30}, {5, 6, 3, 4, 1, 2}},
        {"no run from the hand's first card", {49}, {2, 3, 6, 7, 10, 11, 30}, {}},
        {"four of a kind chops a two", {49}, {20, 21, 22, 23, 30}, {3, 2, 1, 0}},
        {"a run of mixed colours is passed for a higher two", {48}, {0, 7, 8, 9, 14, 15, 18, 19, 31, 32, 35, 49}, {11}},
        {"black sixes on black fives", {8, 9}, {10, 11, 12, 13}, {3, 2}},
        {"twos on black fives", {8, 9}, {10, 11, 14, 15, 48, 50}, {4, 5}},
        {"four of a kind on a pair of twos", {48, 49}, {0, 4, 5, 6, 7, 20}, {4, 3, 2, 1}},
        {"eights in the triple's suits", {16, 17, 19}, {20, 21, 22, 23}, {0, 1, 3}},
        {"no triple without a club", {16, 17, 19}, {20, 22, 23, 30}, {}},
        {"spade straight", {0, 4, 8}, {1, 4, 5, 8, 9, 12, 13}, {5, 3, 1}},
        {"black run of pairs", {0, 1, 4, 5, 8, 9}, {2, 4, 5, 8, 9, 12, 13, 30}, {5, 6, 3, 4, 1, 2}},
        {"twelve cards are no play", Bytes(12, 0), {2, 4, 5, 8, 9, 12, 13, 30}, {}},
        {"four pairs on four of a kind", {4, 5, 6, 7}, {0, 8, 9, 12, 13, 16, 17, 20, 21, 44}, {7, 8, 5, 6, 3, 4, 1, 2}},
    };
    for (const auto& c : cases) {
        LiftableHand hand(c.hand);
        EXPECT_EQ(CardMBUtils::autoSelect(c.table.data(), int(c.table.size()), hand), c.answer) << c.what;
        Indexes places = c.answer;
        std::sort(places.begin(), places.end());
        Bytes lifted;
        for (auto at : places)
            lifted.push_back(c.hand.at(size_t(at)));
        EXPECT_EQ(hand.selectedIds(), lifted) << c.what;
    }
    const Bytes triple{16, 17, 19};
    LiftableHand eights({20, 21, 22, 23});
    CardMBUtils::autoSelect(triple.data(), 3, eights);
    EXPECT_EQ(CardMBUtils::autoSelect(triple.data(), 3, eights), (Indexes{0, 1, 3})) << "again from the table's top";
}

TEST(TienLenMBRules, AutoSelectOnAClearTableWalksTheHand) {
    LiftableHand hand({3, 9});
    EXPECT_EQ(CardMBUtils::autoSelect(nullptr, 0, hand), (Indexes{0}));
    EXPECT_EQ(CardMBUtils::autoSelect(nullptr, 0, hand), (Indexes{1}));
    EXPECT_EQ(CardMBUtils::autoSelect(nullptr, 0, hand), (Indexes{0}));
}

// A table the rules accept, drawn from the cards not in `deck`'s first 13.
Bytes randomTable(std::mt19937& random, const Bytes& rest) {
    const auto pick = [&](auto wanted, int count) {
        Bytes found;
        for (int8_t id : rest)
            if (wanted(id) && int(found.size()) < count) found.push_back(id);
        return int(found.size()) == count ? found : Bytes{};
    };
    const int rank = int(random() % 13);
    const int suit = int(random() % 4);
    switch (random() % 7) {
    case 0:
        return Bytes{rest[random() % rest.size()]};
    case 1:
        return pick([&](int8_t id) { return id / 4 == rank && (rank == 12 || id % 4 / 2 == suit / 2); }, 2);
    case 2:
        return pick([&](int8_t id) { return id / 4 == rank; }, 3);
    case 3:
        return pick([&](int8_t id) { return id / 4 == rank; }, 4);
    case 4: {
        const int length = 3 + int(random() % 5);
        return pick([&](int8_t id) { return id % 4 == suit && id / 4 >= rank && id / 4 < rank + length && id < 48; },
                    length);
    }
    default: {
        const int pairs = 3 + int(random() % 2);
        return pick(
            [&](int8_t id) { return id % 4 / 2 == suit / 2 && id / 4 >= rank && id / 4 < rank + pairs && id < 48; },
            2 * pairs);
    }
    }
}

TEST(TienLenMBRules, AutoSelectOffersOnlyPlaysThatBeatTheTable) {
    std::mt19937 random(20261207);
    Bytes deck(52);
    std::iota(deck.begin(), deck.end(), int8_t(0));
    int tables = 0;
    int offered = 0;
    while (tables < 100000) {
        std::shuffle(deck.begin(), deck.end(), random);
        const Bytes mine = CardMBUtils::sorted(Bytes(deck.begin(), deck.begin() + 13));
        const Bytes table = CardMBUtils::sorted(randomTable(random, Bytes(deck.begin() + 13, deck.end())));
        if (table.empty()) continue;
        const int tableType = CardMBUtils::getType(table);
        ASSERT_NE(tableType, -1);
        ++tables;
        LiftableHand hand(mine);
        const Indexes answer = CardMBUtils::autoSelect(table.data(), int(table.size()), hand);
        if (answer.empty()) continue;
        ++offered;
        const Bytes lifted = CardMBUtils::sorted(hand.selectedIds());
        const int type = CardMBUtils::getType(lifted);
        ASSERT_NE(type, -1) << ::testing::PrintToString(mine) << " on " << ::testing::PrintToString(table);
        ASSERT_TRUE(
            CardMBUtils::available(lifted.data(), int(lifted.size()), type, table.data(), int(table.size()), tableType))
            << ::testing::PrintToString(lifted) << " from " << ::testing::PrintToString(mine) << " on "
            << ::testing::PrintToString(table);
    }
    EXPECT_GT(offered, 10000) << "the draw should often leave something to play";
}

TEST(TienLenMBRules, APairFollowsWithTheCardOneSuitLower) {
    EXPECT_EQ(CardMBUtils::findAndSelectTwin(9, {12, 13, 14}), (Indexes{1, 0})) << "clubs take spades";
    EXPECT_EQ(CardMBUtils::findAndSelectTwin(11, {12, 13, 14, 15}), (Indexes{3, 2})) << "hearts take diamonds";
    EXPECT_EQ(CardMBUtils::findAndSelectTwin(11, {12, 13, 15}), Indexes{}) << "no diamond beside the heart";
}

TEST(TienLenMBRules, OnFourOfAKindFourPairsComeOnlyWhileNothingAboveTheTableIsLifted) {
    const Bytes quad{4, 5, 6, 7};
    LiftableHand lifted({0, 8, 9, 12, 13, 16, 17, 20, 21, 44});
    lifted.selectAt(9);
    EXPECT_EQ(CardMBUtils::autoSelect(quad.data(), 4, lifted), Indexes{});
}

TEST(TienLenMBRules, RunsOfPairsKeepOneColourAndTakeACardOnlyBesideItsPartner) {
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {0, 8, 9, 14, 15, 40}, 2), Indexes{})
        << "black fives under red sixes";
    EXPECT_EQ(CardMBUtils::findDoubleSequence(-1, {0, 8, 10, 11, 40}, 1), (Indexes{2, 3}))
        << "the five of spades has no club beside it";
}

} // namespace
} // namespace kavo::test
