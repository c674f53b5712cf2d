#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "portal/model/AccountRecords.h"
#include "portal/model/Avatar.h"
#include "portal/model/ChargeMoneyInfo.h"
#include "portal/model/ShopRecords.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class TextRowsSource;

// The shop: avatars, items, top-up channels, discounts and the transaction history.
// One instance, opened over any screen (the screen base adds its view). The shop and
// payment replies fill its lists; the reloads run on the main thread.
class ShopView : public CustomUIActionSheetViewController {
public:
    static const std::shared_ptr<ShopView>& getInstance();
    ShopView();
    ~ShopView() override;

    // The id of the avatar or item the player chose, and the chosen item.
    int32_t selectObjectID() const { return selectObjectID_; }
    void setSelectObjectID(int32_t id) { selectObjectID_ = id; }
    const std::shared_ptr<ItemInfo>& selectedItem() const { return selectedItem_; }
    void setSelectedItem(std::shared_ptr<ItemInfo> item) { selectedItem_ = std::move(item); }

    void set_listAvatars(std::vector<std::shared_ptr<Avatar>> avatars) { listAvatars_ = std::move(avatars); }
    const std::vector<std::shared_ptr<Avatar>>& listAvatars() const { return listAvatars_; }
    void set_listItems(std::vector<std::shared_ptr<ItemInfo>> items) { listItems_ = std::move(items); }
    const std::vector<std::shared_ptr<ItemInfo>>& listItems() const { return listItems_; }
    // Top-up channels and the discounted ones among them.
    std::vector<std::shared_ptr<ChargeMoneyInfo>>& listNapZel() { return listNapZel_; }
    std::vector<std::shared_ptr<ChargeMoneyInfo>>& listDiscount() { return listDiscount_; }
    void set_listTransactionLogs(std::vector<std::shared_ptr<TransactionLog>> logs) {
        listTransactionLogs_ = std::move(logs);
    }
    const std::vector<std::shared_ptr<TransactionLog>>& listTransactionLogs() const { return listTransactionLogs_; }

    // Reloads the shop's table (main thread).
    void forceReloadDataInShopView();
    // Append the rows to the shop's lists and reload on the main thread (any thread).
    void forceReloadDataWithListItemInfo(std::vector<std::shared_ptr<ItemInfo>> items);
    void forceReloadDataWithListAvatar(std::vector<std::shared_ptr<Avatar>> avatars);
    // The usage text of the top-up page.
    void updateThongTinSuDung(const std::string& text);
    const std::string& thongTinSuDung() const { return thongTinSuDung_; }

    void viewDidLoad() override;
    void btnClose_Clicked() { slideOut(); }
    const std::shared_ptr<platform::ui::TableView>& tblShop() const { return tblShop_; }

private:
    int32_t selectObjectID_ = 0;
    std::shared_ptr<ItemInfo> selectedItem_;
    std::vector<std::shared_ptr<Avatar>> listAvatars_;
    std::vector<std::shared_ptr<ItemInfo>> listItems_;
    std::vector<std::shared_ptr<ChargeMoneyInfo>> listNapZel_;
    std::vector<std::shared_ptr<ChargeMoneyInfo>> listDiscount_;
    std::vector<std::shared_ptr<TransactionLog>> listTransactionLogs_;
    std::string thongTinSuDung_;
    std::shared_ptr<TextRowsSource> rows_;
    std::shared_ptr<platform::ui::TableView> tblShop_;
    std::shared_ptr<platform::ui::Label> lblThongTinSuDung_;
};

} // namespace kavo
