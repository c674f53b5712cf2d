#include "table/registry/GameMessageHandler.h"

#include "app/Resources.h"
#include "lobby/BoardView.h"
#include "platform/runtime/Log.h"
#include "table/registry/GameController.h"
#include "table/registry/GameRecords.h"

namespace kavo {

GameMessageHandler::GameMessageHandler(int8_t gameType, const char* name) : gameType_(gameType), name_(name) {}

void GameMessageHandler::onMessage(Message& message) {
    platform::log(std::string(name_) + ": command " + std::to_string(message.commandId()) + " not handled, dropped");
}

void GameMessageHandler::onPostSetupGameType() {
    const GameRecord* game = gameRecord(gameType_);
    if (!game) return;
    BoardView::setType(game->boardListType);
    GameController::setGameTitle(Resources::getInstance().textWithKey(game->titleKey));
}

} // namespace kavo
