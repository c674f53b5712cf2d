#include "games/cotuong/CoTuongMessageHandler.h"

namespace kavo {

const std::shared_ptr<CoTuongMessageHandler>& CoTuongMessageHandler::getInstance() {
    static const std::shared_ptr<CoTuongMessageHandler> instance = std::make_shared<CoTuongMessageHandler>();
    return instance;
}

CoTuongMessageHandler::CoTuongMessageHandler() : GameMessageHandler(kGameType, "CoTuongMessageHandler") {}

} // namespace kavo
