#include "games/phom/PhomNewLogicHandler.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "games/phom/PhomNewView.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "table/base/LeavingTable.h"
#include "table/base/PlaySound.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "table/room/JoinPlaces.h"

namespace kavo {

namespace {

std::shared_ptr<PhomNewView> table() {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getPhomNewView();
}

// The screen when it is the table of that room and board. The ids are bytes on both
// sides, so this is also the comparison of their low 8 bits.
std::shared_ptr<PhomNewView> tableOf(int8_t roomId, int8_t boardId) {
    auto view = table();
    return view && view->isTable(roomId, boardId) ? view : nullptr;
}

// -1 (no player) before the sign-in.
int32_t myId() {
    const auto me = UIController::myInfo();
    return me ? me->IDDB() : -1;
}

// Runs the twin on the main thread, in arrival order.
void twin(std::function<void()> work) {
    platform::runOnMainThread(std::move(work));
}

// Calls `apply` on the table of that room and board, when it is on screen.
void onTable(int8_t roomId, int8_t boardId, std::function<void(PhomNewView&)> apply) {
    twin([roomId, boardId, apply = std::move(apply)] {
        if (auto view = tableOf(roomId, boardId)) apply(*view);
    });
}

std::vector<int32_t> widened(const std::vector<int8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

} // namespace

PhomNewLogicHandler& PhomNewLogicHandler::getInstance() {
    static PhomNewLogicHandler instance;
    return instance;
}

void PhomNewLogicHandler::onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                      PhomPlayerList players) {
    twin([=] {
        markFriends(players);
        GameController::showPhomNewScreenWithRoom(roomId, boardId, ownerId, money,
                                                  PlayerList(players.begin(), players.end()));
        auto view = table();
        if (!view) return;
        view->setIsFirstMatch(true);
        view->setDisableReady(false);
        auto me = UIController::myInfo();
        for (const auto& player : players) {
            if (player->IDDB() == ownerId) player->setIsReady(1);
            if (me && player->IDDB() == me->IDDB()) {
                me->setMoney(player->money());
                me->setExp(player->exp());
            }
        }
        view->setModeWithHas(false);
        view->resetSeat();
    });
}

void PhomNewLogicHandler::onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> player) {
    twin([seat, player] {
        auto view = table();
        if (!view) return;
        view->setIsFirstMatch(true);
        player->setIsReady(0);
        view->setAtSeat(seat, player);
        PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
    });
}

void PhomNewLogicHandler::onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) {
    platform::runOnMainThreadAndWait([leaveId, newOwner] {
        auto view = table();
        if (!view) return;
        view->setIsFirstMatch(true);
        view->playerLeaveWithId(leaveId);
        view->setOwnerWithNewOwner(newOwner);
        view->resetSeat();
    });
}

void PhomNewLogicHandler::onSomeOneReadyWithId(int32_t playerId, bool isReady) {
    twin([playerId, isReady] {
        auto view = table();
        if (!view) return;
        view->setReadyWithPlayerId(playerId, isReady);
        view->resetSeat();
    });
}

void PhomNewLogicHandler::onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) {
    onTable(roomId, boardId, [money](PhomNewView& view) { view.setMoneyOnBoard(money); });
}

void PhomNewLogicHandler::onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& line,
                                                    int32_t fromId) {
    onTable(roomId, boardId, [line, fromId](PhomNewView& view) { view.onChatFromWithId(fromId, "", line); });
}

void PhomNewLogicHandler::onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<int8_t> cards,
                                                int8_t interval, int32_t whoMoveFirst, int32_t firstHa) {
    onTable(roomId, boardId, [cards = std::move(cards), interval, whoMoveFirst, firstHa](PhomNewView& view) {
        for (const auto& player : view.players())
            if (player) player->setIsReady(0);
        view.start(interval, cards, whoMoveFirst, firstHa);
    });
}

void PhomNewLogicHandler::callKick(int32_t kickedId) {
    auto view = table();
    if (!view) return;
    view->playerLeaveWithId(kickedId);
    if (kickedId != myId()) {
        view->resetSeat();
        return;
    }
    view->onLeftTable();
    leaveKickedTable([](const platform::ui::ViewControllerPtr& screen) {
        return std::dynamic_pointer_cast<PhomNewView>(screen) != nullptr;
    });
}

void PhomNewLogicHandler::onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) {
    onTable(roomId, boardId, [kickedId](PhomNewView&) { callKick(kickedId); });
}

void PhomNewLogicHandler::onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t currentP, int32_t firstP,
                                           int8_t cardFire, int8_t numCard) {
    onTable(roomId, boardId, [=](PhomNewView& view) { view.onFire(currentP, firstP, cardFire, numCard); });
}

void PhomNewLogicHandler::onSkipWithRoomId(int8_t roomId, int8_t boardId, int32_t curPlayer, int32_t firHa) {
    onTable(roomId, boardId, [=](PhomNewView& view) { view.onSkipPlayer(curPlayer, firHa); });
}

void PhomNewLogicHandler::onHaPhom(int8_t roomId, int8_t boardId, bool isHa, std::array<int8_t, 12> cards, bool isU,
                                   std::array<int32_t, 4> orderMoney, int32_t curId) {
    onTable(roomId, boardId, [=](PhomNewView& view) { view.onHaPhom(isHa, cards, isU, orderMoney, curId); });
}

void PhomNewLogicHandler::onUWithRoomId(int8_t roomId, int8_t boardId, int32_t userId, int8_t uKind,
                                        std::array<int8_t, 12> cards, int32_t lenCard) {
    onTable(roomId, boardId, [=](PhomNewView& view) { view.onUWithUserID(userId, uKind, cards, lenCard); });
}

void PhomNewLogicHandler::onMoveErrorWithRoomeId(int8_t roomId, int8_t boardId, const std::string& info) {
    onTable(roomId, boardId, [info](PhomNewView& view) { view.moveErrorWithInfo(info); });
}

void PhomNewLogicHandler::onAddCard(int8_t roomId, int8_t boardId, int32_t userAdd, int8_t cardId,
                                    std::vector<int8_t> cards, int32_t len) {
    onTable(roomId, boardId, [=, cards = widened(cards)](PhomNewView& view) {
        view.onAddCard(userAdd, cardId, cards, std::min<int32_t>(len, int32_t(cards.size())));
    });
}

void PhomNewLogicHandler::onDenBai(int8_t roomId, int8_t boardId, int32_t winId, int32_t orderMoney) {
    onTable(roomId, boardId, [=](PhomNewView& view) { view.onDenBai(winId, orderMoney); });
}

void PhomNewLogicHandler::onFinish(int8_t roomId, int8_t boardId, int32_t userId, int32_t score,
                                   std::vector<int8_t> cards, int32_t numCard) {
    onTable(roomId, boardId, [=, cards = widened(cards)](PhomNewView& view) {
        view.onFinish(score, cards, userId, std::min<int32_t>(numCard, int32_t(cards.size())));
    });
}

void PhomNewLogicHandler::onPlaying(int8_t roomId, int8_t boardId, int8_t interval, int32_t curPlayer,
                                    int32_t firPlayer, PhomPlaying playing) {
    onTable(roomId, boardId, [=](PhomNewView& view) { view.onPlaying(interval, curPlayer, firPlayer, playing); });
}

void PhomNewLogicHandler::onGetCard(int8_t roomId, int8_t boardId, int32_t, int8_t cardGet) {
    twin([=] {
        auto view = table();
        if (!view) return;
        // A draw anywhere means a deal runs: ready is off, whatever the table.
        view->setDisableReady(true);
        if (view->isTable(roomId, boardId)) view->onGetCard(cardGet);
    });
}

void PhomNewLogicHandler::onEatCard(int8_t roomId, int8_t boardId, bool isEat, int32_t numEat, int32_t firHa,
                                    int32_t nCard) {
    onTable(roomId, boardId, [=](PhomNewView& view) { view.onEatCard(isEat, numEat, firHa, nCard); });
}

void PhomNewLogicHandler::applyBonus(int8_t roomId, int8_t boardId, int32_t whoBonus, int32_t money,
                                     const std::string& des) {
    if (money == 0) return;
    auto view = tableOf(roomId, boardId);
    if (!view) return;
    if (view->playerWithId(whoBonus)) {
        view->onChatFromWithId(whoBonus, "", des);
        view->showFlyTextWirhFromId(whoBonus, money);
    }
    view->addHandAmount(whoBonus, money);
}

void PhomNewLogicHandler::onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t whoBonus, int32_t money,
                                                 const std::string& des) {
    twin([=] { applyBonus(roomId, boardId, whoBonus, money, des); });
}

void PhomNewLogicHandler::onOnceWin(int8_t roomId, int8_t boardId, int32_t money) {
    onTable(roomId, boardId, [money](PhomNewView& view) { view.onOnceWin(money); });
}

void PhomNewLogicHandler::onBuzzWithContent(const std::string& line) {
    twin([line] {
        if (auto view = table()) view->onBuzzWithContent(line);
    });
}

} // namespace kavo
