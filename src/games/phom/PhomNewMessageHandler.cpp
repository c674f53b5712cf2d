#include "games/phom/PhomNewMessageHandler.h"

namespace kavo {

const std::shared_ptr<PhomNewMessageHandler>& PhomNewMessageHandler::getInstance() {
    static const std::shared_ptr<PhomNewMessageHandler> instance = std::make_shared<PhomNewMessageHandler>();
    return instance;
}

PhomNewMessageHandler::PhomNewMessageHandler() : GameMessageHandler(kGameType, "PhomNewMessageHandler") {}

} // namespace kavo
