#include "games/maubinh/MauBinhMessageHandler.h"

namespace kavo {

const std::shared_ptr<MauBinhMessageHandler>& MauBinhMessageHandler::getInstance() {
    static const std::shared_ptr<MauBinhMessageHandler> instance = std::make_shared<MauBinhMessageHandler>();
    return instance;
}

MauBinhMessageHandler::MauBinhMessageHandler() : GameMessageHandler(kGameType, "MauBinhMessageHandler") {}

} // namespace kavo
