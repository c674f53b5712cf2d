#include "table/menuPassword.h"

#include "app/Resources.h"
#include "portal/GlobalService.h"
#include "table/GameController.h"
#include "table/GameTableView.h"
#include "table/SheetPanel.h"

namespace kavo {

const std::shared_ptr<menuPassword>& menuPassword::getInstance() {
    static const std::shared_ptr<menuPassword> instance = std::make_shared<menuPassword>();
    return instance;
}

menuPassword::menuPassword(const std::string& nibName) : CustomUIActionSheetViewController(nibName) {}

void menuPassword::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {110, 80, 260, 140}, res.textWithKey("KAVO_dat_pass"));
    setActionSheetView(panel);
    txfPassword_ = SheetPanel::addField(*panel, {20, 40, 220, 30}, "txfPassword", res.textWithKey("KAVO_nhap_pass"));
    SheetPanel::addButton(*panel, {20, 90, 100, 34}, "btnOK_Clicked", res.textWithKey("KAVO_OK"),
                          [this] { btnOK_Clicked(); });
    SheetPanel::addButton(*panel, {140, 90, 100, 34}, "btnCancel_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { btnCancel_Clicked(); });
}

void menuPassword::viewWillAppear(bool animated) {
    CustomUIActionSheetViewController::viewWillAppear(animated);
    view(); // the field exists from here on
    if (txfPassword_) txfPassword_->setText("");
}

void menuPassword::btnOK_Clicked() {
    // An empty password takes the lock off the board.
    if (auto table = GameController::topTableView()) {
        GlobalService::getInstance().setPasswordWithRoomId(table->roomId(), table->boardId(),
                                                           txfPassword_ ? txfPassword_->text() : std::string());
    }
    slideOut();
}

} // namespace kavo
