#include "table/sheets/menuSoNguoi.h"

#include "app/Text.h"
#include "table/base/ActionController.h"
#include "table/base/GameTableView.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

const std::shared_ptr<menuSoNguoi>& menuSoNguoi::getInstance() {
    static const std::shared_ptr<menuSoNguoi> instance = std::make_shared<menuSoNguoi>();
    return instance;
}

menuSoNguoi::menuSoNguoi() : CustomUIActionSheetViewController("menuSoNguoi") {}

void menuSoNguoi::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {140, 70, 200, 170}, "");
    setActionSheetView(panel);
    languageTexts().text(SheetPanel::titleOf(*panel), "KAVO_setNumPlayers");
    btn4Nguoi_ = SheetPanel::addButton(*panel, {30, 36, 140, 34}, "btn4Nguoi", "", [this] { doSet4Players(); });
    btn3Nguoi_ = SheetPanel::addButton(*panel, {30, 78, 140, 34}, "btn3Nguoi", "", [this] { doSet3Players(); });
    btn2nguoi_ = SheetPanel::addButton(*panel, {30, 120, 140, 34}, "btn2nguoi", "", [this] { doSetSoloPlayers(); });
}

void menuSoNguoi::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    btn4Nguoi_->setTitle(text("KAVO_player_4"));
    btn3Nguoi_->setTitle(text("KAVO_player_3"));
    btn2nguoi_->setTitle(text("KAVO_solo"));
}

void menuSoNguoi::doSet4Players() {
    sendMax(0, false);
}

void menuSoNguoi::doSet3Players() {
    sendMax(1, false);
}

void menuSoNguoi::doSetSoloPlayers() {
    sendMax(0, true);
}

void menuSoNguoi::sendMax(int fewer, bool solo) {
    auto table = ActionController::currentTable();
    const int8_t most = table ? table->mostPlayers() : int8_t(0);
    if (most > 0) table->requestMaxPlayers(solo ? int8_t(2) : int8_t(most - fewer));
    slideOut();
}

} // namespace kavo
