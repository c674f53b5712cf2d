#pragma once

#include "games/cotuong/ChessMan.h"

namespace kavo {

// A piece of the hidden-piece table. Face down it shows the back of its colour
// ("icon_coup_red" or "icon_coup_black") and moves as its kind, the advisor kept to
// its palace and the elephant to its half; face up it shows its kind and those two
// limits are lifted. The generals stand face up from the start.
class CoUpChessMan : public Piece {
public:
    CoUpChessMan(PieceKind kind, const std::shared_ptr<Team>& team, bool faceDown);

    bool isFaceDown() const { return faceDown_; }
    bool isConfined() const override { return faceDown_; }

    // A face-up piece of a wire type code (1-7) on the square; nullptr for any other code.
    static std::shared_ptr<CoUpChessMan> faceUp(int typeCode, int x, int y, const std::shared_ptr<Team>& team);
    // A face-down piece (codes 2-7) or a face-up general (code 1); nullptr for any other.
    static std::shared_ptr<CoUpChessMan> hidden(int typeCode, int x, int y, const std::shared_ptr<Team>& team);

    static constexpr const char* kRedBack = "icon_coup_red.png";
    static constexpr const char* kBlackBack = "icon_coup_black.png";

private:
    bool faceDown_;
};

} // namespace kavo
