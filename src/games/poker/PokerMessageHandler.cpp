#include "games/poker/PokerMessageHandler.h"

namespace kavo {

const std::shared_ptr<PokerMessageHandler>& PokerMessageHandler::getInstance() {
    static const std::shared_ptr<PokerMessageHandler> instance = std::make_shared<PokerMessageHandler>();
    return instance;
}

PokerMessageHandler::PokerMessageHandler() : GameMessageHandler(kGameType, "PokerMessageHandler") {}

} // namespace kavo
