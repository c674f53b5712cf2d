#include "games/caorua/CaoRuaLogicHandler.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "table/base/LeavingTable.h"
#include "table/base/PlaySound.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/registry/GameController.h"
#include "table/room/JoinPlaces.h"

namespace kavo {

namespace {

std::shared_ptr<CaoRuaView> table() {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getCaoRuaView();
}

// The screen when it is the table of that room and board.
std::shared_ptr<CaoRuaView> tableOf(int8_t roomId, int8_t boardId) {
    auto view = table();
    return view && view->isTable(roomId, boardId) ? view : nullptr;
}

int32_t myId() {
    auto me = UIController::myInfo();
    return me ? me->IDDB() : -1;
}

// Runs the twin on the main thread, in arrival order.
void twin(std::function<void()> work) {
    platform::runOnMainThread(std::move(work));
}

} // namespace

CaoRuaLogicHandler& CaoRuaLogicHandler::getInstance() {
    static CaoRuaLogicHandler instance;
    return instance;
}

void CaoRuaLogicHandler::onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                     CaoRuaPlayers players) {
    twin([=] {
        markFriends(players);
        auto me = UIController::myInfo();
        for (const auto& player : players) {
            if (me && player->IDDB() == me->IDDB()) {
                me->setExp(player->exp());
                me->setMoney(player->money());
            }
        }
        GameController::showCaoRuaScreenWithRoom(roomId, boardId, ownerId, money,
                                                 PlayerList(players.begin(), players.end()));
        auto view = table();
        if (!view) return;
        view->set_disableReady(false);
        for (const auto& player : players)
            if (player->IDDB() == ownerId) player->setIsReady(1);
        view->setMoneyOnBoard(money, myId());
        view->setModeWithHas(false);
        view->resetSeat();
    });
}

void CaoRuaLogicHandler::onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& line,
                                                   int32_t from) {
    twin([roomId, boardId, line, from] {
        if (auto view = tableOf(roomId, boardId)) view->onChatFromWithId(from, "", line);
    });
}

void CaoRuaLogicHandler::callKick(int32_t kickedId) {
    if (auto view = table()) {
        view->playerLeaveWithId(kickedId);
        if (kickedId != myId()) {
            view->resetSeat();
            return;
        }
        view->onLeftTable();
    }
    leaveKickedTable([](const platform::ui::ViewControllerPtr& screen) {
        return std::dynamic_pointer_cast<CaoRuaView>(screen) != nullptr;
    });
}

void CaoRuaLogicHandler::onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) {
    twin([roomId, boardId, kickedId] {
        if (!tableOf(roomId, boardId)) return;
        callKick(kickedId);
    });
}

void CaoRuaLogicHandler::onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> player) {
    twin([seat, player] {
        auto view = table();
        if (!view) return;
        PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
        player->setIsReady(0);
        view->setAtSeat(seat, player);
        view->resetSeat();
    });
}

void CaoRuaLogicHandler::onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) {
    platform::runOnMainThreadAndWait([leaveId, newOwner] {
        auto view = table();
        if (!view) return;
        view->playerLeaveWithId(leaveId);
        view->setOwnerWithNewOwner(newOwner);
        view->resetSeat();
    });
}

void CaoRuaLogicHandler::onSomeOneReadyWithId(int32_t id, bool isReady) {
    twin([id, isReady] {
        auto view = table();
        if (!view) return;
        view->setReadyWithPlayerId(id, isReady);
        view->resetSeat();
    });
}

void CaoRuaLogicHandler::onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) {
    twin([roomId, boardId, money] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        view->resetReady();
        view->setMoney(money);
    });
}

void CaoRuaLogicHandler::onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<int8_t> cards,
                                               int32_t betMoney, int8_t interval) {
    twin([=] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        for (const auto& player : view->players())
            player->setIsReady(0);
        std::vector<std::shared_ptr<BCCardView>> mine;
        for (int8_t card : cards)
            mine.push_back(BCCardView::withCardID(card, true, myId(), true));
        view->startWithBetMoney(betMoney, mine, interval);
        view->imgViewDealerCards()->setHidden(false);
        view->setDealerCards(GameController::getLevelRoom());
    });
}

void CaoRuaLogicHandler::onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards) {
    twin([=] {
        auto view = table();
        if (!view) return;
        // A turn anywhere means a hand is under way: ready waits for its end.
        view->set_disableReady(true);
        if (view->isTable(roomId, boardId)) view->moveWithPlayerId(whoMove, cards);
    });
}

void CaoRuaLogicHandler::onOwnerSetMoneyOnBoardWithRoomId(int8_t roomId, int8_t boardId, int32_t money, int32_t who) {
    twin([=] {
        if (auto view = tableOf(roomId, boardId)) view->setMoneyOnBoard(money, who);
    });
}

void CaoRuaLogicHandler::onStopGameWithRoomId(int8_t, int8_t, CaoRuaCardRecords records) {
    twin([records = std::move(records)] {
        auto view = table();
        if (!view) return;
        view->set_disableReady(false);
        view->stopGame();
        view->showCardsWithPlayers(records);
        view->imgViewDealerCards()->setHidden(true);
    });
}

void CaoRuaLogicHandler::onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t who, int32_t money,
                                                const std::string& des) {
    twin([=] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        auto player = view->playerWithId(who);
        if (!player || player->name().empty()) {
            platform::log("cao rua: a bonus for a player not at the table, dropped");
            return;
        }
        view->onChatFromWithId(who, "", des);
        view->showFlyTextWirhFromId(who, money);
        view->addHandAmount(who, money);
    });
}

void CaoRuaLogicHandler::onPlayingWithRoomId(int8_t roomId, int8_t boardId, int32_t money, CaoRuaCardRecords records) {
    twin([=] {
        if (auto view = tableOf(roomId, boardId)) view->playingWithMoney(money, records);
    });
}

void CaoRuaLogicHandler::onDiemSoWithWho(int32_t who, const std::string& des) {
    twin([who, des] {
        if (auto view = table()) view->onChatFromWithId(who, "", des);
    });
}

void CaoRuaLogicHandler::onBuzzWithContent(const std::string& line) {
    twin([line] {
        if (auto view = table()) view->onBuzzWithContent(line);
    });
}

} // namespace kavo
