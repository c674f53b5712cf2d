#include "games/baucua/BauCuaView.h"

#include "games/baucua/BauCuaMessageHandler.h"

namespace kavo {

BauCuaView::BauCuaView() : GameTableView(BauCuaMessageHandler::kGameType, "BauCuaView", "KAVO_BauCua") {}

void BauCuaView::clearView() {
    ++clearCount_;
    setIsPlaying(false);
}

} // namespace kavo
