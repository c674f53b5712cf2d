#include "games/baicao/BaiCaoMessageHandler.h"

namespace kavo {

const std::shared_ptr<BaiCaoMessageHandler>& BaiCaoMessageHandler::getInstance() {
    static const std::shared_ptr<BaiCaoMessageHandler> instance = std::make_shared<BaiCaoMessageHandler>();
    return instance;
}

BaiCaoMessageHandler::BaiCaoMessageHandler() : GameMessageHandler(kGameType, "BaiCaoMessageHandler") {}

} // namespace kavo
