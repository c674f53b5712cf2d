#include "games/covua/CoVuaView.h"

#include "games/covua/CoVuaMessageHandler.h"

namespace kavo {

CoVuaView::CoVuaView() : SeatedTableView(CoVuaMessageHandler::kGameType, "CoVuaView", "KAVO_coVua", 2) {}

} // namespace kavo
