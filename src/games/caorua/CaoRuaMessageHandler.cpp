#include "games/caorua/CaoRuaMessageHandler.h"

namespace kavo {

const std::shared_ptr<CaoRuaMessageHandler>& CaoRuaMessageHandler::getInstance() {
    static const std::shared_ptr<CaoRuaMessageHandler> instance = std::make_shared<CaoRuaMessageHandler>();
    return instance;
}

CaoRuaMessageHandler::CaoRuaMessageHandler() : GameMessageHandler(kGameType, "CaoRuaMessageHandler") {}

} // namespace kavo
