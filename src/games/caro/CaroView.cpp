#include "games/caro/CaroView.h"

#include "games/caro/CaroMessageHandler.h"

namespace kavo {

CaroView::CaroView() : GameTableView(CaroMessageHandler::kGameType, "CaroView", "KAVO_caro") {}

} // namespace kavo
