#include "table/sheets/menuPassword.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/Text.h"
#include "app/Util.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"
#include "table/base/ActionController.h"
#include "table/base/GameTableView.h"
#include "table/registry/TableRules.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

namespace {

// Some tables (Caro, Tetris) ask to enter a password, like the screens off a table.
bool setsPassword(const GameTableView* table) {
    return table && gameRecordOrNone(table->gameType()).setsTablePassword;
}

} // namespace

const std::shared_ptr<menuPassword>& menuPassword::getInstance() {
    static const std::shared_ptr<menuPassword> instance = std::make_shared<menuPassword>();
    return instance;
}

menuPassword::menuPassword(const std::string& nibName) : CustomUIActionSheetViewController(nibName) {}

void menuPassword::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {110, 80, 260, 110}, "");
    setActionSheetView(panel);
    languageTexts().text(SheetPanel::titleOf(*panel), "KAVO_setPass");
    txtPassword_ = SheetPanel::addField(*panel, {20, 38, 220, 30}, "txtPassword", text("KAVO_nhap_pass"));
    txtPassword_->addTarget(platform::ui::ControlEvent::EditingDidBegin, [this] { doBeginEditText(); });
    btnOK_ = SheetPanel::addButton(*panel, {80, 74, 100, 30}, "btnOK", "", [this] { clickOK(); });
    setDefaultButton(btnOK_);
    languageTexts().title(btnOK_, "KAVO_OK");
}

void menuPassword::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    const bool onTable = setsPassword(dynamic_cast<GameTableView*>(top.get()));
    txtPassword_->setPlaceholder(text(onTable ? "KAVO_dat_pass" : "KAVO_nhap_pass"));
    txtPassword_->becomeFirstResponder();
    txtPassword_->setText("");
    txtPassword_->setTextColor(platform::ui::Color::white());
    liftAboveKeyboard();
}

void menuPassword::liftAboveKeyboard() {
    // Without an on-screen keyboard (a desktop window) the sheet stays where it slid in.
    if (!platform::ui::Keyboard::exists()) return;
    platform::ui::View::beginAnimations(PresentAnimationName);
    auto frame = view()->frame();
    oldPoint_ = frame.origin;
    frame.origin = Util::isPad() ? platform::ui::Point{0, 200} : platform::ui::Point{0, 30};
    view()->setFrame(frame);
    platform::ui::View::commitAnimations();
}

void menuPassword::doBeginEditText() {
    liftAboveKeyboard();
}

void menuPassword::clearText() {
    txtPassword_->setText("");
    txtPassword_->becomeFirstResponder();
}

void menuPassword::doSave() {
    doSaveSetPassword(txtPassword_ ? txtPassword_->text() : std::string());
    slideOut();
}

void menuPassword::doSaveSetPassword(const std::string& password) {
    auto table = ActionController::currentTable();
    if (!table || !tableRule(table->gameType())->takesPassword) return;
    GlobalService::getInstance().setPasswordWithRoomId(table->roomId(), table->boardId(), password);
}

} // namespace kavo
