#include "games/covua/CoVuaMessageHandler.h"

namespace kavo {

const std::shared_ptr<CoVuaMessageHandler>& CoVuaMessageHandler::getInstance() {
    static const std::shared_ptr<CoVuaMessageHandler> instance = std::make_shared<CoVuaMessageHandler>();
    return instance;
}

CoVuaMessageHandler::CoVuaMessageHandler() : GameMessageHandler(kGameType, "CoVuaMessageHandler") {}

} // namespace kavo
