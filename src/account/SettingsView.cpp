#include "account/SettingsView.h"

#include "app/EventView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "net/MobileClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Switch.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

struct RowLook {
    int id;
    const char* nameKey;
    const char* icon;
};

constexpr RowLook kSections[] = {{SettingsView::kSectionBoard, "KAVO_setup_board", ""},
                                 {SettingsView::kSectionInfo, "KAVO_Setting_Info", ""},
                                 {SettingsView::kSectionDevice, "KAVO_setup_device", ""}};

constexpr RowLook kRows[] = {
    {SettingsView::kRowSetMoney, "KAVO_setMoney", "icon_tiencuoc_settings.png"},
    {SettingsView::kRowPlayerNumber, "KAVO_PlayerNumber", "icon_songuoichoi.png"},
    {SettingsView::kRowSetPass, "KAVO_setPass", "icon_matkhau.png"},
    {SettingsView::kRowGuide, "KAVO_Setting_Guide", "icon_huongdanchoi.png"},
    {SettingsView::kRowComment, "KAVO_Comment", "icon_gopy.png"},
    {SettingsView::kRowCallHelp, "KAVO_callHelp", "icon_goitrogiup.png"},
    {SettingsView::kRowTellFriend, "KAVO_tellFriend", "icon_gioithieuban.png"},
    {SettingsView::kRowLogout, "KAVO_logout", "icon_dangxuat.png"},
    {SettingsView::kRowVibration, "KAVO_Setting_Vibration", "icon_chedorung.png"},
    {SettingsView::kRowAutoInvite, "KAVO_Setting_AutoInvite", "Icon_batchucnagmoi.png"},
    {SettingsView::kRowSound, "KAVO_Setting_Sound", "amthanh.png"},
    {SettingsView::kRowChangePassword, "KAVO_ChangePassword", "icon_changepass.png"},
};

// Which rows each section shows, in order (tell-a-friend is never shown).
const std::map<int, std::vector<int>>& sectionRows() {
    static const std::map<int, std::vector<int>> rows = {
        {SettingsView::kSectionBoard,
         {SettingsView::kRowSetMoney, SettingsView::kRowPlayerNumber, SettingsView::kRowSetPass}},
        {SettingsView::kSectionInfo,
         {SettingsView::kRowGuide, SettingsView::kRowComment, SettingsView::kRowCallHelp,
          SettingsView::kRowChangePassword, SettingsView::kRowLogout}},
        {SettingsView::kSectionDevice,
         {SettingsView::kRowVibration, SettingsView::kRowAutoInvite, SettingsView::kRowSound}},
    };
    return rows;
}

const char* iconOf(int id) {
    for (const RowLook& row : kRows)
        if (row.id == id) return row.icon;
    return id == 8 ? "icon_ngonngu.png" : "";
}

// The user-defaults key of a switch row.
const char* switchKey(int id) {
    switch (id) {
    case SettingsView::kRowVibration:
        return "savedRung";
    case SettingsView::kRowAutoInvite:
        return "savedInviting";
    case SettingsView::kRowSound:
        return "savedSound";
    default:
        return nullptr;
    }
}

std::string text(const char* key) {
    return Resources::getInstance().getNameWithKey(key).value_or("");
}

void store(bool on, const char* key) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setBool(on, key);
    defaults.synchronize();
}

} // namespace

const std::shared_ptr<SettingsView>& SettingsView::getInstance() {
    static const std::shared_ptr<SettingsView> instance = std::make_shared<SettingsView>();
    return instance;
}

SettingsView::SettingsView() : CustomUIActionSheetViewController("SettingsView") {
    nameRows();
}

void SettingsView::nameRows() {
    // The one sheet serves the whole run: its names are read again at each showing, in the
    // language the player chose last.
    allSettingKeys_.clear();
    allSettingValues_.clear();
    for (const RowLook& section : kSections)
        allSettingKeys_.emplace_back(section.id, text(section.nameKey), 0);
    for (const RowLook& row : kRows)
        allSettingValues_.emplace_back(row.id, text(row.nameKey), 0);
}

SettingsView::~SettingsView() {
    if (tblSetting_) {
        tblSetting_->setDataSource(nullptr);
        tblSetting_->setDelegate(nullptr);
    }
}

const Setting* SettingsView::settingOf(int id) const {
    for (const Setting& setting : allSettingValues_)
        if (setting.sId() == id) return &setting;
    return nullptr;
}

void SettingsView::refreshData(int mode) {
    nameRows();
    keys_.clear();
    names_.clear();
    for (const Setting& section : allSettingKeys_) {
        if (section.sId() == kSectionBoard && mode != 2) continue;
        keys_.push_back(section);
        std::vector<Setting>& rows = names_[section.sId()];
        for (int id : sectionRows().at(section.sId()))
            if (const Setting* row = settingOf(id)) rows.push_back(*row);
    }
    if (tblSetting_) tblSetting_->reloadData();
}

const std::vector<Setting>& SettingsView::rowsOfSection(int sectionId) const {
    static const std::vector<Setting> kNone;
    const auto found = names_.find(sectionId);
    return found == names_.end() ? kNone : found->second;
}

int SettingsView::rowIdAt(const ui::IndexPath& indexPath) const {
    if (indexPath.section < 0 || size_t(indexPath.section) >= keys_.size() || indexPath.row < 0) return -1;
    const auto& rows = rowsOfSection(keys_[size_t(indexPath.section)].sId());
    return size_t(indexPath.row) < rows.size() ? rows[size_t(indexPath.row)].sId() : -1;
}

bool SettingsView::rowEnabled(int id) const {
    switch (id) {
    case kRowSetMoney:
        return isSetMoney_;
    case kRowPlayerNumber:
        return isSetPlayers_;
    case kRowSetPass:
        return isSetPass_;
    default:
        return true;
    }
}

// ---------------------------------------------------------------- layout

void SettingsView::viewDidLoad() {
    CustomUIActionSheetViewController::viewDidLoad();
    // The list is as tall as a header and five rows, so the first look ends on a whole
    // row ("Đăng xuất" away from a table) above the close button, not half under it.
    auto strip = ui::View::make(Util::changeRectFromRect({0, 0, 480, 300}));
    strip->setBackgroundColor(ui::Color::clear());
    view()->addSubview(strip);
    auto box = SheetPanel::build(*strip, {80, 0, 320, 300}, "");
    languageTexts().text(SheetPanel::titleOf(*box), "KAVO_Settings");
    setActionSheetView(strip);
    tblSetting_ = ui::TableView::make(Util::changeRectFromRect({6, 30, 308, 230}), ui::TableViewStyle::Grouped);
    tblSetting_->setAccessibilityIdentifier("tblSetting");
    tblSetting_->setBackgroundColor(ui::Color::clear());
    tblSetting_->setDataSource(this);
    tblSetting_->setDelegate(this);
    box->addSubview(tblSetting_);
    // Its only button is Return's too, as a notice's only button is.
    const auto close = SheetPanel::addButton(*box, {110, 264, 100, 32}, "btnClose_Clicked", "", [this] { slideOut(); });
    languageTexts().title(close, "KAVO_cancel");
    setDefaultButton(close);
    tblSetting_->reloadData();
}

int SettingsView::numberOfSections(ui::TableView& /*table*/) {
    return int(keys_.size());
}

int SettingsView::numberOfRows(ui::TableView& /*table*/, int section) {
    if (section < 0 || size_t(section) >= keys_.size()) return 0;
    return int(rowsOfSection(keys_[size_t(section)].sId()).size());
}

double SettingsView::heightForRow(ui::TableView& /*table*/, const ui::IndexPath& /*indexPath*/) {
    return 40 * Util::iPad();
}

double SettingsView::heightForHeader(ui::TableView& /*table*/, int /*section*/) {
    return 30 * Util::iPad();
}

ui::ViewPtr SettingsView::viewForHeader(ui::TableView& table, int section) {
    if (section < 0 || size_t(section) >= keys_.size()) return nullptr;
    const double scale = Util::iPad();
    auto header = ui::View::make({0, 0, table.bounds().width(), 30 * scale});
    auto background = ui::ImageView::make(header->bounds());
    background->setImage(Util::getImageWithName("bg_title.png"));
    header->addSubview(background);
    auto label = ui::Label::make({0, 5 * scale, 300 * scale, 20 * scale});
    label->setBackgroundColor(ui::Color::clear());
    label->setTextColor(ui::Color::gray());
    label->setFont(ui::Font::boldSystem(12 * scale));
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setText(keys_[size_t(section)].name());
    header->addSubview(label);
    return header;
}

std::shared_ptr<ui::TableViewCell> SettingsView::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell("SettingsCellIdentifier");
    if (!cell) {
        cell = ui::TableViewCell::make(ui::TableViewCellStyle::Default, "SettingsCellIdentifier");
        auto icon = ui::ImageView::make(Util::changeRectFromRect({10, 10, 20, 20}));
        icon->setTag(kTagIcon);
        cell->contentView()->addSubview(icon);
        auto name = ui::Label::make(Util::changeRectFromRect({35, 10, 150, 20}));
        name->setTag(kTagName);
        name->setBackgroundColor(ui::Color::clear());
        name->setFont(ui::Font::boldSystem(12 * Util::iPad()));
        name->setTextAlignment(ui::TextAlignment::Left);
        cell->contentView()->addSubview(name);
    }
    cell->setBackgroundColor(ui::Color::rgba(40, 50, 80));
    if (ui::View* old = cell->contentView()->viewWithTag(kTagSwitch)) old->removeFromSuperview();
    const int id = rowIdAt(indexPath);
    const Setting* setting = settingOf(id);
    auto* name = dynamic_cast<ui::Label*>(cell->contentView()->viewWithTag(kTagName));
    auto* icon = dynamic_cast<ui::ImageView*>(cell->contentView()->viewWithTag(kTagIcon));
    if (!setting || !name || !icon) return cell;
    name->setText(setting->name());
    name->setTextColor(ui::Color::white());
    icon->setImage(Util::getImageWithName(iconOf(id)));
    cell->setAccessibilityIdentifier("settingRow" + std::to_string(id));
    cell->setUserInteractionEnabled(true);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Gray);
    if (const char* key = switchKey(id)) {
        auto toggle = ui::Switch::make(Util::changeRectFromRect({250, 5, 50, 20}));
        toggle->setTag(kTagSwitch);
        toggle->setAccessibilityIdentifier(key);
        toggle->setBackgroundColor(ui::Color::clear());
        toggle->setOn(platform::UserDefaults::standard().boolForKey(key));
        std::weak_ptr<ui::Switch> weak = toggle;
        toggle->addTarget(ui::ControlEvent::ValueChanged, [this, id, weak] {
            auto flipped = weak.lock();
            if (!flipped) return;
            if (id == kRowVibration) btnVibration_Clicked(flipped->isOn());
            if (id == kRowAutoInvite) btnInvite_Clicked(flipped->isOn());
            if (id == kRowSound) btnSound_Clicked(flipped->isOn());
        });
        cell->contentView()->addSubview(toggle);
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
    } else if (!rowEnabled(id)) {
        cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        cell->setUserInteractionEnabled(false);
        name->setTextColor(ui::Color::gray());
    }
    return cell;
}

std::optional<ui::IndexPath> SettingsView::willSelectRow(ui::TableView& /*table*/, const ui::IndexPath& indexPath) {
    // A greyed table row takes no touch.
    if (!rowEnabled(rowIdAt(indexPath))) return std::nullopt;
    return indexPath;
}

// ---------------------------------------------------------------- rows and switches

void SettingsView::didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    table.deselectRow(indexPath);
    const int id = rowIdAt(indexPath);
    auto under = topScreenAs<KavoViewController>();
    switch (id) {
    case kRowGuide: {
        auto guide = EventView::make("EventView");
        guide->view();
        if (auto navigation = KavoOnlineAppDelegate::getInstance().navigationController())
            navigation->pushViewController(guide, true);
        guide->setTitleLabel(Resources::getInstance().textWithKey("KAVO_guide"));
        guide->loadWebViewWithURL(Resources::getInstance().configString("LinkGuide"));
        slideOut();
        return;
    }
    case kRowComment:
        if (under) under->showGopY();
        slideOut();
        return;
    case kRowCallHelp: {
        const std::string hotline = Resources::getInstance().configString("Hotline");
        if (!Util::isPad()) {
            UIController::callHotline(hotline);
            return;
        }
        UIController::showNotice(Resources::getInstance().textWithKey("KAVO_callHelp") + " " + hotline);
        return;
    }
    case kRowLogout:
        MobileClient::getInstance().disconnect();
        return;
    case kRowSetMoney:
    case kRowPlayerNumber:
    case kRowSetPass:
    case kRowChangePassword:
        if (under) {
            if (id == kRowSetMoney) under->showBetOnBoard();
            if (id == kRowPlayerNumber) under->showPlayersOnBoard();
            if (id == kRowSetPass) under->showPassOnBoard();
            if (id == kRowChangePassword) under->changeMyPassord();
        }
        slideOut();
        return;
    default:
        return;
    }
}

void SettingsView::btnSound_Clicked(bool on) {
    store(on, "savedSound");
    UIController::setSound(on);
    if (on) {
        UIController::playMusicBackground();
    } else {
        UIController::stopMusicBackgrond();
    }
}

void SettingsView::btnVibration_Clicked(bool on) {
    store(on, "savedRung");
    UIController::setRung(on);
}

void SettingsView::btnInvite_Clicked(bool on) {
    store(on, "savedInviting");
    UIController::setInviting(on);
}

} // namespace kavo
