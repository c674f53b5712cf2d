#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kavo {

// The wire's piece type codes; the rules, the undo rows and the snapshots use them.
enum class PieceKind : int8_t { Jiang = 1, Shi = 2, Xiang = 3, Ma = 4, Ju = 5, Pao = 6, Zu = 7 };

// True for the codes 1 to 7.
bool isPieceKind(int code);

// Which edge of the screen a side plays from. Rows 0-4 are the bottom half, 5-9 the
// top half; the river lies between rows 4 and 5.
enum class BoardSide { Bottom, Top };

// What the rules need to know about the squares: the team of the piece standing on
// one, if any. Teams are compared by identity only, so any number names one.
class SquareLookup {
public:
    virtual ~SquareLookup() = default;
    virtual std::optional<int> teamAt(int x, int y) const = 0;
};

// One piece as the rules see it. `confined` keeps the advisor in its palace and the
// elephant on its own half; a game whose pieces may leave them clears it.
struct RuleUnit {
    int x = 0;
    int y = 0;
    PieceKind kind = PieceKind::Zu;
    BoardSide side = BoardSide::Bottom;
    int team = 0;
    bool confined = true;
};

// The move rules of the seven kinds on the 9 x 10 board, with no views. They are
// hints for the player (the server decides): neither generals facing each other nor
// a move that leaves the own general attacked are tested.
class CoTuongRules {
public:
    static constexpr int kColumns = 9;
    static constexpr int kRows = 10;

    static bool onBoard(int x, int y);
    static bool inPalace(BoardSide side, int x, int y);
    static bool inOwnHalf(BoardSide side, int y);

    // The kind's rule for a move of `unit` to (x, y); the target must be on the board
    // and hold no piece of the unit's own team.
    static bool isMoveAllowed(const RuleUnit& unit, int x, int y, const SquareLookup& board);
    // A piece of another team stands on (x, y).
    static bool isMoveAttack(const RuleUnit& unit, int x, int y, const SquareLookup& board);
    // Every square, column 0-8 then row 0-9, that the unit may move to.
    struct Square {
        int x;
        int y;
        bool operator==(const Square&) const = default;
    };
    static std::vector<Square> moveTargets(const RuleUnit& unit, const SquareLookup& board);

private:
    // Pieces strictly between two squares of one row or column.
    static int piecesBetween(int x0, int y0, int x1, int y1, const SquareLookup& board);
    static bool occupied(int x, int y, const SquareLookup& board) { return board.teamAt(x, y).has_value(); }
};

} // namespace kavo
