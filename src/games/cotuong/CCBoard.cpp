#include "games/cotuong/CCBoard.h"

#include "app/UIController.h"
#include "app/Util.h"
#include "games/cotuong/ChessMan.h"
#include "games/cotuong/ChessTableView.h"
#include "games/cotuong/Team.h"
#include "platform/foundation/Text.h"
#include "table/base/PlaySound.h"

#include <cmath>

namespace kavo {

namespace ui = platform::ui;

namespace {

// Targets of the delayed sounds.
void playSoundEat() {
    PlaySound::playSoundEat();
}
void playSoundMove() {
    PlaySound::playSoundMove();
}
void playSoundChieuTuog() {
    PlaySound::playSoundChieuTuog();
}

} // namespace

CCBoard::CCBoard(ui::Rect frame) : ui::ImageView(frame) {
    imgMove_ = Util::getImageWithName("ct_nuocdi.png");
    imgEat_ = Util::getImageWithName("ct_effect_an_co.png");
    setUserInteractionEnabled(true);
}

std::shared_ptr<CCBoard> CCBoard::make(ui::Rect frame) {
    return std::make_shared<CCBoard>(frame);
}

ui::Point CCBoard::convertPointToBoard(ui::Point point) {
    if (Util::isPad()) return {std::floor((point.x - 44) / 61 + 0.5), std::floor((point.y - 75) / 62 + 0.5)};
    return {std::floor((point.x - 15) / 29 + 0.5), std::floor((point.y - 15) / 29 + 0.5)};
}

bool CCBoard::rectContainsPoint(const ui::Rect& rect, ui::Point point) {
    return rect.x() <= point.x && point.x <= rect.x() + rect.width() && rect.y() <= point.y &&
           point.y <= rect.y() + rect.height();
}

std::shared_ptr<Piece> CCBoard::getUnitAtPoint(int x, int y) const {
    if (team_1_)
        if (auto piece = team_1_->unitAt(x, y)) return piece;
    return team_2_ ? team_2_->unitAt(x, y) : nullptr;
}

std::optional<int> CCBoard::teamAt(int x, int y) const {
    auto piece = getUnitAtPoint(x, y);
    if (!piece) return std::nullopt;
    auto team = piece->team();
    return team ? team->id() : 0;
}

std::vector<std::shared_ptr<Piece>> CCBoard::getAllPieces() const {
    std::vector<std::shared_ptr<Piece>> all;
    if (team_1_) all = team_1_->pieces();
    if (team_2_) all.insert(all.end(), team_2_->pieces().begin(), team_2_->pieces().end());
    return all;
}

std::shared_ptr<Piece> CCBoard::getPieceWillMove(int x, int y) const {
    const ui::Point point = Piece::convertPoint(x, y);
    for (const auto& piece : getAllPieces())
        if (rectContainsPoint(piece->frame(), point)) return piece;
    return nullptr;
}

void CCBoard::addPiece(const std::shared_ptr<Piece>& piece) {
    addSubview(piece);
    piece->setCenter(piece->location());
}

void CCBoard::removePiece(const std::shared_ptr<Piece>& piece) {
    if (auto team = piece->team()) team->removePieceAudibly(piece.get());
}

void CCBoard::afterDelay(double seconds, std::function<void(CCBoard&)> step) {
    std::weak_ptr<ui::View> weak = weak_from_this();
    const uint64_t laidOut = generation_;
    platform::performAfterDelay(seconds, [weak, laidOut, step = std::move(step)] {
        auto board = std::static_pointer_cast<CCBoard>(weak.lock());
        if (board && board->generation_ == laidOut) step(*board);
    });
}

std::shared_ptr<Piece> CCBoard::movePiecefromPoint(int xs, int ys, int xd, int yd) {
    if (!CoTuongRules::onBoard(xs, ys) || !CoTuongRules::onBoard(xd, yd)) return nullptr;
    auto piece = getPieceWillMove(xs, ys);
    if (!piece) return nullptr;
    bringSubviewToFront(piece.get());
    if (table_) {
        if (auto border = table_->imgBorderPiece()) border->setHidden(true);
        if (auto still = table_->imgStillMovedPiece()) {
            still->setCenter(piece->center());
            still->setHidden(false);
            bringSubviewToFront(still.get());
            bringSubviewToFront(piece.get());
        }
    }
    auto captured = piece->moveTo(xd, yd);
    const bool gameOn = !table_ || table_->turn() != -1;
    if (captured) {
        afterDelay(0.3, [captured, gameOn](CCBoard& board) {
            board.removePiece(captured);
            if (gameOn) playSoundEat();
        });
    } else {
        afterDelay(0.3, [](CCBoard&) { playSoundMove(); });
    }
    if (gameOn && piece->detectEatJiang()) afterDelay(0.4, [](CCBoard&) { playSoundChieuTuog(); });
    afterDelay(0.3, [piece](CCBoard& board) { board.moveBorderPiece(piece); });
    return piece;
}

void CCBoard::moveBorderPiece(const std::shared_ptr<Piece>& piece) {
    if (!table_ || !piece) return;
    auto border = table_->imgBorderPiece();
    if (!border) return;
    border->setCenter(piece->center());
    border->setHidden(false);
    bringSubviewToFront(border.get());
    bringSubviewToFront(piece.get());
}

void CCBoard::moveUndoPieceWithPiece(const PieceUndo& undo) {
    if (!CoTuongRules::onBoard(undo.xSource, undo.ySource) || !CoTuongRules::onBoard(undo.xDest, undo.yDest)) return;
    auto piece = getPieceWillMove(undo.xSource, undo.ySource);
    if (!piece) return;
    bringSubviewToFront(piece.get());
    piece->layer().setBorderColor(ui::Color::white());
    piece->layer().setBorderWidth(2);
    piece->layer().setCornerRadius(piece->bounds().width() / 2);
    piece->moveTo(undo.xDest, undo.yDest);
    afterDelay(0.3, [](CCBoard&) { playSoundMove(); });
    const int8_t eaten = undo.eatPieceType;
    const int x = undo.xSource;
    const int y = undo.ySource;
    afterDelay(0.3, [piece, eaten, x, y](CCBoard& board) {
        if (eaten == -1 || !board.team_1_ || !board.team_2_) return;
        auto mover = piece->team();
        auto side = mover && mover->name() == board.team_1_->name() ? board.team_2_ : board.team_1_;
        if (auto back = makePiece(eaten, x, y, side)) side->addPiece(back);
    });
}

void CCBoard::removeMarks() {
    std::vector<ui::ViewPtr> marks;
    for (const auto& view : subviews())
        if (view->tag() == kMarkTag) marks.push_back(view);
    for (const auto& mark : marks)
        mark->removeFromSuperview();
}

void CCBoard::clearBoard() {
    ++generation_;
    removeAllSubviews();
    team_1_.reset();
    team_2_.reset();
    selectedPiece_.reset();
    isPieceSelected_ = false;
}

void CCBoard::deselect() {
    if (selectedPiece_) selectedPiece_->deselected();
    selectedPiece_.reset();
    isPieceSelected_ = false;
}

void CCBoard::touchesEnded(const std::vector<ui::Touch>& touches) {
    if (touches.empty()) return;
    tapAt(touches.front().locationInView(this));
}

void CCBoard::tapAt(ui::Point point) {
    if (!table_) return;
    const auto me = UIController::myInfo();
    if (table_->turn() != me->IDDB()) return;
    const double margin = Util::isPad() ? 30 : 15;
    if (point.x + margin < Piece::convertPoint(0, 0).x || point.x - margin > Piece::convertPoint(8, 0).x) return;
    const ui::Point grid = convertToBoard(point);
    const int column = int(grid.x);
    const int row = 9 - int(grid.y);
    // The rows are not bounded by the margin: a tap above or below the board is no square.
    if (row < 0 || row > 9) return;

    removeMarks();
    std::shared_ptr<Piece> touched;
    for (const auto& piece : getAllPieces()) {
        if (rectContainsPoint(piece->frame(), point)) {
            touched = piece;
            break;
        }
    }
    const std::string myTeam = platform::toLower(me->name());
    const bool mine = touched && touched->team() && touched->team()->name() == myTeam;
    if (mine) deselect();

    const ui::Point square{double(column), double(row)};
    if (isPieceSelected_) {
        isPieceSelected_ = false;
        if (selectedPiece_) selectedPiece_->deselected();
        table_->sendMove(int(sqSelected_.x), int(sqSelected_.y), column, row);
        selectedPiece_.reset();
        return;
    }
    if (!touched) return;
    sqSelected_ = square;
    selectedPiece_ = touched;
    if (!mine) return;
    bringSubviewToFront(touched.get());
    touched->selected();
    isPieceSelected_ = true;
    PlaySound::playSoundClick();
    touched->setHighlighted(true);
    std::weak_ptr<ui::View> weakPiece = touched;
    const uint64_t laidOut = generation_;
    std::weak_ptr<ui::View> weakBoard = weak_from_this();
    platform::runOnMainThread([weakPiece, weakBoard, laidOut] {
        auto piece = std::static_pointer_cast<Piece>(weakPiece.lock());
        auto board = std::static_pointer_cast<CCBoard>(weakBoard.lock());
        if (piece && board && board->generation() == laidOut) piece->detectMoveable();
    });
}

} // namespace kavo
