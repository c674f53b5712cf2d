#include "games/caro/CaroMessageHandler.h"

namespace kavo {

const std::shared_ptr<CaroMessageHandler>& CaroMessageHandler::getInstance() {
    static const std::shared_ptr<CaroMessageHandler> instance = std::make_shared<CaroMessageHandler>();
    return instance;
}

CaroMessageHandler::CaroMessageHandler() : GameMessageHandler(kGameType, "CaroMessageHandler") {}

} // namespace kavo
