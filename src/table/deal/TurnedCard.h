#pragma once

#include <cstdint>

namespace kavo {

class CardViewPhom;

// Turns a face-down card of a three-card or twenty-one table face up: the server names
// the card (an ace-low wire id) and its face, from the same picture table as the
// cards' own pictures ("100.png" for index 0), replaces whatever the card showed (its
// back, my cover). The card is marked checked and identified by its id ("card12").
// False, the card unchanged, for an id that names no card (255 stays face down).
// Main thread only.
bool layTurnedFace(CardViewPhom& card, uint8_t wireId);

} // namespace kavo
