// The Chinese chess table's seats and game flow: joins, seat events, start and
// ready, the pieces' set-up, moves, undo, draw and resignation, snapshots and the
// end of a game.
#include "games/cotuong/CoTuongView.h"

#include "account/SettingsView.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/ColoredProgressView.h"
#include "app/widgets/SubSeatView.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/ChessMan.h"
#include "games/cotuong/CoTuongMessageHandler.h"
#include "games/cotuong/CoTuongService.h"
#include "games/cotuong/Team.h"
#include "platform/foundation/Text.h"
#include "portal/GlobalService.h"
#include "table/base/ChessPlayer.h"
#include "table/base/PlaySound.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

void play(GameSound sound) {
    PlaySound::playSoundWithSource(Resources::getInstance().soundId(sound));
}

// Titles of the start button by start kind; kinds 4 and up are handled apart.
constexpr const char* kStartTitles[] = {"KAVO_start", "KAVO_ready", "KAVO_cancel", "KAVO_continuee"};
// Where the stake's chip stands while a game's pieces are on the board (phone points).
constexpr platform::ui::Point kBetBesideTheBoard{60, 135};

struct StartSquare {
    int type;
    int x;
    int y;
};

// A side's pieces at the start, in laying-out order, rows counted from its own edge.
constexpr StartSquare kLayout[] = {
    {1, 4, 0}, {2, 3, 0}, {2, 5, 0}, {3, 2, 0}, {3, 6, 0}, {4, 1, 0}, {4, 7, 0}, {5, 0, 0},
    {5, 8, 0}, {6, 1, 2}, {6, 7, 2}, {7, 0, 3}, {7, 2, 3}, {7, 4, 3}, {7, 6, 3}, {7, 8, 3},
};

} // namespace

CoTuongView::CoTuongView() : CoTuongView(CoTuongMessageHandler::kGameType, "CoTuongView", "KAVO_coTuong") {}

CoTuongView::CoTuongView(int8_t gameType, const char* nibName, const char* titleKey)
    : GameTableView(gameType, nibName, titleKey) {}

CoTuongView::~CoTuongView() {
    if (board_) {
        board_->clearBoard();
        board_->setTable(nullptr);
    }
    if (cpiSeat0_) cpiSeat0_->stop();
    if (cpiSeat2_) cpiSeat2_->stop();
}

bool CoTuongView::isMe(int32_t id) const {
    return id == UIController::myInfo()->IDDB();
}

std::shared_ptr<ChessPlayer> CoTuongView::getPlayerWithID(int32_t id) const {
    for (const auto& player : players_)
        if (player->IDDB() == id) return player;
    return nullptr;
}

std::string CoTuongView::getPlayerNameFromID(int32_t id) const {
    auto player = getPlayerWithID(id);
    return player ? player->name() : std::string();
}

std::string CoTuongView::nameOf(int32_t id) const {
    return platform::toLower(getPlayerNameFromID(id));
}

std::shared_ptr<ChessPlayer> CoTuongView::bottomPlayer() const {
    if (isSeated()) {
        auto me = getPlayerWithID(UIController::myInfo()->IDDB());
        if (me) return me;
    }
    return players_.empty() ? nullptr : players_.front();
}

void CoTuongView::syncBasePlayers() {
    GameTableView::setupPlayersWithRoom(roomId(), boardId(), ownerId(), money(),
                                        std::vector<std::shared_ptr<Player>>(players_.begin(), players_.end()));
}

CoTuongService& CoTuongView::service() const {
    return CoTuongService::getInstance();
}

std::shared_ptr<Piece> CoTuongView::makeStartPiece(int type, int x, int y, const std::shared_ptr<Team>& team) {
    return makePiece(type, x, y, team);
}

std::shared_ptr<Piece> CoTuongView::makeSnapshotPiece(const PieceServer& record, const std::shared_ptr<Team>& team) {
    return makePiece(record.pieceType, record.posX, record.posY, team);
}

void CoTuongView::sendMove(int xs, int ys, int xd, int yd) {
    service().moveWithRoomId(roomID(), boardID(), xs, ys, xd, yd);
}

// ---------------------------------------------------------------- seats

void CoTuongView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                       const std::vector<std::shared_ptr<Player>>& players) {
    ChessPlayerList chess;
    for (const auto& player : players) {
        if (!player) continue;
        auto record = std::dynamic_pointer_cast<ChessPlayer>(player);
        if (!record) {
            // A plain player record gets a time quota of 0.
            record = std::make_shared<ChessPlayer>();
            static_cast<Player&>(*record) = *player;
        }
        chess.push_back(record);
    }
    setPlayersWithRoomId(roomId, boardId, ownerId, money, chess);
}

void CoTuongView::setPlayersWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                       const ChessPlayerList& players) {
    view();
    play(GameSound::PlayerJoinBoard);
    indexOfMe_ = -1;
    setRoomID(roomId);
    setBoardID(boardId);
    players_.clear();
    for (const auto& player : players)
        if (player) players_.push_back(player);
    GameTableView::setOwnerId(ownerId);
    syncBasePlayers();
    setIsInBoard(false);
    setIsPlaying(false);
    setOwnerWithNewOwner(ownerId);
    setMoney(money);
    lblQuotaTime0_->setHidden(true);
    lblQuotaTime2_->setHidden(true);

    for (size_t i = 0; i < players_.size(); ++i) {
        if (isMe(players_[i]->IDDB())) indexOfMe_ = int32_t(i);
    }
    if (isSeated()) {
        for (const auto& player : players_) {
            if (isMe(player->IDDB()))
                setSeatInfoWithSeat(0, player);
            else if (player->IDDB() != -1)
                setSeatInfoWithSeat(2, player);
            else
                unsetSeatInfoWithSeat(2);
        }
        btnViewing_->setHidden(true);
    } else {
        // A viewer sees the first record at the bottom and the second at the top.
        for (int i = 0; i < 2; ++i) {
            const int seat = i == 0 ? 0 : 2;
            if (size_t(i) < players_.size() && players_[i]->IDDB() != -1)
                setSeatInfoWithSeat(seat, players_[i]);
            else
                unsetSeatInfoWithSeat(seat);
        }
        btnViewing_->setHidden(false);
        btnViewing_->setTitle(text("KAVO_viewing"));
    }
    resetView(false);
    setInvatingOnChair();
}

void CoTuongView::setAtSeat(int seat, const std::shared_ptr<ChessPlayer>& player) {
    if (!player) return;
    // A seat outside the places of this table is not drawn.
    if (seat < 0 || size_t(seat) >= players_.size()) return;
    player->setIsFriend(Resources::getInstance().playerIsFriend(player->IDDB()) ? 1 : 0);
    players_[size_t(seat)] = player;
    syncBasePlayers();
    setSeatInfoWithSeat(seatOfNewcomer(size_t(seat)), player);
    setInvatingOnChair();
    if (!isSeated()) {
        int present = 0;
        for (const auto& record : players_)
            present += record->IDDB() != -1 ? 1 : 0;
        setViewingButton(present >= 2 ? 0 : 1);
    }
}

void CoTuongView::playerLeaveWithId(int32_t id) {
    play(GameSound::PlayerLeaveBoard);
    if (!isSeated()) setViewingButton(1);
    for (const auto& player : players_) {
        if (player->IDDB() == id) {
            player->setIDDB(-1);
            player->setIsFriend(0);
        } else if (!isSeated() && player->IDDB() != -1) {
            setSeatInfoWithSeat(0, player);
        }
    }
    if (isSeated())
        if (auto me = getPlayerWithID(UIController::myInfo()->IDDB())) setSeatInfoWithSeat(0, me);
    syncBasePlayers();
    unsetSeatInfoWithSeat(2);
    resetView(true);
    setInvatingOnChair();
}

void CoTuongView::setOwnerWithNewOwner(int32_t id) {
    GameTableView::setOwnerId(id);
    for (const auto& player : players_) {
        if (player->IDDB() == id) {
            player->setIsReady(1);
            break;
        }
    }
    // Only the owner may change the stake and the password from the settings.
    const auto& settings = SettingsView::getInstance();
    settings->setIsSetMoney(isMe(id));
    settings->setIsSetPass(isMe(id));
}

void CoTuongView::setReadyWithId(int32_t id, bool isReady) {
    Util::callRung();
    play(isReady ? GameSound::Ready : GameSound::NoReady);
    auto player = getPlayerWithID(id);
    if (!player) return;
    player->setIsReady(isReady ? 1 : 0);
    if (!isMe(id)) {
        setSeatInfoWithSeat(2, player);
        return;
    }
    UIController::myInfo()->setIsReady(isReady ? 1 : 0);
    setSeatInfoWithSeat(0, player);
    setKindOfStart(isReady ? 2 : 1);
}

void CoTuongView::resetReady() {
    for (const auto& player : players_) {
        player->setIsReady(0);
        if (isMe(player->IDDB()))
            setSeatInfoWithSeat(0, player);
        else if (player->IDDB() != -1)
            setSeatInfoWithSeat(2, player);
    }
}

void CoTuongView::setMoney(int32_t stake) {
    GameTableView::setMoney(stake);
    // Before the screen is shown only the stake is kept; the join draws it.
    if (!isViewLoaded()) return;
    Util::callRung();
    play(GameSound::DatTien);
    btnCuoc_->setTitle(Util::formatNumber(stake) + " " + text("KAVO_zel"));
    for (const auto& player : players_)
        player->setIsReady(0);
    if (!isMe(ownerID())) setKindOfStart(1);
}

void CoTuongView::switchToMe() {
    if (chatView()) chatView()->historyChat().clear();
}

// ---------------------------------------------------------------- start button

void CoTuongView::setKindOfStart(int kind) {
    if (!isSeated() || !btnStart_) return;
    if (kind >= 0 && kind <= 3) {
        kindOfStart_ = kind;
        btnStart_->setTitle(text(kStartTitles[kind]));
        btnStart_->titleLabel()->setText(text(kStartTitles[kind]));
    } else if (kind >= 5) {
        kindOfStart_ = kind;
        btnStart_->titleLabel()->setText(text("KAVO_pleaseWait"));
    }
}

void CoTuongView::clickStartGame() {
    if (!isSeated()) return;
    const std::string label = btnStart_->titleLabel()->text();
    if (label == text("KAVO_start")) {
        if (isMe(ownerID())) doStartGame();
    } else if (label == text("KAVO_ready")) {
        if (readyClearsBoard()) resetView(true);
        doReady();
    } else if (label == text("KAVO_cancel")) {
        doReady();
    } else if (label == text("KAVO_continuee")) {
        resetView(false);
    }
}

void CoTuongView::doStartGame() {
    for (const auto& player : players_) {
        if (player->IDDB() == -1 || (!isMe(player->IDDB()) && !player->isReady())) {
            UIController::showNotice(text("KAVO_cannotStart"));
            return;
        }
    }
    if (int64_t(dmoney()) <= UIController::myInfo()->money()) {
        GlobalService::getInstance().startGameWithRoomId(roomID(), boardID());
        setKindOfStart(5);
        moveBetButton(kBetBesideTheBoard);
    } else {
        UIController::showNotice(text("KAVO_youCantStartLessMoney"));
    }
}

void CoTuongView::doReady() {
    if (isInBoard()) {
        UIController::showNotice(text("KAVO_boardPlayingNoReady"));
        return;
    }
    if (indexOfMe_ < 0 || size_t(indexOfMe_) >= players_.size()) return;
    const auto& me = players_[size_t(indexOfMe_)];
    if (me->isReady()) {
        GlobalService::getInstance().readyWithRoomId(roomID(), boardID(), false);
    } else {
        if (UIController::myInfo()->money() < int64_t(dmoney())) {
            UIController::showNotice(text("KAVO_youCantReadyLessMoney"));
            return;
        }
        GlobalService::getInstance().readyWithRoomId(roomID(), boardID(), true);
    }
    setKindOfStart(5);
}

void CoTuongView::moveBetButton(ui::Point phonePoint) {
    if (!btnBet_) return;
    auto bet = btnBet_;
    const ui::Point target = Util::changePointFromPoint(phonePoint);
    ui::View::animate(
        0.5, [bet, target] { bet->setCenter(target); }, [bet](bool) { bet->setEnabled(false); });
}

void CoTuongView::moveBetOffTheBoard() {
    // The stake's chip waits in the middle of the empty board; with the pieces laid it would
    // lie on the river row, over a piece there: it goes beside the board, where the stake
    // panel stood.
    moveBetButton(kBetBesideTheBoard);
}

void CoTuongView::resetView(bool newGame) {
    bubbles_.dropWaiting();
    if (progressTimer_) progressTimer_->setHidden(true);
    if (viewCuoc_) viewCuoc_->setHidden(!isSeated());
    if (board_) board_->clearBoard();
    if (newGame) {
        if (imgIsFriend2_) imgIsFriend2_->setHidden(true);
        if (btnPresent2_) btnPresent2_->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    } else {
        setKindOfStart(isMe(ownerID()) ? 0 : 1);
        setTimerWithSeat(-1);
        if (btnPresent0_) btnPresent0_->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
        if (btnPresent2_) btnPresent2_->setImage(Util::getImageWithName(Player::kDefaultGiftImage));
    }
    moveBetButton({240, 160});
}

void CoTuongView::clickSetMoney() {
    if (!isMe(ownerID()) || isInBoard()) return;
    openSheet(betView());
}

// ---------------------------------------------------------------- a game

void CoTuongView::makeTeams(int32_t firstMover) {
    if (board_) board_->clearBoard();
    const double border = 36 * Util::iPad();
    const double still = 26 * Util::iPad();
    imgBorderPiece_ = ui::ImageView::make(ui::Rect{0, 0, border, border});
    imgStillMovedPiece_ = ui::ImageView::make(ui::Rect{0, 0, still, still});
    for (const auto& mark : {imgBorderPiece_, imgStillMovedPiece_}) {
        mark->setImage(Util::getImageWithName("ct_effect_chon_co.png"));
        mark->setHidden(true);
        mark->setUserInteractionEnabled(false);
        board_->addSubview(mark);
    }
    imgBorderPiece_->setAccessibilityIdentifier("imgBorderPiece");
    imgStillMovedPiece_->setAccessibilityIdentifier("imgStillMovedPiece");

    firstMove_ = nameOf(firstMover);
    black_ = firstMove_;
    red_.clear();
    for (const auto& player : players_) {
        if (player->IDDB() != firstMover) {
            red_ = platform::toLower(player->name());
            break;
        }
    }
    redTeam_ = Team::make(board_.get(), red_);
    blackTeam_ = Team::make(board_.get(), black_);
    board_->setTeam_1(redTeam_);
    board_->setTeam_2(blackTeam_);
}

void CoTuongView::pushPiecesOnBoardWithFirstMove(int32_t firstMover) {
    resetView(true);
    makeTeams(firstMover);
    currentTeam_ = firstMove_;
    isBottomRed_ = platform::toLower(UIController::myInfo()->name()) != black_;
    const auto& top = isBottomRed_ ? blackTeam_ : redTeam_;
    const auto& bottom = isBottomRed_ ? redTeam_ : blackTeam_;
    for (const auto* team : {&top, &bottom}) {
        const bool isTop = team == &top;
        for (const StartSquare& square : kLayout) {
            const int y = isTop ? 9 - square.y : square.y;
            if (auto piece = makeStartPiece(square.type, square.x, y, *team)) (*team)->addPiece(piece);
        }
    }
}

void CoTuongView::startWithMoveFirst(int32_t firstMover, int32_t interval) {
    Util::callRung();
    setIsInBoard(true);
    setIsPlaying(isSeated());
    turn_ = firstMover;
    interval_ = interval;
    isDrawing_ = false;
    isLosing_ = false;
    const auto bottom = bottomPlayer();
    std::string announcement = text("KAVO_firstFire");
    for (const auto& player : players_) {
        player->setIsReady(0);
        if (player->IDDB() == firstMover) announcement = player->name() + announcement;
        if (player == bottom)
            setSeatInfoWithSeat(0, player);
        else if (player->IDDB() != -1)
            setSeatInfoWithSeat(2, player);
    }
    pushPiecesOnBoardWithFirstMove(firstMover);
    // The clock starts after the set-up, whose reset stops both clocks.
    setTimerFor(firstMover);
    showChatWithSeat(2, announcement);
    lblQuotaTime0_->setHidden(false);
    lblQuotaTime2_->setHidden(false);
    setQuotaForPlayers();
    setShowAction(!isSeated());
    viewCuoc_->setHidden(true);
    moveBetOffTheBoard();
    for (const auto& button : {btnDraw_, btnLose_, btnUndo_})
        if (button) button->setEnabled(true);
}

void CoTuongView::setTimerFor(int32_t mover) {
    const auto bottom = bottomPlayer();
    setTimerWithSeat(bottom && bottom->IDDB() == mover ? 0 : 2);
}

void CoTuongView::setTimerWithSeat(int seat) {
    if (cpiSeat0_) cpiSeat0_->stop();
    if (cpiSeat2_) cpiSeat2_->stop();
    if (seat == 0 && cpiSeat0_) cpiSeat0_->startWithSeconds(float(interval_), float(interval_));
    if (seat == 2 && cpiSeat2_) cpiSeat2_->startWithSeconds(float(interval_), float(interval_));
}

void CoTuongView::setQuotaForPlayers() {
    for (const auto& player : players_) {
        if (player->IDDB() == -1) continue;
        const std::string quota = Util::convertIntToQuotaTime(player->quotaTime());
        if (isMe(player->IDDB()))
            lblQuotaTime0_->setText(quota);
        else
            lblQuotaTime2_->setText(quota);
    }
    if (!isSeated() && !players_.empty())
        lblQuotaTime0_->setText(Util::convertIntToQuotaTime(players_.front()->quotaTime()));
}

void CoTuongView::setShowAction(bool hidden) {
    for (const auto& panel : {viewDraw_, viewLose_, viewUndo_})
        if (panel) panel->setHidden(hidden);
}

void CoTuongView::cleanShahowAllPieces() {
    if (!board_) return;
    for (const auto& piece : board_->getAllPieces())
        piece->layer().setBorderWidth(0);
}

void CoTuongView::moveWithWhoMove(int32_t /*whoMove*/, int xs, int ys, int xd, int yd, int32_t nextMove,
                                  int32_t /*remainTime*/, int8_t /*newPieceType*/) {
    applyReportedMove(xs, ys, xd, yd, nextMove);
}

std::shared_ptr<Piece> CoTuongView::applyReportedMove(int xs, int ys, int xd, int yd, int32_t nextMove) {
    turn_ = nextMove;
    setQuotaForPlayers();
    setTimerFor(nextMove);
    cleanShahowAllPieces();
    auto moved = board_->movePiecefromPoint(xs, ys, xd, yd);
    currentTeam_ = nameOf(nextMove);
    return moved;
}

void CoTuongView::makeUndoWithNextUserId(int32_t nextUserId, const std::vector<PieceUndo>& undos) {
    turn_ = nextUserId;
    setTimerFor(nextUserId);
    board_->removeMarks();
    for (size_t i = 0; i < undos.size(); ++i) {
        cleanShahowAllPieces();
        const PieceUndo undo = undos[i];
        board_->afterDelay(double(i) * 0.5, [undo](CCBoard& board) { board.moveUndoPieceWithPiece(undo); });
    }
}

void CoTuongView::removeButton(int8_t which) {
    switch (which) {
    case 0:
        if (btnUndo_) btnUndo_->setEnabled(false);
        break;
    case 1:
        btnDraw_->setEnabled(false);
        break;
    case 2:
        btnLose_->setEnabled(false);
        break;
    default:
        break;
    }
}

void CoTuongView::clickUndo() {
    service().requestUndoWithRoomId(roomID(), boardID(), 0);
}

void CoTuongView::clickDraw() {
    if (!isMe(turn_)) {
        UIController::showNotice(text("KAVO_not_allow_click_draw"));
        return;
    }
    if (isDrawing_) return;
    isDrawing_ = true;
    service().requestDrawWithRoomId(roomID(), boardID());
}

void CoTuongView::clickLose() {
    if (isLosing_) return;
    UIController::startCancelOkDlg(text("KAVO_confirm_lose"), text("KAVO_cancel"), text("KAVO_OK"),
                                   {UIController::kActionResign});
}

void CoTuongView::getTableInfo(const CoTuongLogicHandler::TableInfo& info) {
    Util::callRung();
    setIsInBoard(true);
    setIsPlaying(isSeated());
    turn_ = info.currentUserId;
    isDrawing_ = false;
    isLosing_ = false;
    // Later moves of this game run the clock for the per-move limit; the remaining
    // time serves only the clock run under way.
    interval_ = info.limitStepTimer;

    resetView(true);
    makeTeams(info.firstUserId);
    currentTeam_ = nameOf(info.currentUserId);
    const bool ownerIsBlack = nameOf(info.ownerUserId) == black_;
    isBottomRed_ = !ownerIsBlack;
    const auto& ownerTeam = ownerIsBlack ? blackTeam_ : redTeam_;
    const auto& opponentTeam = ownerIsBlack ? redTeam_ : blackTeam_;
    for (const auto& record : info.listPiece)
        if (CoTuongRules::onBoard(record.posX, record.posY))
            if (auto piece = makeSnapshotPiece(record, ownerTeam)) ownerTeam->addPiece(piece);
    for (const auto& record : info.listPiece1)
        if (CoTuongRules::onBoard(record.posX, record.posY))
            if (auto piece = makeSnapshotPiece(record, opponentTeam)) opponentTeam->addPiece(piece);

    const bool firstIsToMove = !players_.empty() && players_.front()->IDDB() == info.currentUserId;
    setTimerWithSeat(firstIsToMove ? 0 : 2);
    if (firstIsToMove ? cpiSeat0_ : cpiSeat2_)
        (firstIsToMove ? cpiSeat0_ : cpiSeat2_)->startWithSeconds(float(interval_), float(info.stepRemainTimer));

    std::string announcement = text("KAVO_firstFire");
    for (const auto& player : players_) {
        player->setIsReady(0);
        if (player->IDDB() == info.firstUserId) announcement = player->name() + announcement;
        if (player->IDDB() == info.ownerUserId) player->setQuotaTime(info.gameRemainTime);
        if (player->IDDB() == info.opponentUserId) player->setQuotaTime(info.gameRemainTime1);
    }
    showChatWithSeat(2, announcement);
    lblQuotaTime0_->setHidden(false);
    lblQuotaTime2_->setHidden(false);
    setQuotaForPlayers();
    setShowAction(true);
    viewCuoc_->setHidden(true);
    moveBetOffTheBoard();
}

void CoTuongView::closeBoardWithInfo(const std::optional<std::string>& info) {
    setIsInBoard(false);
    setIsPlaying(false);
    isDrawing_ = false;
    isLosing_ = false;
    turn_ = -1;
    interval_ = 0;
    setKindOfStart(3);
    lblQuotaTime0_->setHidden(true);
    lblQuotaTime2_->setHidden(true);
    setShowAction(true);
    viewCuoc_->setHidden(!isSeated());
    view()->bringSubviewToFront(viewCuoc_.get());
    setTimerWithSeat(-1);
    if (isSeated()) {
        for (const auto& player : players_) {
            player->setIsReady(0);
            if (isMe(player->IDDB())) {
                UIController::myInfo()->setIsReady(0);
                setSeatInfoWithSeat(0, player);
            } else if (player->IDDB() != -1) {
                setSeatInfoWithSeat(2, player);
            }
        }
    } else if (!players_.empty()) {
        players_.front()->setIsReady(0);
        if (players_.front()->IDDB() != -1) setSeatInfoWithSeat(0, players_.front());
    }
    if (info) showChatWithSeat(2, *info);
}

void CoTuongView::answerDraw(bool accept) {
    if (accept)
        service().requestDrawWithRoomId(roomID(), boardID());
    else
        service().answerDrawWithRoomId(roomID(), boardID(), false);
}

void CoTuongView::answerUndo(int8_t answer) {
    service().requestUndoWithRoomId(roomID(), boardID(), answer);
}

void CoTuongView::resign() {
    setIsLosing(true);
    service().requestLoseWithRoomId(roomID(), boardID());
}

} // namespace kavo
