#include "games/cotuong/CoTuongView.h"

#include "games/cotuong/CoTuongMessageHandler.h"

namespace kavo {

CoTuongView::CoTuongView() : GameTableView(CoTuongMessageHandler::kGameType, "CoTuongView", "KAVO_coTuong") {}

} // namespace kavo
