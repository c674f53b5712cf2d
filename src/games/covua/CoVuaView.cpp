#include "games/covua/CoVuaView.h"

#include "games/covua/CoVuaMessageHandler.h"
#include "games/covua/CoVuaService.h"

namespace kavo {

CoVuaView::CoVuaView() : SeatedTableView(CoVuaMessageHandler::kGameType, "CoVuaView", "KAVO_coVua", 2) {}

void CoVuaView::answerDraw(bool accept) {
    CoVuaService::getInstance().answerDrawWithRoomId(roomID(), boardID(), accept);
}

void CoVuaView::resign() {
    setIsLosing(true);
    CoVuaService::getInstance().requestLoseWithRoomId(roomID(), boardID());
}

} // namespace kavo
