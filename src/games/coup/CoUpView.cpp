// The hidden-piece table: what differs from the Chinese chess table it extends.
#include "games/coup/CoUpView.h"

#include "app/EscapeTarget.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/Team.h"
#include "games/coup/CoUpChessMan.h"
#include "games/coup/CoUpMessageHandler.h"
#include "games/coup/CoUpService.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Font.h"
#include "platform/ui/GestureRecognizer.h"
#include "table/base/ChessPlayer.h"
#include "table/base/PlaySound.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

ui::Rect at(ui::Rect phone) {
    return Util::isPad() ? Util::changeRectFromRect(phone) : phone;
}

// The panel of the captured pieces lies over the board; its icons, 40 points square,
// stand five to a row, 50 points apart.
const ui::Rect kPanel{158, 80, 260, 155};
const ui::Rect kViewPlayer{424, 60, 54, 58};
constexpr int kIconsPerRow = 5;
constexpr double kIconStep = 50;
constexpr double kIconMargin = 5;
constexpr double kIconSide = 40;
constexpr double kFade = 0.3;
// The face-down piece gives way to the revealed one when its slide ends.
constexpr double kRevealDelay = 0.3;

} // namespace

CoUpView::CoUpView() : CoTuongView(CoUpMessageHandler::kGameType, "CoUpView", "KAVO_coUp") {}

CoTuongService& CoUpView::service() const {
    return CoUpService::getInstance();
}

// ---------------------------------------------------------------- pieces

std::shared_ptr<CoUpChessMan> CoUpView::getPieceWithId(int type, int x, int y,
                                                       const std::shared_ptr<Team>& team) const {
    return CoUpChessMan::faceUp(type, x, y, team);
}

std::shared_ptr<CoUpChessMan> CoUpView::getPieceCoUpWithId(int type, int x, int y,
                                                           const std::shared_ptr<Team>& team) const {
    return CoUpChessMan::hidden(type, x, y, team);
}

std::shared_ptr<Piece> CoUpView::makeStartPiece(int type, int x, int y, const std::shared_ptr<Team>& team) {
    // Every piece but the generals starts face down and moves as the kind of its square.
    return getPieceCoUpWithId(type, x, y, team);
}

std::shared_ptr<Piece> CoUpView::makeSnapshotPiece(const PieceServer& record, const std::shared_ptr<Team>& team) {
    if (record.isMove == 1) return getPieceWithId(record.pieceType, record.posX, record.posY, team);
    return getPieceCoUpWithId(record.pieceType, record.posX, record.posY, team);
}

void CoUpView::moveWithWhoMove(int32_t /*whoMove*/, int xs, int ys, int xd, int yd, int32_t nextMove,
                               int32_t /*remainTime*/, int8_t newPieceType) {
    auto moved = applyReportedMove(xs, ys, xd, yd, nextMove);
    if (!moved) return;
    auto team = moved->team();
    auto revealed = team ? getPieceWithId(newPieceType, moved->x(), moved->y(), team) : nullptr;
    if (!revealed) return;
    // The swap belongs to this laying-out of the pieces: a new game, a snapshot or
    // leaving the table ends it, so it never adds a piece to a rebuilt board.
    board()->afterDelay(kRevealDelay, [moved, revealed, team](CCBoard& board) {
        board.removePiece(moved);
        team->addPiece(revealed);
    });
}

// ---------------------------------------------------------------- seats

int CoUpView::seatOfNewcomer(size_t index) const {
    // A viewer sees the first record at the bottom.
    if (!isSeated() && index == 0) return 0;
    return 2;
}

void CoUpView::playerLeaveWithId(int32_t id) {
    if (isSeated()) {
        CoTuongView::playerLeaveWithId(id);
        return;
    }
    PlaySound::playSoundWithSource(Resources::getInstance().soundId(GameSound::PlayerLeaveBoard));
    setViewingButton(1);
    bool firstLeft = false;
    auto& players = mutablePlayers();
    for (size_t i = 0; i < players.size(); ++i) {
        if (players[i]->IDDB() != id) continue;
        players[i]->setIDDB(-1);
        players[i]->setIsFriend(0);
        firstLeft = firstLeft || i == 0;
    }
    syncBasePlayers();
    // The leaver's seat empties: the bottom one when the first record left.
    unsetSeatInfoWithSeat(firstLeft ? 0 : 2);
    resetView(true);
    setInvatingOnChair();
}

void CoUpView::closeBoardWithInfo(const std::optional<std::string>& info) {
    CoTuongView::closeBoardWithInfo(info);
    if (!viewCoAn_) return;
    viewCoAn_->setHidden(true);
    view()->bringSubviewToFront(viewCoAn_.get());
}

// ---------------------------------------------------------------- the captured pieces

void CoUpView::viewDidLoad() {
    CoTuongView::viewDidLoad();
    buildEatenPanel();
}

void CoUpView::buildEatenPanel() {
    auto& root = *view();
    // Escape puts the open panel away as a tap on it does.
    viewCoAn_ = closingView<ui::View>(at(kPanel), "viewCoAn", [this] { return closeViewCoAn(); });
    bgViewCoAn_ = ui::ImageView::make(ui::Rect{0, 0, viewCoAn_->frame().width(), viewCoAn_->frame().height()});
    bgViewCoAn_->setAccessibilityIdentifier("bgViewCoAn");
    bgViewCoAn_->setImage(Util::getImageWithName("coup_bg_coan.png"));
    bgViewCoAn_->setUserInteractionEnabled(true);
    // The control that opens the panel never closes it (its hidden button keeps the
    // state "closed"), and the panel lies over the board: a tap on it puts it away.
    bgViewCoAn_->addGestureRecognizer(
        ui::TapGestureRecognizer::make(1, [this](ui::TapGestureRecognizer&) { closeViewCoAn(); }));
    viewCoAn_->addSubview(bgViewCoAn_);
    viewCoAn_->setAlpha(0);
    viewCoAn_->setHidden(true);
    root.addSubview(viewCoAn_);

    // The panel opens through the control beside the action panels; the button of its
    // own stays hidden and only keeps the panel's state.
    btnXemCoAn_ = ui::Button::make(at({424, 250, 54, 20}));
    btnXemCoAn_->setAccessibilityIdentifier("btnXemCoAn");
    btnXemCoAn_->setTitle(text("KAVO_eatPiece"));
    btnXemCoAn_->setTag(0);
    btnXemCoAn_->setHidden(true);
    btnXemCoAn_->onTouchUpInside([this] { clickViewCoAn(); });
    root.addSubview(btnXemCoAn_);

    btnViewPlayer_ = ui::Button::make(at(kViewPlayer));
    btnViewPlayer_->setAccessibilityIdentifier("clickViewPlayer");
    btnViewPlayer_->setTitle(text("KAVO_eatPiece"));
    btnViewPlayer_->setTitleColor(ui::Color::white());
    btnViewPlayer_->titleLabel()->setFont(ui::Font::boldSystem(9 * Util::iPad()));
    btnViewPlayer_->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    btnViewPlayer_->titleLabel()->setMinimumFontSize(7 * Util::iPad());
    // Beside the icon the button is narrow: a name of two words ("Captured pieces") takes two lines.
    btnViewPlayer_->titleLabel()->setNumberOfLines(2);
    btnViewPlayer_->titleLabel()->setLineBreakMode(ui::LineBreakMode::WordWrap);
    btnViewPlayer_->setImage(Util::getImageWithName("ct_icon_action.png"));
    btnViewPlayer_->onTouchUpInside([this] { clickViewPlayer(); });
    root.addSubview(btnViewPlayer_);
}

void CoUpView::clickViewCoAn() {
    clearViewCoAn();
    auto panel = viewCoAn_;
    auto background = bgViewCoAn_;
    if (btnXemCoAn_->tag() != 0) {
        btnXemCoAn_->setTag(0);
        Util::hideLoadingOnView(background);
        ui::View::animate(
            kFade, [panel] { panel->setAlpha(0); }, [panel](bool) { panel->setHidden(true); });
        return;
    }
    btnXemCoAn_->setTag(1);
    panel->setHidden(false);
    service().getEatPieceWithRoomId(roomID(), boardID());
    ui::View::animate(
        kFade, [panel] { panel->setAlpha(1); }, [background](bool) { Util::showLoadingOnView(background); });
}

void CoUpView::clickViewPlayer() {
    if (btnXemCoAn_->tag() != 0) {
        viewCoAn_->setHidden(true);
        return;
    }
    viewCoAn_->setAlpha(1);
    viewCoAn_->setHidden(false);
    view()->bringSubviewToFront(viewCoAn_.get());
    service().getEatPieceWithRoomId(roomID(), boardID());
}

bool CoUpView::closeViewCoAn() {
    if (viewCoAn_->isHidden()) return false;
    viewCoAn_->setHidden(true);
    return true;
}

void CoUpView::clearViewCoAn() {
    if (!bgViewCoAn_) return;
    std::vector<ui::ViewPtr> icons;
    for (const auto& subview : bgViewCoAn_->subviews())
        if (subview->tag() == kIconTag) icons.push_back(subview);
    for (const auto& icon : icons)
        icon->removeFromSuperview();
}

void CoUpView::getListEatPiece(const std::vector<EatPiece>& list) {
    if (!bgViewCoAn_) return;
    // A new list replaces the icons shown before.
    clearViewCoAn();
    int column = 0;
    int row = 0;
    for (const EatPiece& record : list) {
        for (int n = 0; n < record.pieceNumber; ++n) {
            auto picture = getPieceWithType(record.pieceType);
            if (!picture) continue;
            ui::Rect frame{column * kIconStep + kIconMargin, row * kIconStep + kIconMargin, kIconSide, kIconSide};
            if (Util::isPad()) frame = Util::convertRectFromrect(frame);
            auto icon = ui::ImageView::make(frame);
            icon->setImage(picture);
            icon->setTag(kIconTag);
            icon->setAccessibilityIdentifier("eatPiece_" + std::to_string(record.pieceType));
            bgViewCoAn_->addSubview(icon);
            if (++column == kIconsPerRow) {
                column = 0;
                ++row;
            }
        }
    }
    Util::hideLoadingOnView(bgViewCoAn_);
}

ui::ImagePtr CoUpView::getPieceWithType(int type) const {
    if (!isPieceKind(type)) return nullptr;
    const std::string me = platform::toLower(UIController::myInfo()->name());
    if (me.empty()) return nullptr;
    const auto kind = PieceKind(type);
    if (me == black()) return Util::getImageWithName(std::string(Piece::blackImageName(kind)) + ".png");
    if (me == red()) return Util::getImageWithName(std::string(Piece::redImageName(kind)) + ".png");
    return nullptr;
}

} // namespace kavo
