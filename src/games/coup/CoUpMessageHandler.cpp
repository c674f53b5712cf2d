#include "games/coup/CoUpMessageHandler.h"

namespace kavo {

const std::shared_ptr<CoUpMessageHandler>& CoUpMessageHandler::getInstance() {
    static const std::shared_ptr<CoUpMessageHandler> instance = std::make_shared<CoUpMessageHandler>();
    return instance;
}

CoUpMessageHandler::CoUpMessageHandler() : GameMessageHandler(kGameType, "CoUpMessageHandler") {}

} // namespace kavo
