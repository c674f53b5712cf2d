#include "table/menuSoNguoi.h"

#include "app/Resources.h"
#include "table/SheetPanel.h"

namespace kavo {

const std::shared_ptr<menuSoNguoi>& menuSoNguoi::getInstance() {
    static const std::shared_ptr<menuSoNguoi> instance = std::make_shared<menuSoNguoi>();
    return instance;
}

menuSoNguoi::menuSoNguoi() : CustomUIActionSheetViewController("menuSoNguoi") {}

void menuSoNguoi::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {110, 80, 260, 140}, res.textWithKey("KAVO_setNumPlayers"));
    setActionSheetView(panel);
    SheetPanel::addLabel(*panel, {20, 40, 220, 40}, "lblPlayers",
                         res.textWithKey("KAVO_player_3") + " / " + res.textWithKey("KAVO_player_4"));
    SheetPanel::addButton(*panel, {80, 90, 100, 34}, "btnCancel_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { btnCancel_Clicked(); });
}

} // namespace kavo
