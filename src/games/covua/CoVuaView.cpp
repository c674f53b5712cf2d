#include "games/covua/CoVuaView.h"

#include "games/covua/CoVuaMessageHandler.h"

namespace kavo {

CoVuaView::CoVuaView() : GameTableView(CoVuaMessageHandler::kGameType, "CoVuaView", "KAVO_coVua") {}

} // namespace kavo
