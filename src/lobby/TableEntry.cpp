#include "lobby/TableEntry.h"

#include "app/Text.h"
#include "app/UIController.h"
#include "platform/foundation/TextFormat.h"
#include "table/registry/GameRecords.h"

namespace kavo {

bool TableEntry::opens(int gameType) {
    const GameRecord* game = gameRecord(gameType);
    if (!game || game->opensTables) return true;
    UIController::showNotice(platform::formatText(text("KAVO_gameNotInThisVersion"), {text(game->titleKey)}));
    return false;
}

} // namespace kavo
