#include "games/baucua/BauCuaMessageHandler.h"

namespace kavo {

const std::shared_ptr<BauCuaMessageHandler>& BauCuaMessageHandler::getInstance() {
    static const std::shared_ptr<BauCuaMessageHandler> instance = std::make_shared<BauCuaMessageHandler>();
    return instance;
}

BauCuaMessageHandler::BauCuaMessageHandler() : GameMessageHandler(kGameType, "BauCuaMessageHandler") {}

} // namespace kavo
