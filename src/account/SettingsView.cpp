#include "account/SettingsView.h"

#include "app/EventView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "table/SheetPanel.h"
#include "table/TextRowsSource.h"

namespace kavo {

namespace {

std::string text(const char* key) {
    return Resources::getInstance().textWithKey(key);
}

std::string onOff(bool on) {
    return text(on ? "KAVO_on" : "KAVO_off");
}

// Flips one switch of the settings and remembers it in the user defaults.
void flip(bool (*get)(), void (*set)(bool), const char* defaultsKey) {
    const bool on = !get();
    set(on);
    auto& defaults = platform::UserDefaults::standard();
    defaults.setBool(on, defaultsKey);
    defaults.synchronize();
}

} // namespace

const std::shared_ptr<SettingsView>& SettingsView::getInstance() {
    static const std::shared_ptr<SettingsView> instance = std::make_shared<SettingsView>();
    return instance;
}

SettingsView::SettingsView()
    : CustomUIActionSheetViewController("SettingsView"), rows_(std::make_shared<TextRowsSource>()) {
    rows_->setOnSelect([this](int section, int row) { selectRow(section, row); });
}

SettingsView::~SettingsView() = default;

void SettingsView::refreshData(int mode) {
    mode_ = mode;
    sections_.clear();
    if (mode == 2) sections_.push_back({text("KAVO_setMoney"), text("KAVO_setNumPlayers"), text("KAVO_setPass")});
    sections_.push_back({text("KAVO_guide"), text("KAVO_Setting_Sound") + ": " + onOff(UIController::sound()),
                         text("KAVO_Setting_Vibration") + ": " + onOff(UIController::rung()),
                         text("KAVO_Setting_AutoInvite") + ": " + onOff(UIController::inviting()),
                         text("KAVO_changePass"), text("KAVO_Comment")});
    rows_->setSections(sections_);
    if (tblSetting_) tblSetting_->reloadData();
}

void SettingsView::selectRow(int section, int row) {
    auto under =
        std::dynamic_pointer_cast<KavoViewController>(KavoOnlineAppDelegate::getInstance().topViewController());
    if (mode_ == 2 && section == 0) {
        slideOut();
        if (!under) return;
        if (row == 0) under->showBetOnBoard();
        if (row == 1) under->showPlayersOnBoard();
        if (row == 2) under->showPassOnBoard();
        return;
    }
    switch (row) {
    case 0: {
        slideOut();
        auto guide = EventView::make("EventView");
        if (auto nav = KavoOnlineAppDelegate::getInstance().navigationController())
            nav->pushViewController(guide, true);
        guide->setTitleLabel(text("KAVO_guide"));
        guide->loadWebViewWithURL(Resources::getInstance().configString("LinkGuide"));
        return;
    }
    case 1:
        flip(&UIController::sound, &UIController::setSound, "savedSound");
        break;
    case 2:
        flip(&UIController::rung, &UIController::setRung, "savedRung");
        break;
    case 3:
        flip(&UIController::inviting, &UIController::setInviting, "savedInviting");
        break;
    case 4:
        slideOut();
        if (under) under->changeMyPassord();
        return;
    case 5:
        slideOut();
        if (under) under->showGopY();
        return;
    default:
        return;
    }
    refreshData(mode_);
}

void SettingsView::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {90, 30, 300, 270}, text("KAVO_setup_device"));
    setActionSheetView(panel);
    tblSetting_ = rows_->makeTable({10, 32, 280, 190}, "tblSetting");
    panel->addSubview(tblSetting_);
    SheetPanel::addButton(*panel, {100, 228, 100, 32}, "btnClose_Clicked", text("KAVO_cancel"),
                          [this] { btnClose_Clicked(); });
    refreshData(mode_);
}

} // namespace kavo
