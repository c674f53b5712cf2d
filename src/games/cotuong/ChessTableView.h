#pragma once

#include "platform/ui/ImageView.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class CCBoard;
class ChessPlayer;

// What the board and its pieces read of the table screen that owns them: whose turn
// it is, which names play red and black and which of them sits at the bottom, the
// table's ids for the move request, and the two last-move marks. The Chinese chess
// screen answers it; the hidden-piece screen answers it too, with its own request.
class ChessTableView {
public:
    virtual ~ChessTableView() = default;

    // IDDB of the player to move; -1 when no game runs.
    virtual int32_t turn() const = 0;
    // The team names, lower case.
    virtual const std::string& red() const = 0;
    virtual const std::string& black() const = 0;
    // True when the red team plays from the bottom rows.
    virtual bool isBottomRed() const = 0;
    // The mark on the last moved piece and the one on the square it came from.
    virtual std::shared_ptr<platform::ui::ImageView> imgBorderPiece() const = 0;
    virtual std::shared_ptr<platform::ui::ImageView> imgStillMovedPiece() const = 0;
    // Sends the player's move through the game's own service (unchecked).
    virtual void sendMove(int xs, int ys, int xd, int yd) = 0;
};

} // namespace kavo
