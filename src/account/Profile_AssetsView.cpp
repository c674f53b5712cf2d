#include "account/Profile_AssetsView.h"

#include "account/CellTaiSan.h"
#include "account/TransferMoneyView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "portal/GlobalService.h"

#include <optional>

namespace kavo {

namespace ui = platform::ui;

namespace {

// The lists of owned avatars and event items carry no price: their rows show none rather
// than a price of 0 that the player never paid.
std::string priceText(std::optional<int32_t> price) {
    return price ? Util::formatNumber(*price) + " Zel" : "";
}

} // namespace

Profile_AssetsView::Profile_AssetsView() : ProfileTab("Profile_AssetsView") {}

Profile_AssetsView::~Profile_AssetsView() {
    if (myTableView_) {
        myTableView_->setDataSource(nullptr);
        myTableView_->setDelegate(nullptr);
    }
}

void Profile_AssetsView::viewDidLoad() {
    ProfileTab::viewDidLoad();
    myAssets_ = {text("KAVO_TransferZel"), text("KAVO_avatar"), text("KAVO_items"), text("KAVO_EventItem")};
    myTableView_ = addTable(*this, *this, Util::isPad() ? 98 : 41);
}

void Profile_AssetsView::requestAssets() {
    GlobalService& service = GlobalService::getInstance();
    service.requestBoughtAvatars();
    service.requestGetUserItemsByCategory(2, 0, 0);
    service.requestEventItems();
}

void Profile_AssetsView::viewDidAppear(bool animated) {
    ProfileTab::viewDidAppear(animated);
    requestAssets();
}

void Profile_AssetsView::forceReloadTableView() {
    stripe_.reset();
    if (myTableView_) myTableView_->reloadData();
    Util::hideLoadingOnView(view());
}

void Profile_AssetsView::showTransferZel() {
    if (!transferMoneyView_) transferMoneyView_ = std::make_shared<TransferMoneyView>();
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    if (!top) return;
    top->view()->addSubview(transferMoneyView_->view());
    transferMoneyView_->viewWillAppear(true);
}

int Profile_AssetsView::numberOfSections(ui::TableView& /*table*/) {
    return int(myAssets_.size());
}

int Profile_AssetsView::numberOfRows(ui::TableView& /*table*/, int section) {
    switch (section) {
    case kSectionAvatars:
        return int(listBoughtAvatars_.size());
    case kSectionItems:
        return int(listBoughtItems_.size());
    case kSectionEvents:
        return int(listEventItems_.size());
    default:
        return 0;
    }
}

double Profile_AssetsView::heightForHeader(ui::TableView& /*table*/, int /*section*/) {
    return Util::isPad() ? 72 : 30;
}

ui::ViewPtr Profile_AssetsView::viewForHeader(ui::TableView& table, int section) {
    if (section < 0 || size_t(section) >= myAssets_.size()) return nullptr;
    const bool pad = Util::isPad();
    const double width = table.bounds().width();
    const double height = pad ? 72 : 30;
    const std::string& title = myAssets_[size_t(section)];
    if (title != text("KAVO_TransferZel"))
        return profile_rows::sectionHeader({width, height}, {width, pad ? 76.0 : 32.0}, title, pad ? 30 : 15);
    auto header = ui::View::make({0, 0, width, height});
    header->setBackgroundColor(ui::Color::clear());
    auto button = ui::Button::make({0, 0, width, height});
    button->setAccessibilityIdentifier("showTransferZel");
    button->setBackgroundImage(Util::getImageWithName("button_yellow_no.png"));
    button->setTitle(title);
    button->setTitleColor(ui::Color::white());
    button->titleLabel()->setFont(ui::Font::boldSystem(15 * Util::iPad()));
    button->setShowsTouchWhenHighlighted(true);
    button->onTouchUpInside([this] { showTransferZel(); });
    header->addSubview(button);
    return header;
}

std::shared_ptr<ui::TableViewCell> Profile_AssetsView::cellForRow(ui::TableView& table,
                                                                  const ui::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<CellTaiSan>(table.dequeueReusableCell(CellTaiSan::kIdentifier));
    if (!cell) cell = CellTaiSan::make(table.bounds().width());
    const size_t row = size_t(indexPath.row);
    if (indexPath.row < 0) return cell;
    Resources& resources = Resources::getInstance();
    auto fill = [&](int32_t picture, const std::string& name, std::optional<int32_t> price, const std::string& term) {
        cell->setBackground(Util::getImageWithName(stripe_.nextImageName()));
        resources.assignAvatarId(picture, cell->imgViewItem());
        cell->lblTenVatPham()->setText(name);
        cell->lblSoTien()->setText(priceText(price));
        cell->lblThoiHan()->setText(term);
    };
    switch (indexPath.section) {
    case kSectionAvatars:
        if (row < listBoughtAvatars_.size() && listBoughtAvatars_[row]) {
            const Avatar& avatar = *listBoughtAvatars_[row];
            fill(avatar.avatarId(), avatar.name(), std::nullopt, avatar.desc());
        }
        break;
    case kSectionItems:
        if (row < listBoughtItems_.size() && listBoughtItems_[row]) {
            const UserItemInfo& item = *listBoughtItems_[row];
            fill(item.itemId(), item.name(), item.price(), "");
        }
        break;
    case kSectionEvents:
        if (row < listEventItems_.size() && listEventItems_[row]) {
            const Asset& asset = *listEventItems_[row];
            fill(asset.imgAssetId(), asset.name(), std::nullopt, asset.description());
        }
        break;
    default:
        break;
    }
    return cell;
}

void Profile_AssetsView::didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    table.deselectRow(indexPath);
    rowIndex_ = indexPath.row;
    if (indexPath.section != kSectionAvatars || indexPath.row < 0) return;
    const size_t row = size_t(indexPath.row);
    if (row >= listBoughtAvatars_.size() || !listBoughtAvatars_[row]) return;
    const int32_t avatarId = listBoughtAvatars_[row]->avatarId();
    if (avatarId == UIController::myInfo()->avatar()) return;
    selectedAvatarID_ = avatarId;
    UIController::startCancelOkDlg(text("KAVO_Change_Avatar"), text("KAVO_cancel"), text("KAVO_OK"),
                                   {UIController::kActionChooseAvatar});
}

} // namespace kavo
