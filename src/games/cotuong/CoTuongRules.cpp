#include "games/cotuong/CoTuongRules.h"

#include <algorithm>
#include <cstdlib>

namespace kavo {

bool isPieceKind(int code) {
    return code >= int(PieceKind::Jiang) && code <= int(PieceKind::Zu);
}

bool CoTuongRules::onBoard(int x, int y) {
    // Unsigned, so that negative squares fail as well.
    return unsigned(x) < unsigned(kColumns) && unsigned(y) < unsigned(kRows);
}

bool CoTuongRules::inPalace(BoardSide side, int x, int y) {
    if (x < 3 || x > 5) return false;
    return side == BoardSide::Top ? (y >= 7 && y <= 9) : (y >= 0 && y <= 2);
}

bool CoTuongRules::inOwnHalf(BoardSide side, int y) {
    return side == BoardSide::Top ? y >= 5 : y <= 4;
}

int CoTuongRules::piecesBetween(int x0, int y0, int x1, int y1, const SquareLookup& board) {
    const int stepX = (x1 > x0) - (x1 < x0);
    const int stepY = (y1 > y0) - (y1 < y0);
    int count = 0;
    for (int x = x0 + stepX, y = y0 + stepY; x != x1 || y != y1; x += stepX, y += stepY)
        count += occupied(x, y, board) ? 1 : 0;
    return count;
}

bool CoTuongRules::isMoveAttack(const RuleUnit& unit, int x, int y, const SquareLookup& board) {
    const auto team = board.teamAt(x, y);
    return team.has_value() && *team != unit.team;
}

bool CoTuongRules::isMoveAllowed(const RuleUnit& unit, int x, int y, const SquareLookup& board) {
    if (!onBoard(x, y)) return false;
    const auto there = board.teamAt(x, y);
    if (there && *there == unit.team) return false;

    const int dx = x - unit.x;
    const int dy = y - unit.y;
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    switch (unit.kind) {
    case PieceKind::Jiang:
        return inPalace(unit.side, x, y) && adx + ady == 1;
    case PieceKind::Shi:
        return adx == 1 && ady == 1 && (!unit.confined || inPalace(unit.side, x, y));
    case PieceKind::Xiang:
        if (unit.confined && !inOwnHalf(unit.side, y)) return false;
        return adx == 2 && ady == 2 && !occupied(unit.x + dx / 2, unit.y + dy / 2, board);
    case PieceKind::Ma:
        if (ady >= adx) return ady == 2 && adx == 1 && !occupied(unit.x, unit.y + dy / 2, board);
        return adx == 2 && ady == 1 && !occupied(unit.x + dx / 2, unit.y, board);
    case PieceKind::Ju:
        if (dx != 0 && dy != 0) return false;
        return piecesBetween(unit.x, unit.y, x, y, board) == 0;
    case PieceKind::Pao: {
        if (dx != 0 && dy != 0) return false;
        const int screens = piecesBetween(unit.x, unit.y, x, y, board);
        return there ? screens == 1 : screens == 0;
    }
    case PieceKind::Zu: {
        const int forward = unit.side == BoardSide::Top ? -1 : 1;
        if (dx == 0 && dy == forward) return true;
        const bool crossed = unit.side == BoardSide::Top ? unit.y < 5 : unit.y >= 5;
        return crossed && dy == 0 && adx == 1;
    }
    }
    return false;
}

std::vector<CoTuongRules::Square> CoTuongRules::moveTargets(const RuleUnit& unit, const SquareLookup& board) {
    std::vector<Square> targets;
    for (int x = 0; x < kColumns; ++x)
        for (int y = 0; y < kRows; ++y)
            if (isMoveAllowed(unit, x, y, board)) targets.push_back({x, y});
    return targets;
}

} // namespace kavo
