#pragma once

#include <cstdint>
#include <vector>

namespace kavo {

// One card of my Phom hand as the meld rules see it: the wire id (rank = id / 4 with
// 0 the ace, suit = id % 4), the meld tag (0 loose) and whether it was eaten from a
// discard. `ref` is the caller's own handle (the screen keeps the card view's place in
// it), carried through every reordering.
struct MeldCard {
    int8_t id = -1;
    int8_t tag = 0;
    bool eaten = false;
    int ref = -1;
};
using MeldHand = std::vector<MeldCard>;

// Hands out meld tags. A tag is a plain small integer that only this hand sees (the
// wire carries no tags), so the counter skips the values with a meaning of their own
// (0 loose, -1 no card, the trial tag) and any tag a card of the hand still carries:
// a long deal can wrap the byte without two melds ever sharing a tag.
class PhomTagCounter {
public:
    static constexpr int kStart = 3;
    void reset() { value_ = kStart; }
    int8_t next(const MeldHand& hand);
    int value() const { return value_; }

private:
    int value_ = kStart;
};

// The meld rules of my hand, without views: sorting, the two scans, the meld-first
// order, the meld tests and the meld list the server gets (commands 65 and 68).
namespace phommelds {

constexpr int8_t kLoose = 0;
// The tag the drag checks put on three cards for a moment.
constexpr int8_t kTrialTag = -99;

inline int rankOf(int8_t id) {
    return id / 4;
}
// Ace 1 ... king 13.
inline int valueCard(int8_t id) {
    return id / 4 + 1;
}

// Three cards of one rank, or of one suit in three consecutive ranks (the ace is only low).
bool canBePhom(int8_t a, int8_t b, int8_t c);

void sortWithCards(MeldHand& hand);
// One pass that moves the lower suit of two equal ranks behind the higher.
void sortChat(MeldHand& hand);
// The sorted-hand scan: sets within four places, then runs within six.
void findPhom1(MeldHand& hand, PhomTagCounter& counter);
// The adjacency scan: only cards that stand side by side form a meld.
void findPhom2(MeldHand& hand, PhomTagCounter& counter);
// Melds first (sets ahead of runs unless the run is worth more), loose cards after.
void sortPhom(MeldHand& hand);
// Sort by id, the suit pass, the sorted-hand scan and the meld-first order. Tags
// already on the hand stay.
void intelligentSort(MeldHand& hand, PhomTagCounter& counter);

bool isPhomBaLa(const MeldHand& hand, int8_t tag);
bool isPhomAn(const MeldHand& hand, int8_t tag);
int countPhomCard(const MeldHand& hand, int8_t tag);
int countPhomValue(const MeldHand& hand, int8_t tag);
int getValueOfPhom(const MeldHand& hand, int8_t tag);
void clearPhomMove(MeldHand& hand, int8_t tag);

// The array forms over card ids that may hold -1 entries (-1 sorts last).
void orderArrayIncrease(int* ids, int n);
bool checkPhomSanh(const int* ids, int n);
bool checkPhomBaLa(const int* ids, int n);

// The meld list of commands 65 and 68: a count, then three ids and 255 for each card
// with a tag and the two cards after it. A tagged card without two cards after it is
// sent as loose, so the count always equals the groups written.
std::vector<uint8_t> meldList(const MeldHand& hand);

} // namespace phommelds
} // namespace kavo
