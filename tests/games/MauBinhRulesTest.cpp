// The Mau Binh hand evaluation, rule by rule: typing, the comparison with its tie
// rules, the foul check, the names and the special-hand keys.
#include "games/maubinh/MauBinhRules.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace kavo::test {
namespace {

namespace rules = MauBinhRules;

// "Ah Kd 2c": rank letters 2-9 T J Q K A, suits c d h s (ids rank * 4 + suit, the two
// lowest).
rules::Hand hand(const std::string& cards) {
    const std::string ranks = "23456789TJQKA";
    const std::string suits = "cdhs";
    rules::Hand ids;
    std::istringstream in(cards);
    std::string card;
    while (in >> card)
        ids.push_back(int(ranks.find(card[0])) * 4 + int(suits.find(card[1])));
    return ids;
}

struct Typed {
    const char* cards;
    int type;
};

TEST(MauBinhRules, HandsAreTypedAsTheTablePlaysThem) {
    const Typed cases[] = {
        {"Ah 2c 3d 4s 5h", rules::kStraight},      // the wheel, mixed suits
        {"5h 4h 3h 2h Ah", rules::kStraightFlush}, // the wheel, one suit
        {"Ts Js Qs Ks As", rules::kStraightFlush},
        {"9c Td Jh Qs Kc", rules::kStraight},
        {"Ah 2c 3d", rules::kHighCard}, // three cards are never a straight
        {"2h 7h Kh", rules::kHighCard}, // nor a flush
        {"Ah Ad 3h", rules::kOnePair},
        {"Qc Qd Qh", rules::kThreeOfKind},
        {"Kh Ah 2h 3h 4h", rules::kFlush}, // K-A-2-3-4 is no straight
        {"Kh As 2c 3d 4h", rules::kHighCard},
        {"7c 7d 7h 7s 2c", rules::kFourOfKind},
        {"Ac 7d 7h 7s 7c", rules::kFourOfKind},
        {"9c 9d 9h 4s 4c", rules::kFullHouse},
        {"9c 9d 4h 4s Ac", rules::kTwoPairs},
        {"9c 9d 5h 4s Ac", rules::kOnePair},
        {"9c 9d 9h 4s Ac", rules::kThreeOfKind},
        {"2c 5d 7h 9s Kc", rules::kHighCard},
        {"2c 5c 7c 9c Kc", rules::kFlush},
        {"", rules::kNoHand},
        {"2c 5d", rules::kNoHand},
        {"2c 5d 7h 9s", rules::kNoHand},
        {"2c 3c 4c 5c 6c 7c", rules::kNoHand},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rules::getHandTypeOfCards(hand(c.cards)), c.type) << c.cards;
}

struct Compared {
    const char* first;
    const char* second;
    int result;
};

TEST(MauBinhRules, EqualTypesAreBrokenByTheTopCardAndThePairs) {
    const Compared cases[] = {
        {"Ts Jd Qh Kc Ac", "Ah 2c 3d 4s 5h", -1},                                           // 10-A over the wheel
        {"Ah 2c 3d 4s 5h", "Ts Jd Qh Kc Ac", 1},  {"Ah 2c 3d 4s 5h", "9s Td Jh Qc Kc", -1}, // the wheel ranks second
        {"2c 5d 7h 9s Kc", "3c 4d 6h 8s Kd", 0}, // high card: the top card only
        {"2c 5d 7h 9s Ac", "3c 4d 6h 8s Kd", -1}, {"2c 5c 7c 9c Kc", "3d 4d 6d 8d Kd", 0}, // flushes: the top card only
        {"9c 9d 2h 3s Ac", "9h 9s 2c 3d Kd", -1},                                          // a pair, then the top card
        {"Ac Ad 2h 3s 4c", "Ah As 5c 6d 7d", 0},  {"Tc Td 2h 3s 4c", "9h 9s 5c 6d Ad", -1},
        {"Qc Qd 5h 5s 3c", "Qh Qs 5c 5d 9d", 0}, // two pairs, then the top card
        {"Kc Kd 2h 2s 3c", "Qh Qs Jc Jd Ad", -1}, {"Qc Qd 5h 5s Ac", "Qh Qs 4c 4d 9d", -1},
        {"Qc Qd 3h 3s 9c", "Qh Qs 5c 5d 2d", 1},  {"7c 7d 7h", "6c 6d 6h", -1}, // trips: the rank of the three
        {"7c 7d 7h 2s 3c", "7s 8d 8h 8c 2c", 1},                                // full house by the three
        {"9c 9d 9h 9s 2c", "Tc Td Th Ts 2d", 1},                                // quads by the four
        {"9s Td Jh Qc Kc", "9c Td Jd Qs Kd", 0},  {"2c 5c 7c 9c Kc", "9s Td Jh Qc Kc", -1}, // the higher type wins
        {"Qc Qd Qh", "Ac Ad 2h 3s 4c", -1},       {"", "", 1989}, // no hands cannot be compared
    };
    for (const auto& c : cases)
        EXPECT_EQ(rules::compareWith(hand(c.first), hand(c.second)), c.result) << c.first << " / " << c.second;
}

TEST(MauBinhRules, AFoulIsAHandStrongerThanTheOneBehindIt) {
    const auto back = hand("2c 2d 2h 2s 3c");
    EXPECT_TRUE(rules::checkLung(hand("Kc Kd 2h"), hand("Qc Qd 4h 5s 6c"), back));
    EXPECT_FALSE(rules::checkLung(hand("Qc Qd 3h"), hand("Qh Qs 2s 4d 5d"), back)) << "equal hands are no foul";
    EXPECT_TRUE(rules::checkLung(hand("Qc Qd Ah"), hand("Qh Qs 2s 4d 5d"), back));
    EXPECT_TRUE(rules::checkLung(hand("8c 8d 8h"), hand("Qh Qs 2s 2d 5d"), back)) << "trips before two pairs";
    EXPECT_FALSE(rules::checkLung(hand("2c 5d 7h"), hand("9c 9d 4h 5s 6c"), hand("Tc Td Th 4s 4c")));
    EXPECT_TRUE(rules::checkLung(hand("2c 5d 7h"), hand("Tc Td Th 4s 4c"), hand("9c 9d 4h 5s 6c")));
    EXPECT_TRUE(rules::checkBinhLung(hand("2c 5d 7h 9c 9d"))) << "a short arrangement cannot be judged";
}

TEST(MauBinhRules, TheCallersCardsKeepTheirOrder) {
    const auto front = hand("Ah 2c Kd");
    const auto middle = hand("5h 4h 3h 2h Ah");
    const auto before = front;
    EXPECT_EQ(rules::compareWith(front, middle), 1);
    EXPECT_EQ(front, before);
    EXPECT_EQ(middle, hand("5h 4h 3h 2h Ah"));
    EXPECT_EQ(rules::handOfChi(hand("2c 3c 4c 5c 6c 7c 8c 9c Tc Jc Qc Kc Ac"), 2), hand("5c 6c 7c 8c 9c"));
    EXPECT_TRUE(rules::handOfChi(hand("2c 3c 4c 5c 6c 7c 8c 9c Tc Jc Qc Kc Ac"), 4).empty());
}

TEST(MauBinhRules, NamesInBothLanguagesAndSpecialHandKeys) {
    const struct {
        int type;
        const char* english;
        const char* vietnamese;
    } names[] = {
        {-1, "Error", "Lủng"},
        {0, "High card", "Mậu thầu"},
        {1, "One pair", "Dzách"},
        {2, "Two separate pairs", "Thú"},
        {3, "Three of kind", "Xám chi"},
        {4, "Straight", "Sảnh"},
        {5, "Flush", "Thùng"},
        {6, "Full house", "Cù lủ"},
        {7, "Four of kind", "Tứ quí"},
        {8, "Straight Flush", "Thùng phá sảnh"},
        {9, "Error", "Lủng"},
    };
    for (const auto& n : names) {
        EXPECT_EQ(rules::typeName(n.type, false), n.english);
        EXPECT_EQ(rules::typeName(n.type, true), n.vietnamese);
    }
    // Hand 0 and hand 4 are no hands.
    const auto all = hand("2c 3c 4c 5c 6c 7c 8c 9c Tc Jc Qc Kc Ac");
    EXPECT_EQ(rules::typeName(rules::getHandTypeOfCards(rules::handOfChi(all, 0)), true), "Lủng");
    EXPECT_EQ(rules::typeName(rules::getHandTypeOfCards(rules::handOfChi(all, 4)), false), "Error");
    EXPECT_STREQ(rules::specialHandKey(0), "KAVO_6Doi");
    EXPECT_STREQ(rules::specialHandKey(2), "KAVO_3ChiThung");
    EXPECT_STREQ(rules::specialHandKey(7), "KAVO_13LaHoaDong");
    EXPECT_STREQ(rules::specialHandKey(-1), "");
    EXPECT_STREQ(rules::specialHandKey(8), "");
}

} // namespace
} // namespace kavo::test
