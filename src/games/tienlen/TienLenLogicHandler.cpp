#include "games/tienlen/TienLenLogicHandler.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "games/tienlen/CardUtils.h"
#include "games/tienlen/TienLenService.h"
#include "games/tienlen/TienLenView.h"
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

constexpr int kFullHand = 13;

bool isMe(int32_t id) {
    auto me = UIController::myInfo();
    return me && me->IDDB() == id;
}

// Runs the twin on the main thread, in arrival order.
void twin(std::function<void()> work) {
    platform::runOnMainThread(std::move(work));
}

} // namespace

TienLenLogicHandler& TienLenLogicHandler::getInstance() {
    static TienLenLogicHandler instance;
    return instance;
}

// ---------------------------------------------------------------- the variant's hooks

std::shared_ptr<TienLenView> TienLenLogicHandler::table() const {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getTienLenView();
}

void TienLenLogicHandler::showScreen(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     const TienLenPlayerList& players) const {
    GameController::showTienLenScreenWithRoom(roomId, boardId, ownerId, money,
                                              PlayerList(players.begin(), players.end()));
}

void TienLenLogicHandler::sendForceFinish(int8_t roomId, int8_t boardId) const {
    TienLenService::getInstance().forceFinishWithRoomId(roomId, boardId);
}

void TienLenLogicHandler::claimInstantWin(TienLenView& view, int8_t roomId, int8_t boardId,
                                          const std::vector<int8_t>& sortedCards, int32_t) const {
    if (CardUtils::checkForceFinish(sortedCards.data(), int(sortedCards.size()), view.isFirstMatch()))
        sendForceFinish(roomId, boardId);
}

void TienLenLogicHandler::applyStop(TienLenView& view, int32_t whoShowCard, const std::vector<uint8_t>& cards) const {
    view.setDisableReady(false);
    view.setIsFirstMatch(false);
    if (whoShowCard != -1) view.showCardsWithWho(whoShowCard, cards);
    view.stopGame();
}

void TienLenLogicHandler::applyForceFinish(TienLenView& view, const CardInfo& info) const {
    view.showCardsWithWho(info.owner, info.cards);
    view.onChatFromWithId(info.owner, "", text("KAVO_forceFinish"));
}

std::shared_ptr<TienLenView> TienLenLogicHandler::tableOf(int8_t roomId, int8_t boardId) const {
    auto view = table();
    return view && view->isTable(roomId, boardId) ? view : nullptr;
}

// ---------------------------------------------------------------- join and seats

void TienLenLogicHandler::join(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                               TienLenPlayerList players) const {
    markFriends(players);
    auto me = UIController::myInfo();
    for (const auto& player : players) {
        if (player->IDDB() == -1) continue;
        if (player->IDDB() == ownerId) player->setIsReady(1);
        if (me && player->IDDB() == me->IDDB()) {
            me->setMoney(player->money());
            me->setExp(player->exp());
            me->setIsReady(0);
        }
    }
    showScreen(roomId, boardId, ownerId, money, players);
    auto view = table();
    if (!view) return;
    view->setIsFirstMatch(true);
    view->setDisableReady(false);
    view->setModeWithHas(false);
    view->resetSeat();
}

void TienLenLogicHandler::onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                      TienLenPlayerList players) {
    twin([this, roomId, boardId, ownerId, money, players = std::move(players)] {
        join(roomId, boardId, ownerId, money, players);
    });
}

void TienLenLogicHandler::onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<TienLenPlayer> player) {
    twin([this, seat, player] {
        auto view = table();
        if (!view) return;
        if (seat < 0 || size_t(seat) >= view->players().size()) {
            platform::log("Tien Len: a sit-down at place " + std::to_string(seat) + " dropped");
            return;
        }
        PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
        if (seatChangesStartFirstMatch()) view->setIsFirstMatch(true);
        player->setIsReady(0);
        view->setAtSeat(seat, player);
        view->resetSeat();
    });
}

void TienLenLogicHandler::onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) {
    platform::runOnMainThreadAndWait([this, leaveId, newOwner] {
        auto view = table();
        if (!view) return;
        if (seatChangesStartFirstMatch()) view->setIsFirstMatch(true);
        view->playerLeaveWithId(leaveId);
        view->setOwnerWithNewOwner(newOwner);
        view->resetSeat();
    });
}

void TienLenLogicHandler::onSomeOneReadyWithId(int32_t playerId, bool isReady) {
    twin([this, playerId, isReady] {
        auto view = table();
        if (!view) return;
        view->setReadyWithPlayerId(playerId, isReady);
        view->resetSeat();
    });
}

void TienLenLogicHandler::onOwnerSetMoneyWithRoomeId(int8_t roomId, int8_t boardId, int32_t money) {
    twin([this, roomId, boardId, money] {
        if (auto view = tableOf(roomId, boardId)) view->setMoneyOnBoard(money);
    });
}

void TienLenLogicHandler::onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& line,
                                                    int32_t fromId) {
    twin([this, roomId, boardId, line, fromId] {
        if (auto view = tableOf(roomId, boardId)) view->onChatFromWithId(fromId, "", line);
    });
}

void TienLenLogicHandler::kick(int8_t roomId, int8_t boardId, int32_t kickedId) const {
    auto view = tableOf(roomId, boardId);
    if (!view) return;
    view->playerLeaveWithId(kickedId);
    if (!isMe(kickedId)) {
        view->resetSeat();
        return;
    }
    view->onLeftTable();
    leaveKickedTable([&view](const platform::ui::ViewControllerPtr& screen) { return screen == view; });
}

void TienLenLogicHandler::onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) {
    twin([this, roomId, boardId, kickedId] { kick(roomId, boardId, kickedId); });
}

// ---------------------------------------------------------------- the match

void TienLenLogicHandler::applyStart(TienLenView& view, int8_t roomId, int8_t boardId,
                                     const std::vector<uint8_t>& cards, int interval, int32_t whoMoveFirst) const {
    // The engine reads a full hand, ascending; a short hand claims nothing.
    if (cards.size() == size_t(kFullHand))
        claimInstantWin(view, roomId, boardId, CardUtils::sorted(std::vector<int8_t>(cards.begin(), cards.end())),
                        whoMoveFirst);
    view.startWithWhoMoveFirst(whoMoveFirst, interval, cards);
}

void TienLenLogicHandler::onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<uint8_t> cards, int interval,
                                                int32_t whoMoveFirst) {
    twin([this, roomId, boardId, cards = std::move(cards), interval, whoMoveFirst] {
        if (auto view = tableOf(roomId, boardId)) applyStart(*view, roomId, boardId, cards, interval, whoMoveFirst);
    });
}

void TienLenLogicHandler::onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards,
                                           int32_t nextMove) {
    twin([this, roomId, boardId, whoMove, cards = std::move(cards), nextMove] {
        auto view = table();
        if (!view) return;
        // Off for any move, as the ready button must stay off while a game runs.
        view->setDisableReady(true);
        if (view->isTable(roomId, boardId)) view->moveWithPlayerId(whoMove, cards, nextMove);
    });
}

void TienLenLogicHandler::onSkipWithRoomId(int8_t roomId, int8_t boardId, int32_t whoSkip, int32_t nextMove,
                                           bool clearCurrentCards) {
    twin([this, roomId, boardId, whoSkip, nextMove, clearCurrentCards] {
        if (auto view = tableOf(roomId, boardId)) view->skipWithWho(whoSkip, nextMove, clearCurrentCards);
    });
}

void TienLenLogicHandler::onSomeOneFinishWithRoomId(int8_t roomId, int8_t boardId, int32_t whoFinish, int position,
                                                    int32_t money, int32_t exp) {
    twin([this, roomId, boardId, whoFinish, position, money, exp] {
        if (auto view = tableOf(roomId, boardId)) view->finishWithWho(whoFinish, position, money, exp);
    });
}

void TienLenLogicHandler::onStopGameWithRoomId(int8_t roomId, int8_t boardId, int32_t whoShowCard,
                                               std::vector<uint8_t> cardsShow) {
    twin([this, roomId, boardId, whoShowCard, cards = std::move(cardsShow)] {
        // A stop for another table never ends the game on mine.
        if (auto view = tableOf(roomId, boardId)) applyStop(*view, whoShowCard, cards);
    });
}

void TienLenLogicHandler::bonus(int8_t roomId, int8_t boardId, int32_t who, int32_t money,
                                const std::string& des) const {
    if (money == 0) return;
    auto view = tableOf(roomId, boardId);
    if (!view) return;
    if (view->getPlayerNameFromID(who).empty()) return;
    view->onChatFromWithId(who, "", des);
    view->showFlyTextWirhFromId(who, money);
    view->addHandAmount(who, money);
}

void TienLenLogicHandler::onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t whoBonus, int32_t money,
                                                 const std::string& des) {
    twin([this, roomId, boardId, whoBonus, money, des] { bonus(roomId, boardId, whoBonus, money, des); });
}

void TienLenLogicHandler::onForceFinishWithRoomId(int8_t roomId, int8_t boardId, CardInfo forceFinishCards) {
    twin([this, roomId, boardId, info = std::move(forceFinishCards)] {
        auto view = table();
        if (!view) return;
        if (view->isTable(roomId, boardId)) applyForceFinish(*view, info);
        // The shown table's players are marked whether or not the claim is for it.
        for (const auto& player : view->players())
            player->setFinishPosition(player->IDDB() == info.owner ? 4 : 3);
    });
}

void TienLenLogicHandler::onMoveErrorWithRoomeId(int8_t roomId, int8_t boardId, const std::string& info) {
    twin([this, roomId, boardId, info] {
        if (auto view = tableOf(roomId, boardId)) view->moveErrorWithInfo(info);
    });
}

void TienLenLogicHandler::onBuzzWithContent(const std::string& line) {
    twin([this, line] {
        if (auto view = table()) view->onBuzzWithContent(line);
    });
}

} // namespace kavo
