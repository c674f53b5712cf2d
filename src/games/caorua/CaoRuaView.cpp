#include "games/caorua/CaoRuaView.h"

#include "games/caorua/CaoRuaMessageHandler.h"
#include "social/MessageView.h"
#include "table/MailBoxButton.h"

namespace kavo {

CaoRuaView::CaoRuaView() : GameTableView(CaoRuaMessageHandler::kGameType, "CaoRuaView", "KAVO_CaoRua") {}

void CaoRuaView::viewDidLoad() {
    GameTableView::viewDidLoad();
    playerDetailView_ = std::make_shared<PlayerDetailView>();
    MailBoxButton::add(*view(), [this] { clickMailBox(); });
}

void CaoRuaView::clickMailBox() {
    MessageView::pushNew();
}

} // namespace kavo
