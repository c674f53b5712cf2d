#include "games/tienlen/TienLenView.h"

#include "games/tienlen/TienLenMessageHandler.h"

namespace kavo {

TienLenView::TienLenView() : GameCardView(TienLenMessageHandler::kGameType, "KAVO_tienLen") {}

} // namespace kavo
