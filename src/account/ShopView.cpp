#include "account/ShopView.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "platform/runtime/RunLoop.h"
#include "table/SheetPanel.h"
#include "table/TextRowsSource.h"

namespace kavo {

const std::shared_ptr<ShopView>& ShopView::getInstance() {
    static const std::shared_ptr<ShopView> instance = std::make_shared<ShopView>();
    return instance;
}

ShopView::ShopView() : CustomUIActionSheetViewController("ShopView"), rows_(std::make_shared<TextRowsSource>()) {}

ShopView::~ShopView() = default;

void ShopView::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {20, 30, 440, 270}, res.textWithKey("KAVO_Shop_VatPham"));
    setActionSheetView(panel);
    tblShop_ = rows_->makeTable({10, 32, 420, 170}, "tblShop");
    panel->addSubview(tblShop_);
    lblThongTinSuDung_ = SheetPanel::addLabel(*panel, {10, 205, 420, 20}, "lblThongTinSuDung", thongTinSuDung_);
    SheetPanel::addButton(*panel, {170, 230, 100, 32}, "btnClose_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { btnClose_Clicked(); });
    forceReloadDataInShopView();
}

void ShopView::forceReloadDataInShopView() {
    std::vector<std::string> avatars, items, channels;
    for (const auto& avatar : listAvatars_) {
        if (avatar)
            avatars.push_back(std::string(1, '#')
                                  .append(std::to_string(avatar->avatarId()))
                                  .append("  ")
                                  .append(Util::formatNumber(avatar->price())));
    }
    for (const auto& item : listItems_) {
        if (item) items.push_back(item->name() + "  " + Util::formatNumber(item->price()));
    }
    for (const auto& channel : listNapZel_) {
        if (channel) channels.push_back(channel->info());
    }
    rows_->setSections({std::move(items), std::move(avatars), std::move(channels)});
    if (tblShop_) tblShop_->reloadData();
}

void ShopView::forceReloadDataWithListItemInfo(std::vector<std::shared_ptr<ItemInfo>> items) {
    platform::runOnMainThread([this, items = std::move(items)] {
        listItems_.insert(listItems_.end(), items.begin(), items.end());
        forceReloadDataInShopView();
    });
}

void ShopView::forceReloadDataWithListAvatar(std::vector<std::shared_ptr<Avatar>> avatars) {
    platform::runOnMainThread([this, avatars = std::move(avatars)] {
        listAvatars_.insert(listAvatars_.end(), avatars.begin(), avatars.end());
        forceReloadDataInShopView();
    });
}

void ShopView::updateThongTinSuDung(const std::string& text) {
    thongTinSuDung_ = text;
    if (lblThongTinSuDung_) lblThongTinSuDung_->setText(text);
}

} // namespace kavo
