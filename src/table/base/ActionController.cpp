#include "table/base/ActionController.h"

#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "portal/GlobalService.h"
#include "table/base/GameTableView.h"
#include "table/registry/GameController.h"
#include "table/registry/TableRules.h"
#include "table/sheets/PlayerInfo.h"

namespace kavo {

std::shared_ptr<GameTableView> ActionController::currentTable() {
    const int8_t game = GameController::gameType();
    if (!tableRule(game)) return nullptr;
    return GameController::getTableView(game);
}

std::shared_ptr<Player> ActionController::chosenPlayer() {
    auto table = currentTable();
    return table ? table->chosenPlayer() : nullptr;
}

void ActionController::doKick() {
    auto table = currentTable();
    if (!table) return;
    auto& service = GlobalService::getInstance();
    if (tableRule(table->gameType())->isBoardGame) {
        auto me = UIController::myInfo();
        for (const auto& player : table->tablePlayers()) {
            if (player && player->IDDB() != -1 && (!me || player->IDDB() != me->IDDB()))
                service.kickWithRoomId(table->roomId(), table->boardId(), player->IDDB());
        }
        return;
    }
    if (auto player = table->chosenPlayer()) service.kickWithRoomId(table->roomId(), table->boardId(), player->IDDB());
}

void ActionController::doPresentGift() {
    auto table = currentTable();
    if (table && table->chosenPlayer()) table->showGiftView();
}

void ActionController::doAddFriend() {
    auto& defaults = platform::UserDefaults::standard();
    auto player = chosenPlayer();
    if (!player) {
        defaults.removeObjectForKey("REQUEST_ADD_FRIEND");
        defaults.synchronize();
        return;
    }
    // Stored before the search goes out: its reply may come back at once.
    defaults.setString(player->name(), "REQUEST_ADD_FRIEND");
    defaults.synchronize();
    GlobalService::getInstance().searchFriend(player->name());
}

void ActionController::doBuzz() {
    if (auto player = chosenPlayer()) GlobalService::getInstance().requestBuzzWithId(player->IDDB());
}

void ActionController::doViewInfo() {
    auto player = chosenPlayer();
    if (!player) return;
    PlayerInfo::setAva(static_cast<int16_t>(player->avatar()));
    GlobalService::getInstance().requestInfoOfWithIDDB(player->IDDB());
}

} // namespace kavo
