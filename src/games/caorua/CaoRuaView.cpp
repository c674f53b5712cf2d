#include "games/caorua/CaoRuaView.h"

#include "games/caorua/CaoRuaMessageHandler.h"

namespace kavo {

CaoRuaView::CaoRuaView() : GameTableView(CaoRuaMessageHandler::kGameType, "CaoRuaView", "KAVO_CaoRua") {}

} // namespace kavo
