#include "games/cotuong/Team.h"

#include "games/cotuong/CCBoard.h"
#include "games/cotuong/ChessMan.h"

#include <algorithm>
#include <atomic>

namespace kavo {

namespace {
std::atomic<int> nextTeamId{1};
} // namespace

Team::Team(CCBoard* board, std::string name) : board_(board), name_(std::move(name)), id_(nextTeamId++) {}

std::shared_ptr<Team> Team::make(CCBoard* board, std::string name) {
    return std::make_shared<Team>(board, std::move(name));
}

void Team::addPiece(const std::shared_ptr<Piece>& piece) {
    if (!piece) return;
    piece->setAlpha(0);
    if (board_) board_->addPiece(piece);
    platform::ui::View::animate(0.3, [piece] { piece->setAlpha(1); });
    pieces_.push_back(piece);
}

void Team::addPieceAudibly(const std::shared_ptr<Piece>& piece) {
    if (piece) pieces_.push_back(piece);
}

void Team::removePiece(const Piece* piece) {
    std::erase_if(pieces_, [piece](const auto& p) { return p.get() == piece; });
}

void Team::removePieceAudibly(const Piece* piece) {
    auto it = std::find_if(pieces_.begin(), pieces_.end(), [piece](const auto& p) { return p.get() == piece; });
    if (it == pieces_.end()) return;
    auto keep = *it;
    keep->removeFromBoard();
    pieces_.erase(it);
}

std::shared_ptr<Piece> Team::unitAt(int x, int y) const {
    for (const auto& piece : pieces_)
        if (piece->x() == x && piece->y() == y) return piece;
    return nullptr;
}

} // namespace kavo
