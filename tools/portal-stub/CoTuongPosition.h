#pragma once

#include "games/cotuong/CoTuongRules.h"

#include <optional>
#include <vector>

namespace kavo {

// A board of pieces with no views: what the rules are tested on, and what a server
// stand-in keeps to pick and check moves. Teams are numbered by the caller.
class CoTuongPosition : public SquareLookup {
public:
    // The sixteen pieces of a side in their starting squares, in the order a table
    // lays them out (general, advisors, elephants, horses, chariots, cannons, soldiers).
    static std::vector<RuleUnit> startingUnits(BoardSide side, int team);

    CoTuongPosition() = default;
    explicit CoTuongPosition(std::vector<RuleUnit> units) : units_(std::move(units)) {}
    // Both sides in their starting squares.
    static CoTuongPosition opening(int bottomTeam, int topTeam);

    std::optional<int> teamAt(int x, int y) const override;
    // The piece on the square, if any.
    const RuleUnit* unitAt(int x, int y) const;
    RuleUnit* unitAt(int x, int y);
    const std::vector<RuleUnit>& units() const { return units_; }
    void add(const RuleUnit& unit) { units_.push_back(unit); }

    // Moves the piece on (xs, ys) to (xd, yd) and returns what it captured. Nothing
    // moves when the source square is empty.
    std::optional<RuleUnit> move(int xs, int ys, int xd, int yd);

    // Some piece of `team` may take an enemy general in one move (a check).
    bool attacksGeneral(int team) const;

    struct Move {
        int xs, ys, xd, yd;
        bool captures;
    };
    // Every move the rules allow to the pieces of `team`, in piece order, then column
    // and row of the target.
    std::vector<Move> allowedMoves(int team) const;

private:
    std::vector<RuleUnit> units_;
};

} // namespace kavo
