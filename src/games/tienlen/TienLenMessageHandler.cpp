#include "games/tienlen/TienLenMessageHandler.h"

namespace kavo {

const std::shared_ptr<TienLenMessageHandler>& TienLenMessageHandler::getInstance() {
    static const std::shared_ptr<TienLenMessageHandler> instance = std::make_shared<TienLenMessageHandler>();
    return instance;
}

TienLenMessageHandler::TienLenMessageHandler() : GameMessageHandler(kGameType, "TienLenMessageHandler") {}

} // namespace kavo
