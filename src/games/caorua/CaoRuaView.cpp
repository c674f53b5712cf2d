#include "games/caorua/CaoRuaView.h"

#include "games/caorua/CaoRuaMessageHandler.h"
#include "table/menuPassword.h"
#include "table/menuSetup.h"
#include "table/menuSoNguoi.h"
#include "social/MessageView.h"
#include "table/MailBoxButton.h"

namespace kavo {

CaoRuaView::CaoRuaView()
    : GameTableView(CaoRuaMessageHandler::kGameType, "CaoRuaView", "KAVO_CaoRua"),
      setupView_(std::make_shared<menuSetup>()), autoView_(std::make_shared<menuAuto>()) {}

void CaoRuaView::showSetupSoNguoi() {
    openSheet(menuSoNguoi::getInstance());
}

void CaoRuaView::showSetupPassword() {
    openSheet(menuPassword::getInstance());
}

void CaoRuaView::viewDidLoad() {
    GameTableView::viewDidLoad();
    playerDetailView_ = std::make_shared<PlayerDetailView>();
    MailBoxButton::add(*view(), [this] { clickMailBox(); });
}

void CaoRuaView::clickMailBox() {
    MessageView::pushNew();
}

} // namespace kavo
