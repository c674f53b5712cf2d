#include "table/sheets/menuSetup.h"

#include "app/Text.h"
#include "table/base/ActionController.h"
#include "table/base/GameTableView.h"
#include "table/registry/GameController.h"
#include "table/registry/GameRecords.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

menuSetup::menuSetup() : CustomUIActionSheetViewController("menuSetup") {}

void menuSetup::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {140, 70, 200, 170}, text("KAVO_setting"));
    setActionSheetView(panel);
    btnCuoc_ = SheetPanel::addButton(*panel, {30, 36, 140, 34}, "btnCuoc", "", [this] { doSetupMoney(); });
    btnSoNguoi_ = SheetPanel::addButton(*panel, {30, 78, 140, 34}, "btnSoNguoi", "", [this] { doSetupPlayer(); });
    btnPass_ = SheetPanel::addButton(*panel, {30, 120, 140, 34}, "btnPass", "", [this] { doSetupPassword(); });
}

void menuSetup::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    btnCuoc_->setTitle(text("KAVO_setMoney"));
    btnSoNguoi_->setTitle(text("KAVO_setNumPlayers"));
    btnPass_->setTitle(text("KAVO_setPass"));
    const auto& game = gameRecordOrNone(GameController::gameType());
    btnCuoc_->setEnabled(game.stakeSetting != StakeSetting::ByEachPlayer);
}

void menuSetup::doSetupMoney() {
    slideOut();
    if (!gameRecordOrNone(GameController::gameType()).setupSheetSetsStake) return;
    if (auto table = ActionController::currentTable()) table->showCuoc();
}

void menuSetup::doSetupPlayer() {
    slideOut();
    if (auto table = ActionController::currentTable()) table->showSetupSoNguoi();
}

void menuSetup::doSetupPassword() {
    slideOut();
    if (auto table = ActionController::currentTable()) table->showSetupPassword();
}

menuAuto::menuAuto() : CustomUIActionSheetViewController("menuAuto") {}

void menuAuto::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {140, 110, 200, 90}, text("KAVO_auto"));
    setActionSheetView(panel);
    lblColor_ = SheetPanel::addLabel(*panel, {10, 40, 180, 30}, "lblColor", "");
}

} // namespace kavo
