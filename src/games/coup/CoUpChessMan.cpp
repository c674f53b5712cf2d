#include "games/coup/CoUpChessMan.h"

#include "app/Util.h"

namespace kavo {

CoUpChessMan::CoUpChessMan(PieceKind kind, const std::shared_ptr<Team>& team, bool faceDown)
    : Piece(kind, team), faceDown_(faceDown) {
    // The face's name tells the colour the table gave the team.
    if (faceDown_) setImage(Util::getImageWithName(name() == blackImageName(kind) ? kBlackBack : kRedBack));
}

std::shared_ptr<CoUpChessMan> CoUpChessMan::faceUp(int typeCode, int x, int y, const std::shared_ptr<Team>& team) {
    if (!isPieceKind(typeCode)) return nullptr;
    auto piece = std::make_shared<CoUpChessMan>(PieceKind(typeCode), team, false);
    piece->forceMoveTo(x, y);
    return piece;
}

std::shared_ptr<CoUpChessMan> CoUpChessMan::hidden(int typeCode, int x, int y, const std::shared_ptr<Team>& team) {
    if (!isPieceKind(typeCode)) return nullptr;
    const auto kind = PieceKind(typeCode);
    auto piece = std::make_shared<CoUpChessMan>(kind, team, kind != PieceKind::Jiang);
    piece->forceMoveTo(x, y);
    return piece;
}

} // namespace kavo
