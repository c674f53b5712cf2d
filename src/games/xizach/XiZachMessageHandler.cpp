#include "games/xizach/XiZachMessageHandler.h"

namespace kavo {

const std::shared_ptr<XiZachMessageHandler>& XiZachMessageHandler::getInstance() {
    static const std::shared_ptr<XiZachMessageHandler> instance = std::make_shared<XiZachMessageHandler>();
    return instance;
}

XiZachMessageHandler::XiZachMessageHandler() : GameMessageHandler(kGameType, "XiZachMessageHandler") {}

} // namespace kavo
