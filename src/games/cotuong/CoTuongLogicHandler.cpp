#include "games/cotuong/CoTuongLogicHandler.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "games/cotuong/CoTuongMessageHandler.h"
#include "games/cotuong/CoTuongView.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "table/base/ChessPlayer.h"
#include "table/base/LeavingTable.h"
#include "table/base/PlaySound.h"
#include "table/registry/GameController.h"
#include "table/room/JoinPlaces.h"

#include <algorithm>

namespace kavo {

namespace {

platform::ui::NavigationController* navigation() {
    return KavoOnlineAppDelegate::getInstance().navigationController().get();
}

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

// Runs the twin on the main thread, in arrival order.
void twin(std::function<void()> work) {
    platform::runOnMainThread(std::move(work));
}

} // namespace

CoTuongLogicHandler& CoTuongLogicHandler::getInstance() {
    static CoTuongLogicHandler instance;
    return instance;
}

std::shared_ptr<CoTuongView> CoTuongLogicHandler::table() const {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getCoTuongView();
}

bool CoTuongLogicHandler::isTable(const platform::ui::ViewControllerPtr& controller) const {
    auto view = std::dynamic_pointer_cast<CoTuongView>(controller);
    return view && view->gameType() == CoTuongMessageHandler::kGameType;
}

void CoTuongLogicHandler::showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                    const ChessPlayerList& players) const {
    GameController::showCoTuongScreenWithRoom(roomId, boardId, ownerId, money,
                                              PlayerList(players.begin(), players.end()));
}

std::shared_ptr<CoTuongView> CoTuongLogicHandler::tableOf(int8_t roomId, int8_t boardId) const {
    auto view = table();
    return view && view->roomID() == roomId && view->boardID() == boardId ? view : nullptr;
}

bool CoTuongLogicHandler::tableOnTop() const {
    auto* nav = navigation();
    return nav && isTable(nav->topViewController());
}

void CoTuongLogicHandler::onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& line,
                                                    int32_t fromId) {
    twin([this, roomId, boardId, line, fromId] {
        if (auto view = tableOf(roomId, boardId)) view->onChatFromWithId(fromId, line);
    });
}

void CoTuongLogicHandler::applyJoin(bool refillInPlace, int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                    const ChessPlayerList& players) {
    getInstance().joinTable(refillInPlace, roomId, boardId, ownerId, money, players);
}

void CoTuongLogicHandler::joinTable(bool refillInPlace, int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                    ChessPlayerList players) const {
    markFriends(players);
    auto view = table();
    if (refillInPlace && view) {
        view->setPlayersWithRoomId(roomId, boardId, ownerId, money, players);
    } else {
        showTable(roomId, boardId, ownerId, money, players);
        view = table();
    }
    auto me = UIController::myInfo();
    for (const auto& player : players) {
        if (player->IDDB() == ownerId) player->setIsReady(1);
        if (player->IDDB() == me->IDDB()) {
            me->setMoney(player->money());
            me->setExp(player->exp());
        }
    }
    if (view) view->switchToMe();
}

void CoTuongLogicHandler::onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                      ChessPlayerList players) {
    twin([=, this] { joinTable(tableOnTop(), roomId, boardId, ownerId, money, players); });
}

void CoTuongLogicHandler::onJoinViewGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                          ChessPlayerList players) {
    twin([=, this] { joinTable(false, roomId, boardId, ownerId, money, players); });
}

void CoTuongLogicHandler::onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) {
    twin([this, roomId, boardId, kickedId] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        view->playerLeaveWithId(kickedId);
        if (kickedId != myId()) return;
        view->onLeftTable();
        leaveKickedTable([this](const platform::ui::ViewControllerPtr& screen) { return isTable(screen); });
    });
}

void CoTuongLogicHandler::matchResultAtTable(const std::vector<MatchResultInfo>& results) const {
    auto view = table();
    auto me = UIController::myInfo();
    std::vector<MatchResultInfo> rows = results;
    for (auto& row : rows) {
        if (row.ID() == me->IDDB()) me->setExp(std::max(0, me->exp() + row.d_exp()));
        // A result comes for the table the player sits at, which is kept from its join on.
        if (!view) continue;
        for (const auto& player : view->chessPlayers()) {
            if (player->IDDB() != row.ID()) continue;
            row.setName(player->name());
            row.setAvatar(int16_t(player->avatar()));
            const int32_t require = player->level().expRequire;
            row.setD_exp_percent(require == 0 ? 0 : row.d_exp() * 100 / require);
            player->setExp(std::max(0, player->exp() + row.d_exp()));
        }
        view->addHandAmount(row.ID(), row.d_money());
    }
    for (const auto& row : rows)
        if (row.ID() == me->IDDB()) UIController::startReportDlg(row);
    if (view) view->resetReady();
}

void CoTuongLogicHandler::onMatchResult(std::vector<MatchResultInfo> results) {
    twin([this, results = std::move(results)] { matchResultAtTable(results); });
}

void CoTuongLogicHandler::onMoveWithWhoMove(int32_t whoMove, int8_t xs, int8_t ys, int8_t xd, int8_t yd,
                                            int32_t nextMove, int32_t remainTime, int8_t newPieceType) {
    twin([=, this] {
        auto view = table();
        if (!view) return;
        if (auto mover = view->getPlayerWithID(whoMove)) mover->setQuotaTime(remainTime);
        view->moveWithWhoMove(whoMove, xs, ys, xd, yd, nextMove, remainTime, newPieceType);
    });
}

void CoTuongLogicHandler::onOpponentWantDraw() {
    twin([] {
        UIController::startCancelOkDlg(text("KAVO_oppWantDraw"), text("KAVO_no"), text("KAVO_OK"),
                                       {UIController::kActionDrawOffer});
    });
}

void CoTuongLogicHandler::onDenyDraw() {
    twin([this] {
        if (auto view = table()) view->setIsDrawing(false);
        UIController::showNotice(text("KAVO_oppNotAgree"));
    });
}

void CoTuongLogicHandler::onDenyLose() {
    twin([this] {
        if (auto view = table()) view->setIsLosing(false);
        UIController::showNotice(text("KAVO_oppNotAgree"));
    });
}

void CoTuongLogicHandler::onWantLose() {
    twin([this] {
        PlaySound::playSoundWin();
        if (auto view = table()) view->closeBoardWithInfo(text("KAVO_youWin"));
    });
}

void CoTuongLogicHandler::onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) {
    twin([this, roomId, boardId, money] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        view->resetReady();
        view->setMoney(money);
    });
}

void CoTuongLogicHandler::onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<ChessPlayer> player) {
    twin([this, seat, player] {
        PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
        if (auto view = table()) view->setAtSeat(seat, player);
    });
}

void CoTuongLogicHandler::onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) {
    platform::runOnMainThreadAndWait([this, leaveId, newOwner] {
        auto view = table();
        if (!view) return;
        view->setOwnerWithNewOwner(newOwner);
        if (view->isInBoard())
            view->closeBoardWithInfo(text("KAVO_opponentQuit"));
        else
            view->setKindOfStart(0);
        view->playerLeaveWithId(leaveId);
    });
}

void CoTuongLogicHandler::onSomeOneReadyWithId(int32_t whoId, bool isReady) {
    twin([this, whoId, isReady] {
        if (auto view = table()) view->setReadyWithId(whoId, isReady);
    });
}

void CoTuongLogicHandler::onStartGameWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMoveFirst, int32_t interval,
                                                int32_t ownerQuotaTime, int32_t clientQuotaTime) {
    twin([=, this] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        for (const auto& player : view->chessPlayers())
            player->setQuotaTime(player->IDDB() == view->ownerID() ? ownerQuotaTime : clientQuotaTime);
        view->startWithMoveFirst(whoMoveFirst, interval);
    });
}

void CoTuongLogicHandler::onGetTableInfo(TableInfo info) {
    twin([this, info = std::move(info)] {
        if (auto view = table()) view->getTableInfo(info);
    });
}

void CoTuongLogicHandler::onRemoveButton(int8_t which) {
    twin([this, which] {
        if (auto view = table()) view->removeButton(which);
    });
}

void CoTuongLogicHandler::onUndo() {
    twin([] {
        UIController::startCancelOkDlg(text("KAVO_undo"), text("KAVO_no"), text("KAVO_OK"),
                                       {UIController::kActionUndoRequest});
    });
}

void CoTuongLogicHandler::onMakeUndoWithNextUserId(int32_t nextUserId, std::vector<PieceUndo> undos) {
    twin([this, nextUserId, undos = std::move(undos)] {
        if (auto view = table()) view->makeUndoWithNextUserId(nextUserId, undos);
    });
}

void CoTuongLogicHandler::onStopGame() {
    twin([this] {
        if (auto view = table()) view->closeBoardWithInfo(std::nullopt);
    });
}

void CoTuongLogicHandler::onShowMessage(const std::string& line) {
    twin([this, line] {
        if (auto view = table()) view->onChatFromWithId(-1, line);
    });
}

void CoTuongLogicHandler::onBuzzWithContent(const std::string& line) {
    twin([this, line] {
        if (auto view = table()) view->onBuzzWithContent(line);
    });
}

} // namespace kavo
