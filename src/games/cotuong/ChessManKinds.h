#pragma once

#include "games/cotuong/ChessMan.h"

namespace kavo {

// The seven kinds. Each is a piece whose rule is its kind's (CoTuongRules); the
// soldier also tells the row step of its forward move.
class Jiang : public Piece {
public:
    explicit Jiang(const std::shared_ptr<Team>& team) : Piece(PieceKind::Jiang, team) {}
};
class Shi : public Piece {
public:
    explicit Shi(const std::shared_ptr<Team>& team) : Piece(PieceKind::Shi, team) {}
};
class Xiang : public Piece {
public:
    explicit Xiang(const std::shared_ptr<Team>& team) : Piece(PieceKind::Xiang, team) {}
};
class Ma : public Piece {
public:
    explicit Ma(const std::shared_ptr<Team>& team) : Piece(PieceKind::Ma, team) {}
};
class Ju : public Piece {
public:
    explicit Ju(const std::shared_ptr<Team>& team) : Piece(PieceKind::Ju, team) {}
};
class Pao : public Piece {
public:
    explicit Pao(const std::shared_ptr<Team>& team) : Piece(PieceKind::Pao, team) {}
};
class Zu : public Piece {
public:
    explicit Zu(const std::shared_ptr<Team>& team) : Piece(PieceKind::Zu, team) {}
    // -1 for the top side, +1 for the bottom side.
    int direction() const { return side() == BoardSide::Top ? -1 : 1; }
};

} // namespace kavo
