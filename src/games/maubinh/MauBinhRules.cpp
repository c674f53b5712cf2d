#include "games/maubinh/MauBinhRules.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kavo::MauBinhRules {

namespace {

struct TypeName {
    const char* english;
    const char* vietnamese;
};

// Index type + 1: "no hand" first.
constexpr std::array<TypeName, 10> kTypeNames = {{
    {"Error", "Lủng"},
    {"High card", "Mậu thầu"},
    {"One pair", "Dzách"},
    {"Two separate pairs", "Thú"},
    {"Three of kind", "Xám chi"},
    {"Straight", "Sảnh"},
    {"Flush", "Thùng"},
    {"Full house", "Cù lủ"},
    {"Four of kind", "Tứ quí"},
    {"Straight Flush", "Thùng phá sảnh"},
}};

constexpr std::array<const char*, 8> kSpecialKeys = {"KAVO_6Doi",        "KAVO_3ChiSanh",   "KAVO_3ChiThung",
                                                     "KAVO_12LaDongHoa", "KAVO_lucPheBon",  "KAVO_SanhRong",
                                                     "KAVO_4XamChi",     "KAVO_13LaHoaDong"};

int sign(int a, int b) {
    return a > b ? kFirstStronger : a < b ? kSecondStronger : kEqual;
}

int compareCardByCard(const std::vector<int>& a, const std::vector<int>& b) {
    if (a.empty() || b.empty()) return kIncomparable;
    return sign(a.back(), b.back());
}

// The rank of the first two adjacent equal ranks, -1 when none.
int pairRank(const std::vector<int>& values) {
    for (size_t i = 0; i + 1 < values.size(); ++i)
        if (values[i] == values[i + 1]) return values[i];
    return -1;
}

int compareWithOnePair(const std::vector<int>& a, const std::vector<int>& b) {
    const int pa = pairRank(a);
    const int pb = pairRank(b);
    if (pa < 0 || pb < 0) return kIncomparable;
    if (pa != pb) return sign(pa, pb);
    return compareCardByCard(a, b);
}

int at(const std::vector<int>& values, size_t i) {
    return i < values.size() ? values[i] : -1;
}

int compareWithTwoPair(const std::vector<int>& a, const std::vector<int>& b) {
    if (at(a, 3) != at(b, 3)) return sign(at(a, 3), at(b, 3));
    if (at(a, 1) != at(b, 1)) return sign(at(a, 1), at(b, 1));
    return compareCardByCard(a, b);
}

int compareAt(const std::vector<int>& a, const std::vector<int>& b, size_t i) {
    return sign(at(a, i), at(b, i));
}

int compareWithStraight(const std::vector<int>& a, const std::vector<int>& b) {
    const int top = compareAt(a, b, 4);
    return top != kEqual ? top : compareAt(a, b, 3);
}

} // namespace

Hand resortCards(Hand cards) {
    std::sort(cards.begin(), cards.end());
    return cards;
}

std::vector<int> getCardValues(const Hand& cards) {
    std::vector<int> values;
    values.reserve(cards.size());
    for (int id : cards)
        values.push_back(id / 4);
    return values;
}

bool is2ndStraight(const Hand& sorted) {
    if (sorted.size() < 2) return false;
    const int second = sorted[sorted.size() - 2];
    if (!isAce(sorted.back())) return false;
    return sorted.size() == 3 ? is3(second) : is5(second);
}

int getHandTypeOfCards(const Hand& cards) {
    if (cards.size() != 3 && cards.size() != 5) return kNoHand;
    const Hand sorted = resortCards(cards);
    bool flush = true;
    int run = 0;
    int threes = 0;
    int pairs = 0;
    // Closes a run of equal ranks; true for four of a kind.
    auto close = [&] {
        const bool quads = run == 3;
        if (run == 2) ++threes;
        if (run == 1) ++pairs;
        run = 0;
        return quads;
    };
    for (size_t i = 0; i + 1 < sorted.size(); ++i) {
        if (sorted[i] % 4 != sorted[i + 1] % 4) flush = false;
        if (sorted[i] / 4 == sorted[i + 1] / 4) {
            ++run;
        } else if (close()) {
            return kFourOfKind;
        }
    }
    if (close()) return kFourOfKind;
    if (threes > 0) return pairs > 0 ? kFullHouse : kThreeOfKind;
    if (pairs >= 2) return kTwoPairs;
    if (pairs == 1) return kOnePair;
    if (sorted.size() == 3) return kHighCard;
    const bool straight = sorted.back() / 4 - sorted.front() / 4 == 4 || is2ndStraight(sorted);
    if (straight) return flush ? kStraightFlush : kStraight;
    return flush ? kFlush : kHighCard;
}

int compareWithSameType(const Hand& sortedFirst, const Hand& sortedSecond, int type) {
    const auto a = getCardValues(sortedFirst);
    const auto b = getCardValues(sortedSecond);
    switch (type) {
    case kHighCard:
    case kFlush:
        return compareCardByCard(a, b);
    case kOnePair:
        return compareWithOnePair(a, b);
    case kTwoPairs:
        return compareWithTwoPair(a, b);
    case kThreeOfKind:
    case kFullHouse:
    case kFourOfKind:
        return compareAt(a, b, 2);
    case kStraight:
    case kStraightFlush:
        return compareWithStraight(a, b);
    default:
        return kIncomparable;
    }
}

int compareWith(const Hand& first, const Hand& second) {
    const int typeA = getHandTypeOfCards(first);
    const int typeB = getHandTypeOfCards(second);
    if (typeA != typeB) return sign(typeA, typeB);
    return compareWithSameType(resortCards(first), resortCards(second), typeA);
}

bool checkLung(const Hand& front, const Hand& middle, const Hand& back) {
    for (int result : {compareWith(front, middle), compareWith(middle, back)})
        if (result == kFirstStronger || result == kIncomparable) return true;
    return false;
}

Hand handOfChi(const Hand& arrangement, int chi) {
    if (arrangement.size() < 13 || chi < 1 || chi > 3) return {};
    const size_t from = chi == 1 ? 0 : chi == 2 ? 3 : 8;
    const size_t to = chi == 1 ? 3 : chi == 2 ? 8 : 13;
    return Hand(arrangement.begin() + long(from), arrangement.begin() + long(to));
}

bool checkBinhLung(const Hand& arrangement) {
    return checkLung(handOfChi(arrangement, 1), handOfChi(arrangement, 2), handOfChi(arrangement, 3));
}

std::string typeName(int type, bool vietnamese) {
    const auto& names = kTypeNames[size_t(type >= kHighCard && type <= kStraightFlush ? type + 1 : 0)];
    return vietnamese ? names.vietnamese : names.english;
}

const char* specialHandKey(int mbType) {
    return mbType >= 0 && mbType < int(kSpecialKeys.size()) ? kSpecialKeys[size_t(mbType)] : "";
}

} // namespace kavo::MauBinhRules
