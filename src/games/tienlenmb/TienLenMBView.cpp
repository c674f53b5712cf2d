#include "games/tienlenmb/TienLenMBView.h"

#include "games/tienlenmb/TienLenMBMessageHandler.h"

namespace kavo {

TienLenMBView::TienLenMBView() : GameCardView(TienLenMBMessageHandler::kGameType, "KAVO_tienLenMB") {}

} // namespace kavo
