#include "games/tienlen/CardUtils.h"

#include <algorithm>

namespace kavo {

namespace {

bool sameRank(const int8_t* cards, int from, int to) {
    for (int i = from + 1; i <= to; ++i)
        if (CardUtils::rank(cards[i]) != CardUtils::rank(cards[from])) return false;
    return true;
}

// Positions 0-1, 2-3, ... are pairs, each one rank above the one before.
bool isPairRun(const int8_t* cards, int length, int pairs) {
    if (length != pairs * 2) return false;
    for (int p = 0; p < pairs; ++p) {
        if (!sameRank(cards, 2 * p, 2 * p + 1)) return false;
        if (p > 0 && CardUtils::rank(cards[2 * p]) != CardUtils::rank(cards[2 * p - 2]) + 1) return false;
    }
    return true;
}

int firstAbove(const std::vector<int8_t>& hand, int minimum) {
    for (size_t i = 0; i < hand.size(); ++i)
        if (hand[i] > minimum) return int(i);
    return -1;
}

// The first card of the rank, searched from the lowest or the highest, skipping `used`.
int findRank(const std::vector<int8_t>& hand, int rank, bool fromHighest, const CardUtils::Indexes& used) {
    const int n = int(hand.size());
    for (int k = 0; k < n; ++k) {
        const int i = fromHighest ? n - 1 - k : k;
        if (CardUtils::rank(hand[i]) == rank && std::find(used.begin(), used.end(), uint8_t(i)) == used.end()) return i;
    }
    return -1;
}

// The other cards of the rank of hand[i], `count` of them, or nothing.
CardUtils::Indexes partners(const std::vector<int8_t>& hand, int i, int count, bool fromHighest) {
    CardUtils::Indexes found{uint8_t(i)};
    for (int c = 0; c < count; ++c) {
        const int j = findRank(hand, CardUtils::rank(hand[i]), fromHighest, found);
        if (j < 0) return {};
        found.push_back(uint8_t(j));
    }
    found.erase(found.begin());
    return found;
}

CardUtils::Indexes single(int index) {
    return index < 0 ? CardUtils::Indexes{} : CardUtils::Indexes{uint8_t(index)};
}

} // namespace

void CardUtils::sort(int8_t* cards, int length) {
    for (int i = 0; i + 1 < length; ++i)
        for (int j = i + 1; j < length; ++j)
            if (cards[i] > cards[j]) std::swap(cards[i], cards[j]);
}

std::vector<int8_t> CardUtils::sorted(std::vector<int8_t> cards) {
    sort(cards.data(), int(cards.size()));
    return cards;
}

bool CardUtils::is1(const int8_t*, int length) {
    return length == 1;
}
bool CardUtils::isDoi(const int8_t* cards, int length) {
    return length == 2 && sameRank(cards, 0, 1);
}
bool CardUtils::is3la(const int8_t* cards, int length) {
    return length == 3 && sameRank(cards, 0, 2);
}
bool CardUtils::isTuQuy(const int8_t* cards, int length) {
    return length == 4 && sameRank(cards, 0, 3);
}
bool CardUtils::is3DoiThong(const int8_t* cards, int length) {
    return isPairRun(cards, length, 3);
}
bool CardUtils::is4DoiThong(const int8_t* cards, int length) {
    return isPairRun(cards, length, 4);
}

bool CardUtils::isSanh(const int8_t* cards, int length) {
    if (length < 3 || isTwo(cards[length - 1])) return false;
    for (int i = 1; i < length; ++i)
        if (rank(cards[i]) != rank(cards[i - 1]) + 1) return false;
    return true;
}

int CardUtils::getType(const int8_t* cards, int length) {
    if (cards == nullptr || length <= 0) return kNone;
    if (is1(cards, length)) return kSingle;
    if (isDoi(cards, length)) return kPair;
    if (is3la(cards, length)) return kTriple;
    if (is3DoiThong(cards, length)) return kThreePairs;
    if (is4DoiThong(cards, length)) return kFourPairs;
    if (isTuQuy(cards, length)) return kFourOfAKind;
    if (isSanh(cards, length)) return kStraight;
    return kNone;
}

bool CardUtils::available(const int8_t* mine, int lengthMine, int typeMine, const int8_t* table, int lengthTable,
                          int typeTable) {
    if (typeTable < kNone || typeTable > kFourOfAKind) return false;
    if (typeTable == kNone) return typeMine != kNone;
    if (lengthMine <= 0 || lengthTable <= 0) return false;
    const bool higher = mine[lengthMine - 1] > table[lengthTable - 1];
    const bool tableTopIsTwo = isTwo(table[lengthTable - 1]);
    switch (typeTable) {
    case kSingle:
        return (typeMine == kSingle && higher) ||
               (tableTopIsTwo && (typeMine == kThreePairs || typeMine == kFourPairs || typeMine == kFourOfAKind));
    case kStraight:
        return typeMine == kStraight && lengthMine == lengthTable && higher;
    case kPair:
        return (typeMine == kPair && higher) || (tableTopIsTwo && (typeMine == kFourPairs || typeMine == kFourOfAKind));
    case kTriple:
        return typeMine == kTriple && higher;
    case kThreePairs:
        return typeMine == kFourPairs || typeMine == kFourOfAKind || (typeMine == kThreePairs && higher);
    case kFourPairs:
        return typeMine == kFourPairs && higher;
    case kFourOfAKind:
        return typeMine == kFourPairs || (typeMine == kFourOfAKind && higher);
    default:
        return false;
    }
}

bool CardUtils::checkForceFinish(const int8_t* c, int length, bool newGame) {
    if (c == nullptr || length != 13) return false;
    if (isTwo(c[9]) && isTwo(c[10]) && isTwo(c[11]) && isTwo(c[12])) return true;
    if (newGame && rank(c[0]) == 0 && rank(c[1]) == 0 && rank(c[2]) == 0 && rank(c[3]) == 0) return true;
    int steps = 0;
    for (int i = 0; i < 12; ++i) {
        if (rank(c[i + 1]) == rank(c[i]) + 1 && !isTwo(c[i + 1]))
            ++steps;
        else if (rank(c[i + 1]) != rank(c[i]))
            break;
    }
    if (steps >= 11) return true;
    int pairs = 0;
    for (int i = 0; i < 12;) {
        if (rank(c[i]) == rank(c[i + 1])) {
            ++pairs;
            i += 2;
        } else {
            ++i;
        }
    }
    if (pairs >= 6) return true;
    return demDoiThong(c, length) >= 5;
}

int CardUtils::demDoiThong(const int8_t* c, int length) {
    if (c == nullptr || length < 2 || length > 47) return 0;
    int links = 0;
    int best = 0;
    for (int i = 0; i + 1 < length; ++i) {
        const int a = rank(c[i]);
        const int b = rank(c[i + 1]);
        if (links == 0) {
            if (a == b) links = 1;
        } else if (links % 2 == 1) {
            if (b == a + 1) {
                ++links;
            } else if (b != a) {
                best = std::max(best, links);
                links = 0;
            }
        } else if (a == b) {
            ++links;
        } else {
            best = std::max(best, links);
            links = 0;
        }
    }
    best = std::max(best, links);
    return (best + 1) / 2;
}

CardUtils::Indexes CardUtils::findAndSelectTwin(int minimum, const std::vector<int8_t>& hand) {
    for (size_t i = 0; i < hand.size(); ++i) {
        if (hand[i] <= minimum) continue;
        Indexes other = partners(hand, int(i), 1, false);
        if (!other.empty()) return {uint8_t(i), other[0]};
    }
    return {};
}

CardUtils::Indexes CardUtils::findAndSelectTriple(int minimum, const std::vector<int8_t>& hand) {
    for (size_t i = 0; i < hand.size(); ++i) {
        if (hand[i] <= minimum) continue;
        Indexes other = partners(hand, int(i), 2, false);
        if (!other.empty()) return {other[0], other[1], uint8_t(i)};
    }
    return {};
}

CardUtils::Indexes CardUtils::findAndSelectQuart(int minimum, const std::vector<int8_t>& hand) {
    if (hand.size() < 4) return {};
    for (int i = int(hand.size()) - 1; i >= 0; --i) {
        if (hand[i] <= minimum || isTwo(hand[i])) continue;
        Indexes other = partners(hand, i, 3, true);
        if (!other.empty()) return {uint8_t(i), other[0], other[1], other[2]};
    }
    return {};
}

CardUtils::Indexes CardUtils::findAndSelectSeries(int minimum, const std::vector<int8_t>& hand, int length) {
    if (length < 1 || int(hand.size()) < length) return {};
    for (size_t i = 0; i < hand.size(); ++i) {
        if (hand[i] <= minimum || isTwo(hand[i])) continue;
        Indexes found{uint8_t(i)};
        for (int k = 1; k < length; ++k) {
            const int j = findRank(hand, rank(hand[i]) - k, false, {});
            if (j < 0) break;
            found.push_back(uint8_t(j));
        }
        if (int(found.size()) == length) return found;
    }
    return {};
}

CardUtils::Indexes CardUtils::findDoubleSequence(int minimum, const std::vector<int8_t>& hand, int pairs) {
    for (int i = int(hand.size()) - 1; i >= 0; --i) {
        if (hand[i] <= minimum || isTwo(hand[i])) continue;
        Indexes found;
        for (int k = 0; k < pairs; ++k) {
            const int first = findRank(hand, rank(hand[i]) - k, true, found);
            if (first < 0) break;
            found.push_back(uint8_t(first));
            const int second = findRank(hand, rank(hand[i]) - k, true, found);
            if (second < 0) break;
            found.push_back(uint8_t(second));
        }
        if (pairs > 0 && int(found.size()) == 2 * pairs) return found;
    }
    return {};
}

CardUtils::Indexes CardUtils::autoSelect(const int8_t* table, int lengthTable, SelectableHand& hand) {
    const std::vector<int8_t> ids = hand.handIds();
    const bool tableClear = table == nullptr || lengthTable < 1;
    int t = tableClear ? -1 : table[lengthTable - 1];
    for (int8_t id : hand.selectedIds())
        t = std::max(t, int(id));
    hand.unSelectAll();

    Indexes answer;
    if (tableClear) {
        if (ids.empty()) return {};
        const int index = firstAbove(ids, t);
        answer = single(index < 0 ? 0 : index);
    } else {
        const int top = table[lengthTable - 1];
        const auto orElse = [](Indexes first, auto next) { return first.empty() ? next() : first; };
        switch (lengthTable) {
        case 1:
            if (isTwo(table[0]))
                answer = orElse(findDoubleSequence(-1, ids, 3), [&] {
                    return orElse(findAndSelectQuart(-1, ids), [&] { return findDoubleSequence(-1, ids, 4); });
                });
            if (answer.empty()) answer = single(firstAbove(ids, t));
            if (answer.empty() && t > top) answer = single(firstAbove(ids, top));
            break;
        case 2:
            answer = findAndSelectTwin(t, ids);
            if (answer.empty() && isTwo(table[0]) && isTwo(table[1]))
                answer = orElse(findAndSelectQuart(-1, ids), [&] { return findDoubleSequence(-1, ids, 4); });
            break;
        case 3:
            if (is3la(table, 3)) {
                answer = findAndSelectTriple(t, ids);
                if (answer.empty() && t > top) answer = findAndSelectTriple(top, ids);
            } else if (isSanh(table, 3)) {
                answer = findAndSelectSeries(t, ids, 3);
            }
            break;
        case 4:
            if (isTuQuy(table, 4)) {
                answer = findAndSelectQuart(t, ids);
                if (answer.empty()) answer = t > top ? findAndSelectQuart(top, ids) : findDoubleSequence(-1, ids, 4);
            } else if (isSanh(table, 4)) {
                answer = findAndSelectSeries(t, ids, 4);
            }
            break;
        case 6:
            if (is3DoiThong(table, 6))
                answer = orElse(findDoubleSequence(t, ids, 3), [&] {
                    return orElse(findAndSelectQuart(-1, ids), [&] { return findDoubleSequence(-1, ids, 4); });
                });
            else
                answer = findAndSelectSeries(t, ids, 6);
            break;
        case 8:
            answer = is4DoiThong(table, 8) ? findDoubleSequence(top, ids, 4) : findAndSelectSeries(t, ids, 8);
            break;
        case 5:
        case 7:
        case 9:
        case 10:
        case 11:
            answer = findAndSelectSeries(t, ids, lengthTable);
            break;
        default:
            break;
        }
    }
    for (uint8_t index : answer)
        hand.selectAt(index);
    return answer;
}

} // namespace kavo
