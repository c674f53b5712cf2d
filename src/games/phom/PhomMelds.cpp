#include "games/phom/PhomMelds.h"

#include <algorithm>
#include <cstdlib>

namespace kavo {

int8_t PhomTagCounter::next(const MeldHand& hand) {
    // 256 steps visit every byte once; a hand of ten cards holds at most ten tags.
    for (int step = 0; step < 256; ++step) {
        value_ = value_ >= 1000000 ? PhomTagCounter::kStart : value_ + 1;
        const auto tag = static_cast<int8_t>(value_ & 0xff);
        if (tag == phommelds::kLoose || tag == -1 || tag == phommelds::kTrialTag) continue;
        const bool inUse = std::any_of(hand.begin(), hand.end(), [tag](const MeldCard& c) { return c.tag == tag; });
        if (!inUse) return tag;
    }
    return 1; // unreachable with a hand of fewer than 250 cards
}

namespace phommelds {

namespace {

void move(MeldHand& hand, size_t from, size_t to) {
    const MeldCard card = hand[from];
    hand.erase(hand.begin() + long(from));
    hand.insert(hand.begin() + long(to), card);
}

void tagAll(MeldHand& hand, std::initializer_list<size_t> places, int8_t tag) {
    for (size_t place : places)
        hand[place].tag = tag;
}

// Sets: three untagged cards of one rank among the `reach` places after each card.
void detectPhomBaLa(MeldHand& hand, PhomTagCounter& counter, size_t reach) {
    for (size_t i = 0; i + 2 < hand.size(); ++i) {
        if (hand[i].tag != kLoose) continue;
        std::vector<size_t> group{i};
        for (size_t j = i + 1; j <= i + reach && j < hand.size() && group.size() < 3; ++j)
            if (hand[j].tag == kLoose && rankOf(hand[j].id) == rankOf(hand[i].id)) group.push_back(j);
        if (group.size() < 3) continue;
        const int8_t tag = counter.next(hand);
        tagAll(hand, {group[0], group[1], group[2]}, tag);
    }
}

void detectPhomSanh1(MeldHand& hand, PhomTagCounter& counter) {
    for (size_t i = 0; i + 2 < hand.size(); ++i) {
        if (hand[i].tag != kLoose) continue;
        const size_t end = std::min(hand.size(), i + 6);
        size_t second = 0, third = 0;
        for (size_t j = i + 1; j < end && !second; ++j)
            if (hand[j].tag == kLoose && hand[j].id == hand[i].id + 4) second = j;
        if (!second) continue;
        for (size_t j = second + 1; j < end && !third; ++j)
            if (hand[j].tag == kLoose && hand[j].id == hand[i].id + 8) third = j;
        if (!third) continue;
        const int8_t tag = counter.next(hand);
        tagAll(hand, {i, second, third}, tag);
    }
}

bool stepOfRun(int a, int b) {
    const int d = std::abs(a - b);
    return d == 4 || d == 8;
}

void detectPhomSanh2(MeldHand& hand, PhomTagCounter& counter) {
    for (size_t i = 0; i + 2 < hand.size(); ++i) {
        if (hand[i].tag != kLoose) continue;
        const int c = hand[i].id, d1 = hand[i + 1].id, d2 = hand[i + 2].id;
        if (!stepOfRun(d1, c) || !stepOfRun(d2, c) || !stepOfRun(d1, d2)) continue;
        for (size_t j : {i + 1, i + 2}) {
            const int8_t old = hand[j].tag;
            // A meld that holds an eaten card stays whole but for the card taken.
            if (old != kLoose && !isPhomAn(hand, old)) clearPhomMove(hand, old);
        }
        const int8_t tag = counter.next(hand);
        tagAll(hand, {i, i + 1, i + 2}, tag);
    }
}

} // namespace

bool canBePhom(int8_t a, int8_t b, int8_t c) {
    if (valueCard(a) == valueCard(b) && valueCard(b) == valueCard(c)) return true;
    int ids[3] = {a, b, c};
    std::sort(ids, ids + 3);
    return ids[2] - ids[0] == 8 && ids[2] - ids[1] == 4;
}

void sortWithCards(MeldHand& hand) {
    std::stable_sort(hand.begin(), hand.end(), [](const MeldCard& a, const MeldCard& b) { return a.id < b.id; });
}

void sortChat(MeldHand& hand) {
    if (hand.size() == 1) return;
    for (size_t i = 0; i + 1 < hand.size(); ++i) {
        if (rankOf(hand[i].id) == rankOf(hand[i + 1].id) && hand[i].id < hand[i + 1].id) move(hand, i + 1, i);
    }
}

void findPhom1(MeldHand& hand, PhomTagCounter& counter) {
    if (hand.size() < 3) return;
    detectPhomBaLa(hand, counter, 3);
    detectPhomSanh1(hand, counter);
}

void findPhom2(MeldHand& hand, PhomTagCounter& counter) {
    if (hand.size() < 3) return;
    detectPhomBaLa(hand, counter, 2);
    detectPhomSanh2(hand, counter);
}

void sortPhom(MeldHand& hand) {
    if (hand.size() < 2) return;
    for (size_t p = 1; p < hand.size(); ++p) {
        const MeldCard c = hand[p];
        if (c.tag == kLoose) continue;
        for (size_t q = 0; q < p; ++q) {
            const MeldCard& other = hand[q];
            const bool before = other.tag == kLoose || (other.tag == c.tag && c.id > other.id) ||
                                (other.tag != c.tag && ((isPhomBaLa(hand, c.tag) && !isPhomBaLa(hand, other.tag)) ||
                                                        countPhomValue(hand, c.tag) > countPhomValue(hand, other.tag)));
            if (before) {
                move(hand, p, q);
                break;
            }
        }
    }
}

void intelligentSort(MeldHand& hand, PhomTagCounter& counter) {
    sortWithCards(hand);
    sortChat(hand);
    findPhom1(hand, counter);
    sortPhom(hand);
}

bool isPhomBaLa(const MeldHand& hand, int8_t tag) {
    int rank = -1;
    for (const auto& card : hand) {
        if (card.tag != tag) continue;
        if (rank == -1) rank = rankOf(card.id);
        if (rankOf(card.id) != rank) return false;
    }
    return true;
}

bool isPhomAn(const MeldHand& hand, int8_t tag) {
    return std::any_of(hand.begin(), hand.end(), [tag](const MeldCard& c) { return c.tag == tag && c.eaten; });
}

int countPhomCard(const MeldHand& hand, int8_t tag) {
    return int(std::count_if(hand.begin(), hand.end(), [tag](const MeldCard& c) { return c.tag == tag; }));
}

int countPhomValue(const MeldHand& hand, int8_t tag) {
    if (tag == kLoose) return 0;
    int sum = 0, taken = 0;
    for (auto it = hand.rbegin(); it != hand.rend() && taken < 3; ++it) {
        if (it->tag != tag) continue;
        sum += valueCard(it->id);
        ++taken;
    }
    return sum;
}

int getValueOfPhom(const MeldHand& hand, int8_t tag) {
    int sum = 0;
    for (const auto& card : hand)
        if (card.tag == tag) sum += valueCard(card.id);
    return sum;
}

void clearPhomMove(MeldHand& hand, int8_t tag) {
    for (auto& card : hand)
        if (card.tag == tag) card.tag = kLoose;
}

void orderArrayIncrease(int* ids, int n) {
    for (int i = 0; i + 1 < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (ids[j] != -1 && (ids[i] > ids[j] || ids[i] == -1)) std::swap(ids[i], ids[j]);
}

namespace {

// Pairs that pass `fits` from the left of a sorted copy, up to the first -1.
template <class Fits> int passingPairs(const int* ids, int n, Fits fits) {
    if (n <= 0) return 0;
    std::vector<int> sorted(ids, ids + n);
    orderArrayIncrease(sorted.data(), n);
    int passed = 0;
    for (int i = 0; i + 1 < n && sorted[size_t(i) + 1] != -1; ++i) {
        if (!fits(sorted[size_t(i)], sorted[size_t(i) + 1])) return -1;
        ++passed;
    }
    return passed;
}

} // namespace

bool checkPhomSanh(const int* ids, int n) {
    return passingPairs(ids, n, [](int a, int b) { return a != b && b / 4 - a / 4 == 1 && a % 4 == b % 4; }) >= 2;
}

bool checkPhomBaLa(const int* ids, int n) {
    return passingPairs(ids, n, [](int a, int b) { return a != b && a / 4 == b / 4; }) >= 2;
}

std::vector<uint8_t> meldList(const MeldHand& hand) {
    std::vector<uint8_t> groups;
    uint8_t count = 0;
    for (size_t i = 0; i < hand.size();) {
        if (hand[i].tag != kLoose && i + 2 < hand.size()) {
            for (size_t k = i; k < i + 3; ++k)
                groups.push_back(static_cast<uint8_t>(hand[k].id));
            groups.push_back(255);
            ++count;
            i += 3;
        } else {
            ++i;
        }
    }
    groups.insert(groups.begin(), count);
    return groups;
}

} // namespace phommelds
} // namespace kavo
