#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kavo {

// The Mau Binh hand evaluation over card ids 0-51 in the game's two-low order (rank
// = id / 4 with 0 the two and 12 the ace, suit = id % 4). The server judges hands
// and special hands; these only name the player's hands and warn of a foul. Pure
// functions: the caller's lists are taken by value and never reordered.
namespace MauBinhRules {

using Hand = std::vector<int>;

// Hand types; kNoHand for an empty list or a count other than 3 or 5.
enum HandType : int {
    kNoHand = -1,
    kHighCard = 0,
    kOnePair = 1,
    kTwoPairs = 2,
    kThreeOfKind = 3,
    kStraight = 4,
    kFlush = 5,
    kFullHouse = 6,
    kFourOfKind = 7,
    kStraightFlush = 8,
};

// Comparison results: the first hand stronger, the second stronger, equal, and not
// comparable (both hands no hand).
inline constexpr int kFirstStronger = -1;
inline constexpr int kSecondStronger = 1;
inline constexpr int kEqual = 0;
inline constexpr int kIncomparable = 1989;

inline bool isAce(int id) {
    return id >= 48 && id <= 51;
}
inline bool is3(int id) {
    return id >= 4 && id <= 7;
}
inline bool is5(int id) {
    return id >= 12 && id <= 15;
}

// Ascending by id.
Hand resortCards(Hand cards);
// The ranks (id / 4) in the list's order.
std::vector<int> getCardValues(const Hand& cards);
// The wheel A-2-3-4-5 of a sorted hand (also A-2-3 for three cards).
bool is2ndStraight(const Hand& sorted);
int getHandTypeOfCards(const Hand& cards);
// Ties are broken as the table plays: high card and flush by the top card only, a
// pair then the top card, two pairs then the top card, straights by the top and
// then the second card (so the wheel ranks second).
int compareWith(const Hand& first, const Hand& second);
int compareWithSameType(const Hand& sortedFirst, const Hand& sortedSecond, int type);
// A hand stronger than the hand behind it (or hands that cannot be compared).
bool checkLung(const Hand& front, const Hand& middle, const Hand& back);
// Front (positions 0-2), middle (3-7) and back (8-12) of an arrangement; fewer than
// thirteen ids give a foul.
bool checkBinhLung(const Hand& arrangement);
// The ids of hand `chi` (1 front, 2 middle, 3 back) of an arrangement; empty for any
// other number or a short arrangement.
Hand handOfChi(const Hand& arrangement, int chi);
// The name of a hand type in the language ("vi" or any other).
std::string typeName(int type, bool vietnamese);
// The text key of a special hand (0-7), "" for none.
const char* specialHandKey(int mbType);

} // namespace MauBinhRules

} // namespace kavo
