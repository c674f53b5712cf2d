#pragma once

#include "games/tienlen/CardUtils.h"

#include <cstdint>
#include <vector>

namespace kavo {

// The Tien Len MB rules as the client applies them before the server decides: those of
// Tien Len, with straights of one suit, pairs and runs of pairs of one colour (two 2s
// pair in any suits) and plays that follow the suits of the cards they beat. Where a
// rule is Tien Len's, CardUtils answers it. Sets are card-id bytes, ascending with
// the top card last, as there; suits 0 and 1 are black, 2 and 3 red.
class CardMBUtils {
public:
    using Indexes = CardUtils::Indexes; // empty: nothing found

    static int suit(int8_t id) { return id % 4; }
    static bool isRed(int8_t id) { return suit(id) >= 2; }

    static void sort(int8_t* cards, int length) { CardUtils::sort(cards, length); }
    static std::vector<int8_t> sorted(std::vector<int8_t> cards) { return CardUtils::sorted(std::move(cards)); }
    // The same codes as Tien Len (CardUtils::Type), tried in the same order.
    static int getType(const int8_t* cards, int length);
    static int getType(const std::vector<int8_t>& cards) { return getType(cards.data(), int(cards.size())); }

    // Every card has the suit of the first.
    static bool isSameType(const int8_t* cards, int length);
    // Every card has the colour of the first.
    static bool isSameColor(const int8_t* cards, int length);
    // The same length and, position by position, the same suits.
    static bool isSameTypeAndColor(const int8_t* cards1, int length1, const int8_t* cards2, int length2);
    // Two cards of one rank, whatever their colours.
    static bool isPair(const int8_t* cards, int length) { return CardUtils::isDoi(cards, length); }
    // Two cards of one rank and one colour.
    static bool isPairMB(const int8_t* cards, int length);
    static bool isTriple(const int8_t* cards, int length) { return CardUtils::is3la(cards, length); }

    // The combination tests by MB shape, under Tien Len's names.
    // One suit throughout.
    static bool isSanh(const int8_t* cards, int length);
    // One colour, or two 2s of any suits.
    static bool isDoi(const int8_t* cards, int length);
    // Runs of pairs all of one colour, never topped by 2s.
    static bool is3DoiThong(const int8_t* cards, int length);
    static bool is4DoiThong(const int8_t* cards, int length);
    // As in Tien Len.
    static bool is1(const int8_t* cards, int length) { return CardUtils::is1(cards, length); }
    static bool is3la(const int8_t* cards, int length) { return isTriple(cards, length); }
    static bool isTuQuy(const int8_t* cards, int length) { return CardUtils::isTuQuy(cards, length); }

    // A freshly dealt hand (13 cards, ascending) that wins at once.
    static bool checkForceFinish(const int8_t* cards, int length, bool newGame);
    // The dealt hand, in any order, holds three black pairs from the three of spades up
    // (ids 0, 1, 4, 5, 8 and 9) and nothing lower.
    static bool checkForceFinishWith3DoiThongCo3Bich(const std::vector<int8_t>& dealt);
    // The number of pairs in the longest run of consecutive pairs of one colour.
    static int demDoiThong(const int8_t* cards, int length);

    // Whether my cards may be played on the table's: Tien Len's beat and chops, and a
    // play of the table's own kind follows its suits (a single may also be a 2, a pair
    // two 2s).
    static bool available(const int8_t* mine, int lengthMine, int typeMine, const int8_t* table, int lengthTable,
                          int typeTable);
    // Selects on the hand the next choice that beats the table following its suits
    // (or, on a clear table, the next card); pressing again moves on from the current
    // selection.
    static Indexes autoSelect(const int8_t* table, int lengthTable, SelectableHand& hand);

    // Finders over the ids of a hand (ascending); each answers hand indexes. The suit
    // to follow is that of the minimum (minimum % 4).
    // The first card of that suit above the minimum, or the first 2 above it.
    static Indexes findAndSelectSingle(int minimum, const std::vector<int8_t>& hand);
    // A card of that suit with the card of its rank one suit lower, else two 2s.
    static Indexes findAndSelectTwin(int minimum, const std::vector<int8_t>& hand);
    // A card of that suit with two of its rank in the suits of the table's first two
    // cards; partners first.
    static Indexes findAndSelectTriple(int minimum, const std::vector<int8_t>& hand, const int8_t* table,
                                       int lengthTable);
    static Indexes findAndSelectQuart(int minimum, const std::vector<int8_t>& hand) {
        return CardUtils::findAndSelectQuart(minimum, hand);
    }
    // A straight of that suit, top first.
    static Indexes findAndSelectSeries(int minimum, const std::vector<int8_t>& hand, int length);
    // The lowest run of `pairs` one-colour pairs whose top rank holds a card above the
    // minimum (not a 2), top pair first. Only hand positions 1 to count - 2 are looked at.
    // A run whose pairs differ in colour, or that does not beat the given table, is
    // passed over for the next one.
    static Indexes findDoubleSequence(int minimum, const std::vector<int8_t>& hand, int pairs,
                                      const int8_t* table = nullptr, int lengthTable = 0);
};

} // namespace kavo
