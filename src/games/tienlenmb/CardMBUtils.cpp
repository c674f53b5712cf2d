#include "games/tienlenmb/CardMBUtils.h"

#include <algorithm>

namespace kavo {

namespace {

using Indexes = CardMBUtils::Indexes;

int rankOf(int8_t id) {
    return CardUtils::rank(id);
}
bool isTwo(int8_t id) {
    return CardUtils::isTwo(id);
}
bool sameColour(int8_t a, int8_t b) {
    return CardMBUtils::isRed(a) == CardMBUtils::isRed(b);
}

// getType's tests in the order it tries them, and the code each gives.
struct Shape {
    bool (*holds)(const int8_t*, int);
    int type;
};
constexpr Shape kShapes[] = {
    {&CardMBUtils::is1, CardUtils::kSingle},
    {&CardMBUtils::isDoi, CardUtils::kPair},
    {&CardMBUtils::is3la, CardUtils::kTriple},
    {&CardMBUtils::is3DoiThong, CardUtils::kThreePairs},
    {&CardMBUtils::is4DoiThong, CardUtils::kFourPairs},
    {&CardMBUtils::isTuQuy, CardUtils::kFourOfAKind},
    {&CardMBUtils::isSanh, CardUtils::kStraight},
};

// A run of pairs by the Tien Len pattern, all of one colour and not topped by 2s.
bool isColourRun(const int8_t* cards, int length, bool (*pattern)(const int8_t*, int)) {
    return pattern(cards, length) && !isTwo(cards[length - 1]) && CardMBUtils::isSameColor(cards, length);
}

// The instant wins, each on 13 ascending cards.
bool fourTwos(const int8_t* c) {
    return std::all_of(c + 9, c + 13, isTwo);
}
bool fourThrees(const int8_t* c) {
    return std::all_of(c, c + 4, [](int8_t id) { return rankOf(id) == 0; });
}
// Three to ace climbed one suit at a time: a card of the rank just reached is passed
// over, a step into another suit ends the climb.
bool dragon(const int8_t* c) {
    int steps = 0;
    for (int i = 0; i + 1 < 13 && steps < 11; ++i) {
        const int8_t from = c[i];
        const int8_t to = c[i + 1];
        if (rankOf(to) == rankOf(from)) continue;
        if (rankOf(to) != rankOf(from) + 1 || isTwo(to) || !CardMBUtils::isSameType(c + i, 2)) return false;
        ++steps;
    }
    return steps >= 11;
}
// Neighbours of one rank and one colour make a pair; any other neighbour is passed.
bool sixPairs(const int8_t* c) {
    int pairs = 0;
    int i = 0;
    while (i < 12 && pairs < 6) {
        const bool pair = CardMBUtils::isPairMB(c + i, 2);
        pairs += pair ? 1 : 0;
        i += pair ? 2 : 1;
    }
    return pairs >= 6;
}

} // namespace

bool CardMBUtils::isSameType(const int8_t* cards, int length) {
    return std::all_of(cards, cards + std::max(length, 0), [&](int8_t id) { return suit(id) == suit(cards[0]); });
}

bool CardMBUtils::isSameColor(const int8_t* cards, int length) {
    return std::all_of(cards, cards + std::max(length, 0), [&](int8_t id) { return sameColour(id, cards[0]); });
}

bool CardMBUtils::isSameTypeAndColor(const int8_t* cards1, int length1, const int8_t* cards2, int length2) {
    if (length1 != length2) return false;
    for (int i = 0; i < length1; ++i)
        if (suit(cards1[i]) != suit(cards2[i])) return false;
    return true;
}

bool CardMBUtils::isPairMB(const int8_t* cards, int length) {
    return isPair(cards, length) && isSameColor(cards, length);
}

bool CardMBUtils::isDoi(const int8_t* cards, int length) {
    return isPairMB(cards, length) || (length == 2 && isTwo(cards[0]) && isTwo(cards[1]));
}

bool CardMBUtils::is3DoiThong(const int8_t* cards, int length) {
    return isColourRun(cards, length, &CardUtils::is3DoiThong);
}

bool CardMBUtils::is4DoiThong(const int8_t* cards, int length) {
    return isColourRun(cards, length, &CardUtils::is4DoiThong);
}

bool CardMBUtils::isSanh(const int8_t* cards, int length) {
    return CardUtils::isSanh(cards, length) && isSameType(cards, length);
}

int CardMBUtils::getType(const int8_t* cards, int length) {
    if (cards == nullptr || length <= 0) return CardUtils::kNone;
    const auto shape =
        std::find_if(std::begin(kShapes), std::end(kShapes), [&](const Shape& s) { return s.holds(cards, length); });
    return shape == std::end(kShapes) ? CardUtils::kNone : shape->type;
}

bool CardMBUtils::available(const int8_t* mine, int lengthMine, int typeMine, const int8_t* table, int lengthTable,
                            int typeTable) {
    if (!CardUtils::available(mine, lengthMine, typeMine, table, lengthTable, typeTable)) return false;
    // A clear table takes any combination, and a chop is a combination of another kind.
    if (typeTable == CardUtils::kNone || typeMine != typeTable) return true;
    switch (typeTable) {
    case CardUtils::kSingle:
        return isTwo(mine[0]) || suit(mine[0]) == suit(table[0]);
    case CardUtils::kPair:
        return (lengthMine == 2 && isTwo(mine[0]) && isTwo(mine[1])) ||
               isSameTypeAndColor(mine, lengthMine, table, lengthTable);
    case CardUtils::kFourOfAKind:
        return true;
    default:
        return isSameTypeAndColor(mine, lengthMine, table, lengthTable);
    }
}

bool CardMBUtils::checkForceFinish(const int8_t* cards, int length, bool newGame) {
    if (cards == nullptr || length != 13) return false;
    return fourTwos(cards) || (newGame && fourThrees(cards)) || dragon(cards) || sixPairs(cards) ||
           demDoiThong(cards, length) >= 5;
}

bool CardMBUtils::checkForceFinishWith3DoiThongCo3Bich(const std::vector<int8_t>& dealt) {
    const std::vector<int8_t> hand = sorted(dealt);
    if (hand.empty() || hand[0] != 0) return false;
    for (int8_t id : {0, 1, 4, 5, 8, 9})
        if (!std::binary_search(hand.begin(), hand.end(), id)) return false;
    return true;
}

int CardMBUtils::demDoiThong(const int8_t* c, int length) {
    if (c == nullptr || length < 2 || length > 47) return 0;
    // `links` counts the pairs and the steps between them of the run being walked.
    int links = 0;
    int best = 0;
    const auto endRun = [&] {
        best = std::max(best, links);
        links = 0;
    };
    for (int i = 0; i + 1 < length; ++i) {
        const bool oneRank = rankOf(c[i]) == rankOf(c[i + 1]);
        const bool oneColour = sameColour(c[i], c[i + 1]);
        const bool step = rankOf(c[i + 1]) == rankOf(c[i]) + 1;
        if (links == 0) {
            links = oneRank ? 1 : 0;
        } else if (links % 2 == 0) {
            if (oneRank && oneColour)
                ++links;
            else
                endRun();
        } else if (step && oneColour) {
            ++links;
        } else if (!oneRank && oneColour) {
            endRun();
        }
        // Past a pair, a third card of its rank or a card of the other colour is passed.
    }
    endRun();
    return (best + 1) / 2;
}

} // namespace kavo
