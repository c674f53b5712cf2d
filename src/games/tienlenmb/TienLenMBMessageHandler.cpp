#include "games/tienlenmb/TienLenMBMessageHandler.h"

namespace kavo {

const std::shared_ptr<TienLenMBMessageHandler>& TienLenMBMessageHandler::getInstance() {
    static const std::shared_ptr<TienLenMBMessageHandler> instance = std::make_shared<TienLenMBMessageHandler>();
    return instance;
}

TienLenMBMessageHandler::TienLenMBMessageHandler() : GameMessageHandler(kGameType, "TienLenMBMessageHandler") {}

} // namespace kavo
