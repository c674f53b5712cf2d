#include "table/base/StakeTableLogic.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "table/base/LeavingTable.h"
#include "table/base/PlaySound.h"
#include "table/base/StakeTableView.h"
#include "table/base/TienLenPlayer.h"
#include "table/room/JoinPlaces.h"

namespace kavo {

namespace {

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

} // namespace

RoomRules<Player> StakeTableLogic::roomRules(std::string table) {
    return {.table = std::move(table),
            .makeRecord = [] { return std::shared_ptr<Player>(std::make_shared<TienLenPlayer>()); },
            .commands = {room::kJoin, room::kChat, room::kKicked, room::kSitDown, room::kLeave, room::kReady,
                         room::kStakeMoneyFirst, room::kStakePlayerFirst, room::kBonus, room::kScoreText, room::kBuzz},
            .places = kPlaces,
            .unsignedSeat = true,
            .joinedPlace =
                [](Player& player) {
                    if (player.IDDB() != -1) player.setFinishPosition(-1);
                },
            .seatedPlayer = notFinished};
}

// ---------------------------------------------------------------- twins (main thread)

std::shared_ptr<StakeTableView> StakeTableLogic::tableOf(int8_t roomId, int8_t boardId) const {
    auto view = table();
    return view && view->isTable(roomId, boardId) ? view : nullptr;
}

void StakeTableLogic::applyJoin(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                const std::vector<std::shared_ptr<Player>>& players) {
    showTable(roomId, boardId, ownerId, money, players);
    auto view = table();
    if (!view) return;
    view->setDisableReady(false);
    auto me = UIController::myInfo();
    for (const auto& player : view->players()) {
        if (player->IDDB() == ownerId) player->setIsReady(1);
        if (player->IDDB() == me->IDDB()) {
            me->setMoney(player->money());
            me->setExp(player->exp());
        }
    }
    view->setModeWithHas(false);
    view->resetSeat();
    view->setMoneyOnBoard(money, me->IDDB());
}

void StakeTableLogic::onJoinGameSuccessWithRoomId(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                                  std::vector<std::shared_ptr<Player>> players) {
    platform::runOnMainThread([this, roomId, boardId, ownerId, money, players] {
        markFriends(players);
        applyJoin(roomId, boardId, ownerId, money, players);
    });
}

void StakeTableLogic::onChatFromBoardWithRoomId(int8_t roomId, int8_t boardId, const std::string& text, int32_t from) {
    platform::runOnMainThread([this, roomId, boardId, text, from] {
        if (auto view = tableOf(roomId, boardId)) view->onChatFromWithId(from, "", text);
    });
}

void StakeTableLogic::applyKick(int8_t roomId, int8_t boardId, int32_t kickedId) {
    auto view = tableOf(roomId, boardId);
    if (!view) return;
    view->playerLeaveWithId(kickedId);
    if (kickedId != myId()) {
        view->resetSeat();
        return;
    }
    view->onLeftTable();
    const int8_t game = gameType_;
    auto ours = [game](const platform::ui::ViewControllerPtr& screen) {
        auto* table = dynamic_cast<StakeTableView*>(screen.get());
        return table && table->gameType() == game;
    };
    leaveKickedTable(ours);
}

void StakeTableLogic::onKickedWithRoomId(int8_t roomId, int8_t boardId, int32_t kickedId) {
    platform::runOnMainThread([this, roomId, boardId, kickedId] { applyKick(roomId, boardId, kickedId); });
}

void StakeTableLogic::onSomeOneJoinBoardWithSeat(int seat, std::shared_ptr<Player> player) {
    platform::runOnMainThread([this, seat, player] {
        auto view = table();
        if (!view) return;
        PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
        player->setIsReady(0);
        view->setAtSeat(seat, player);
        view->resetSeat();
    });
}

void StakeTableLogic::onSomeOneLeaveBoardWithIdLeave(int32_t leaveId, int32_t newOwner) {
    platform::runOnMainThreadAndWait([this, leaveId, newOwner] {
        auto view = table();
        if (!view) return;
        view->playerLeaveWithId(leaveId);
        view->setOwnerWithNewOwner(newOwner);
        view->resetSeat();
    });
}

void StakeTableLogic::onSomeOneReadyWithId(int32_t playerId, bool ready) {
    platform::runOnMainThread([this, playerId, ready] {
        auto view = table();
        if (!view) return;
        view->setReadyWithPlayerId(playerId, ready);
        view->resetSeat();
    });
}

void StakeTableLogic::onOwnerSetMoneyOnBoardWithRoomId(int8_t roomId, int8_t boardId, int32_t money, int32_t who) {
    platform::runOnMainThread([this, roomId, boardId, money, who] {
        if (auto view = tableOf(roomId, boardId)) view->setMoneyOnBoard(money, who);
    });
}

void StakeTableLogic::onBonusMoneyWithRommId(int8_t roomId, int8_t boardId, int32_t who, int32_t money,
                                             const std::string& des) {
    platform::runOnMainThread([this, roomId, boardId, who, money, des] {
        auto view = tableOf(roomId, boardId);
        if (!view) return;
        // A bonus for somebody not at the table is dropped.
        auto player = view->playerWithId(who);
        if (!player || player->name().empty()) return;
        view->onChatFromWithId(who, "", des);
        view->showFlyTextWirhFromId(who, money);
        view->addHandAmount(who, money);
    });
}

void StakeTableLogic::onDiemSoWithWho(int32_t who, const std::string& des) {
    platform::runOnMainThread([this, who, des] {
        if (auto view = table()) showScoreText(*view, who, des);
    });
}

void StakeTableLogic::onBuzzWithContent(const std::string& text) {
    platform::runOnMainThread([this, text] {
        if (auto view = table()) view->onBuzzWithContent(text);
    });
}

} // namespace kavo
