#pragma once

#include <cstdint>
#include <memory>

namespace kavo {

class Piece;

// One piece of a table snapshot: its square, its type code (1-7) and a flag only the
// hidden-piece table reads.
struct PieceServer {
    int8_t posX = 0;
    int8_t posY = 0;
    int8_t pieceType = 0;
    int8_t isMove = 0;
};

// One step of an undo: the piece on the source square goes to the destination; when
// eatPieceType is not -1 a piece of that type of the other side comes back on the
// source square. The two piece references are for the screens; no message fills them.
struct PieceUndo {
    int8_t xSource = 0;
    int8_t ySource = 0;
    int8_t xDest = 0;
    int8_t yDest = 0;
    int8_t eatPieceType = -1;
    std::shared_ptr<Piece> undoPiece;
    std::shared_ptr<Piece> eatPiece;
};

// One kind of captured piece and how many were taken (hidden-piece table).
struct EatPiece {
    int8_t pieceType = 0;
    int8_t pieceNumber = 0;
};

} // namespace kavo
