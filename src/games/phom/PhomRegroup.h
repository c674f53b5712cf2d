#pragma once

#include "games/phom/PhomMelds.h"

#include <functional>

namespace kavo {

// Re-forming melds around a card the player dropped into another place of the hand.
// Works on the view-free hand so that every decision is tested without views; the
// screen moves its card views the same way afterwards.
namespace phomregroup {

// What the side checks found about the melds the dropped card could join.
struct Flags {
    bool oldEat = false;                                       // the dropped card's meld held an eaten card
    bool anLeft = false, anRight = false, anMid = false;       // a new meld there is allowed
    bool baLaLeft = false, baLaRight = false, baLaMid = false; // the new meld there is a set
};

enum class Change { None, Left, Right, Mid };

// NO when the card at i stands between two cards of its own tag (0 included).
bool checkCardIndex(const MeldHand& hand, int i);
// Whether the card at i and its two left / two right / two side neighbours form a meld;
// each sets its pair of flags.
bool checkLeft(MeldHand& hand, int i, Flags& flags);
bool checkRight(MeldHand& hand, int i, Flags& flags);
bool checkMid(MeldHand& hand, int i, Flags& flags);
// The decision of the three answers and the flags.
Change decide(bool left, bool right, bool mid, const Flags& flags);
// Forms the chosen meld: dissolves the dropped card's meld and the neighbour's, gives
// the three cards a fresh tag and sorts the hand.
void apply(MeldHand& hand, int i, Change change, PhomTagCounter& counter);
// The whole check at i; returns the change made (None: the hand is untouched).
Change checkDoiPhom(MeldHand& hand, int i, PhomTagCounter& counter);

// The drop of the card at `from` on the place `to` (past the end: appended), the
// regrouping it causes and the adjacency scan. `regrouped` hears the hand each time the
// side checks re-formed a meld (the screen reports that grouping at once).
void dropCard(MeldHand& hand, int from, int to, PhomTagCounter& counter,
              const std::function<void(const MeldHand&)>& regrouped = {});

// The place of the card with `ref`, -1 when it is not in the hand.
int placeOf(const MeldHand& hand, int ref);

} // namespace phomregroup
} // namespace kavo
