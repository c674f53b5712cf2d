#include "tools/portal-stub/CoTuongPosition.h"

#include <algorithm>
#include <utility>

namespace kavo {

namespace {

struct Start {
    PieceKind kind;
    int x;
    int y; // counted from the side's own edge
};

constexpr Start kStart[] = {
    {PieceKind::Jiang, 4, 0}, {PieceKind::Shi, 3, 0}, {PieceKind::Shi, 5, 0}, {PieceKind::Xiang, 2, 0},
    {PieceKind::Xiang, 6, 0}, {PieceKind::Ma, 1, 0},  {PieceKind::Ma, 7, 0},  {PieceKind::Ju, 0, 0},
    {PieceKind::Ju, 8, 0},    {PieceKind::Pao, 1, 2}, {PieceKind::Pao, 7, 2}, {PieceKind::Zu, 0, 3},
    {PieceKind::Zu, 2, 3},    {PieceKind::Zu, 4, 3},  {PieceKind::Zu, 6, 3},  {PieceKind::Zu, 8, 3},
};

} // namespace

std::vector<RuleUnit> CoTuongPosition::startingUnits(BoardSide side, int team) {
    std::vector<RuleUnit> units;
    for (const Start& start : kStart) {
        const int y = side == BoardSide::Top ? CoTuongRules::kRows - 1 - start.y : start.y;
        units.push_back({start.x, y, start.kind, side, team, true});
    }
    return units;
}

CoTuongPosition CoTuongPosition::opening(int bottomTeam, int topTeam) {
    std::vector<RuleUnit> units = startingUnits(BoardSide::Top, topTeam);
    const auto bottom = startingUnits(BoardSide::Bottom, bottomTeam);
    units.insert(units.end(), bottom.begin(), bottom.end());
    return CoTuongPosition(std::move(units));
}

const RuleUnit* CoTuongPosition::unitAt(int x, int y) const {
    auto it = std::find_if(units_.begin(), units_.end(), [&](const RuleUnit& u) { return u.x == x && u.y == y; });
    return it == units_.end() ? nullptr : &*it;
}

RuleUnit* CoTuongPosition::unitAt(int x, int y) {
    return const_cast<RuleUnit*>(std::as_const(*this).unitAt(x, y));
}

std::optional<int> CoTuongPosition::teamAt(int x, int y) const {
    const RuleUnit* unit = unitAt(x, y);
    return unit ? std::optional<int>(unit->team) : std::nullopt;
}

std::optional<RuleUnit> CoTuongPosition::move(int xs, int ys, int xd, int yd) {
    auto mover = std::find_if(units_.begin(), units_.end(), [&](const RuleUnit& u) { return u.x == xs && u.y == ys; });
    if (mover == units_.end()) return std::nullopt;
    std::optional<RuleUnit> captured;
    auto victim = std::find_if(units_.begin(), units_.end(),
                               [&](const RuleUnit& u) { return u.x == xd && u.y == yd && u.team != mover->team; });
    if (victim != units_.end()) {
        captured = *victim;
        const bool moverAfter = mover > victim;
        units_.erase(victim);
        if (moverAfter) --mover;
    }
    mover->x = xd;
    mover->y = yd;
    return captured;
}

bool CoTuongPosition::attacksGeneral(int team) const {
    for (const RuleUnit& general : units_) {
        if (general.team == team || general.kind != PieceKind::Jiang) continue;
        for (const RuleUnit& unit : units_) {
            if (unit.team != team) continue;
            if (CoTuongRules::isMoveAllowed(unit, general.x, general.y, *this) &&
                CoTuongRules::isMoveAttack(unit, general.x, general.y, *this))
                return true;
        }
    }
    return false;
}

std::vector<CoTuongPosition::Move> CoTuongPosition::allowedMoves(int team) const {
    std::vector<Move> moves;
    for (const RuleUnit& unit : units_) {
        if (unit.team != team) continue;
        for (const auto& target : CoTuongRules::moveTargets(unit, *this))
            moves.push_back(
                {unit.x, unit.y, target.x, target.y, CoTuongRules::isMoveAttack(unit, target.x, target.y, *this)});
    }
    return moves;
}

} // namespace kavo
