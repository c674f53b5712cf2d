#include "games/maubinh/MauBinhLogicHandler.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/widgets/MenuView.h"
#include "games/maubinh/MauBinhView.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "table/base/LeavingTable.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "table/room/JoinPlaces.h"

namespace kavo {

namespace {

std::shared_ptr<MauBinhView> table() {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getMauBinhView();
}

std::shared_ptr<MauBinhView> tableOf(int8_t roomId, int8_t boardId) {
    auto view = table();
    return view && view->isTable(roomId, boardId) ? view : nullptr;
}

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

// Runs the twin on the main thread, in arrival order.
void twin(std::function<void()> work) {
    platform::runOnMainThread(std::move(work));
}

// Runs `work` with the current Mau Binh screen; an event with no screen is dropped.
void onTable(std::function<void(MauBinhView&)> work) {
    twin([work = std::move(work)] {
        if (auto view = table())
            work(*view);
        else
            platform::log("MauBinhLogicHandler: no Mau Binh table, the event is dropped");
    });
}

} // namespace

MauBinhLogicHandler& MauBinhLogicHandler::getInstance() {
    static MauBinhLogicHandler instance;
    return instance;
}

void MauBinhLogicHandler::onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                      MauBinhPlayers players) {
    twin([=] {
        markFriends(players);
        auto me = UIController::myInfo();
        for (const auto& player : players) {
            if (player->IDDB() != me->IDDB()) continue;
            me->setExp(player->exp());
            me->setMoney(player->money());
            me->setIsReady(0);
        }
        GameController::showMauBinhScreenWithRoom(roomId, boardId, ownerId, money,
                                                  PlayerList(players.begin(), players.end()));
        if (auto view = table()) view->setDisableReady(false);
    });
}

void MauBinhLogicHandler::onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text,
                                                    int32_t from) {
    twin([=] {
        if (auto view = tableOf(roomId, boardId)) view->onChatFromWithId(from, "", text);
    });
}

void MauBinhLogicHandler::onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t userId) {
    twin([=] {
        auto view = table();
        // Another table's kick says nothing about mine.
        if (view && !view->isTable(roomId, boardId)) return;
        onKickedController(userId);
    });
}

void MauBinhLogicHandler::onKickedController(int32_t userId) {
    auto view = table();
    if (!view) return;
    view->playerLeaveWithId(userId);
    if (userId != myId()) {
        view->resetSeat();
        return;
    }
    view->stopUpdateAction();
    leaveKickedTable([&view](const platform::ui::ViewControllerPtr& screen) { return screen == view; });
}

void MauBinhLogicHandler::onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> player) {
    onTable([seat, player](MauBinhView& view) { view.setAtSeat(seat, player); });
}

void MauBinhLogicHandler::onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) {
    // The reader reads on once the seat is free.
    platform::runOnMainThreadAndWait([leaveId, newOwner] {
        if (auto view = table()) view->onLeaveBoard(leaveId, newOwner);
    });
}

void MauBinhLogicHandler::onSomeOneReadyWithId(int32_t userId, bool isReady) {
    onTable([=](MauBinhView& view) { view.onReadyWithId(userId, isReady); });
}

void MauBinhLogicHandler::onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) {
    twin([=] {
        if (auto view = tableOf(roomId, boardId)) view->setMoneyOnBoard(money);
    });
}

void MauBinhLogicHandler::onBuzzWithContent(const std::string& text) {
    onTable([text](MauBinhView& view) { view.onBuzzWithContent(text); });
}

void MauBinhLogicHandler::onSetLimitTime(int seconds) {
    twin([this, seconds] { doSetLimitTime(seconds); });
}

void MauBinhLogicHandler::onPlayingWithLimitTime(int8_t limit, int8_t rest) {
    onTable([=](MauBinhView& view) {
        view.setDisableReady(true);
        view.onJoinBoardPlayingWithLimitTime(limit, rest);
    });
}

void MauBinhLogicHandler::onStartWithRoomId(int8_t roomId, int8_t boardId, int8_t time, std::vector<int8_t> cardList,
                                            int8_t mbType) {
    twin([this, roomId, boardId, time, cardList = std::move(cardList), mbType] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        doSetLimitTime(time);
        view->onStartWithTime(time, cardList, mbType);
    });
}

void MauBinhLogicHandler::onSort(std::vector<int8_t> sortedCard) {
    onTable([sortedCard = std::move(sortedCard)](MauBinhView& view) { view.onSort(sortedCard); });
}

void MauBinhLogicHandler::onFinishWithUserID(int32_t userId) {
    onTable([userId](MauBinhView& view) {
        view.setDisableReady(false);
        view.onFinishWithUserID(userId);
    });
}

void MauBinhLogicHandler::onResultWithUserID(int32_t userId, int32_t winMoney, int32_t winChi, int8_t mbType,
                                             std::vector<ResultPlayer> resultList) {
    onTable([=, rows = std::move(resultList)](MauBinhView& view) {
        view.onResultWithUserID(userId, winMoney, winChi, mbType, rows);
    });
}

void MauBinhLogicHandler::onStopGame() {
    onTable([](MauBinhView& view) { view.onStopGame(); });
}

void MauBinhLogicHandler::doSetLimitTime(int seconds) {
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    if (!top || !top->isViewLoaded()) return;
    for (const auto& subview : top->view()->subviews()) {
        if (auto menu = std::dynamic_pointer_cast<MenuView>(subview)) {
            menu->setTimerTime(seconds);
            return;
        }
    }
}

} // namespace kavo
