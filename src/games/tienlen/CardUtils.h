#pragma once

#include <cstdint>
#include <vector>

namespace kavo {

// What auto select needs of a hand, so the rules can run on a plain list as well as
// on the cards of a table screen. Indexes are positions in hand order.
class SelectableHand {
public:
    virtual ~SelectableHand() = default;
    virtual std::vector<int8_t> handIds() const = 0;
    // The ids of the lifted cards in hand order.
    virtual std::vector<int8_t> selectedIds() const = 0;
    virtual void unSelectAll() = 0;
    virtual void selectAt(int index) = 0;
};

// The Tien Len rules as the client applies them before the server decides. Sets of
// cards are card-id bytes (rank = id / 4, 12 the two; suit = id % 4); every test
// except sort expects them ascending, with the top card last.
class CardUtils {
public:
    enum Type : int {
        kNone = -1,
        kSingle = 0,
        kStraight = 1,
        kPair = 2,
        kTriple = 3,
        kThreePairs = 4,
        kFourPairs = 5,
        kFourOfAKind = 6,
    };
    using Indexes = std::vector<uint8_t>; // empty: nothing found

    static int rank(int8_t id) { return id / 4; }
    static bool isTwo(int8_t id) { return id >= 48; }

    // Ascending by signed value, so a face-down 255 sorts first.
    static void sort(int8_t* cards, int length);
    static std::vector<int8_t> sorted(std::vector<int8_t> cards);
    static int getType(const int8_t* cards, int length);
    static int getType(const std::vector<int8_t>& cards) { return getType(cards.data(), int(cards.size())); }

    static bool is1(const int8_t* cards, int length);
    static bool isDoi(const int8_t* cards, int length);
    static bool is3la(const int8_t* cards, int length);
    static bool isTuQuy(const int8_t* cards, int length);
    static bool is3DoiThong(const int8_t* cards, int length);
    static bool is4DoiThong(const int8_t* cards, int length);
    static bool isSanh(const int8_t* cards, int length);

    // Whether my cards may be played on the table's, chops included.
    static bool available(const int8_t* mine, int lengthMine, int typeMine, const int8_t* table, int lengthTable,
                          int typeTable);
    // A freshly dealt hand that wins at once; only a full hand of 13 can.
    static bool checkForceFinish(const int8_t* cards, int length, bool newGame);
    // The number of pairs in the longest run of consecutive pairs.
    static int demDoiThong(const int8_t* cards, int length);

    // Selects on the hand the next choice that beats the table (or, on a clear table,
    // the next card); pressing again moves on from the current selection.
    static Indexes autoSelect(const int8_t* table, int lengthTable, SelectableHand& hand);

    // Finders over the ids of a hand (ascending); each answers hand indexes.
    static Indexes findAndSelectTwin(int minimum, const std::vector<int8_t>& hand);
    static Indexes findAndSelectTriple(int minimum, const std::vector<int8_t>& hand);
    // The highest four of a kind above the minimum; never four 2s.
    static Indexes findAndSelectQuart(int minimum, const std::vector<int8_t>& hand);
    static Indexes findAndSelectSeries(int minimum, const std::vector<int8_t>& hand, int length);
    // The highest run of `pairs` pairs, top pair first; never topped by 2s.
    static Indexes findDoubleSequence(int minimum, const std::vector<int8_t>& hand, int pairs);
};

} // namespace kavo
