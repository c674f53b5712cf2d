#pragma once

#include "account/ShopEntry.h"
#include "app/EscapeTarget.h"
#include "app/LanguageTexts.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "portal/model/AccountRecords.h"
#include "portal/model/Avatar.h"
#include "portal/model/ChargeMoneyInfo.h"
#include "portal/model/ShopRecords.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo {

// The shop: one screen kept for the process and laid over whatever screen is showing
// (the screen base adds its view). Four tabs: top-up channels, promotion cards, items
// and avatars for sale (rows, a strip of tiles and the cart), and the purchase
// history. The replies that fill it arrive through the logic handler on the main
// thread. The detail panel of a tile works on the shop's selection and cart.
class ShopView : public platform::ui::ViewController,
                 public EscapeTarget,
                 public platform::ui::TableViewDataSource,
                 public platform::ui::TableViewDelegate {
public:
    static constexpr int kTabNapZel = 1;
    static constexpr int kTabUuDai = 2;
    static constexpr int kTabVatPham = 3;
    static constexpr int kTabLichSu = 4;
    // Tile tags: an entry of the rows, an avatar of the avatar list, a cart entry.
    static constexpr int kRowTileTag = 10000;
    static constexpr int kAvatarTileTag = 20000;
    static constexpr int kCartTileTag = 30000;

    static const std::shared_ptr<ShopView>& getInstance();
    ShopView();
    ~ShopView() override;

    // ---- what the replies fill
    // The top-up channels of the last channel reply; the promotion cards among them.
    void setChannels(const std::vector<std::shared_ptr<ChargeMoneyInfo>>& channels);
    std::vector<std::shared_ptr<ChargeMoneyInfo>>& listNapZel() { return listNapZel_; }
    std::vector<std::shared_ptr<ChargeMoneyInfo>>& listDiscount() { return listDiscount_; }
    // A page of items or avatars: appended to the rows; the reload follows on a later turn.
    void forceReloadDataWithListItemInfo(const std::vector<std::shared_ptr<ItemInfo>>& items);
    void forceReloadDataWithListAvatar(const std::vector<std::shared_ptr<Avatar>>& avatars);
    const std::vector<ShopEntry>& arrTotal() const { return arrTotal_; }
    void set_listAvatars(std::vector<std::shared_ptr<Avatar>> avatars);
    const std::vector<std::shared_ptr<Avatar>>& listAvatars() const { return listAvatars_; }
    void set_listItems(std::vector<std::shared_ptr<ItemInfo>> items) { listItems_ = std::move(items); }
    const std::vector<std::shared_ptr<ItemInfo>>& listItems() const { return listItems_; }
    void set_listTransactionLogs(std::vector<std::shared_ptr<TransactionLog>> logs) {
        listTransactionLogs_ = std::move(logs);
    }
    const std::vector<std::shared_ptr<TransactionLog>>& listTransactionLogs() const { return listTransactionLogs_; }
    void updateThongTinSuDung(const std::string& text);
    const std::string& thongTinSuDung() const { return thongTinSuDung_; }
    // Reloads the table of the tab shown (main thread).
    void forceReloadDataInShopView();

    // ---- tabs and actions
    void doChangeTab(int tab);
    int viewingTabIndex() const { return viewingTabIndex_; }
    void doCloseThisView();
    // Escape closes the shop as its close button does.
    EscapeAnswer closeItself() override {
        doCloseThisView();
        return EscapeAnswer::closed;
    }
    // The item and avatar pages of the ended connection go; the next showing asks again.
    void connectionEnded();
    void purchaseListItems();
    void doLoadItems() { shopKind_ = 2; }
    void doLoadAvatars() {
        isCheckOut_ = false;
        shopKind_ = 1;
    }
    // A row of the tab shown was chosen.
    void selectRow(int row);
    // The items table's drag ended: asks for the next page near its end.
    void loadMoreIfNeeded(platform::ui::ScrollView& table);
    // A tile's button: opens the detail panel next to the tile.
    void showAvatarDetail(const platform::ui::View& tile);
    void reloadScrollViewCheckout();

    // ---- what the dialogs and the detail panel work on
    const ShopEntry& selectedItem() const { return selectedItem_; }
    void setSelectedItem(ShopEntry entry) { selectedItem_ = std::move(entry); }
    std::vector<ShopEntry>& listSelectedItems() { return listSelectedItems_; }
    bool isOver() const { return isOver_; }
    bool isCheckOut() const { return isCheckOut_; }
    int shopKind() const { return shopKind_; }
    bool reloaded() const { return reloaded_; }
    int pageItems() const { return pageItems_; }
    int pageAvatars() const { return pageAvatars_; }

    const std::shared_ptr<platform::ui::TableView>& tableOfTab(int tab) const;
    const std::shared_ptr<platform::ui::ScrollView>& viewShop_scrollViewShop() const { return scrollViewShop_; }
    const std::shared_ptr<platform::ui::ScrollView>& scrollViewCheckout() const { return scrollViewCheckout_; }

    void viewDidLoad() override;
    // The shop is made once: each opening shows the top-up list, reads its texts again in
    // the language in force and, when that language changed since the server's rows were
    // asked for, asks for them again.
    void viewWillAppear(bool animated) override;
    // Forgets everything it was told (tests start from an empty shop).
    void resetForTesting();

    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void didEndDragging(platform::ui::ScrollView& scrollView, bool willDecelerate) override;

private:
    void setUIScreen();
    void buildNapZelView();
    void buildVatPhamView();
    void buildLichSuView();
    void showTab(int tab);
    void requestFirstPages();
    // The channels (44) and the promotion text (72, key 13), in the language in force.
    void requestServerRows();
    void scheduleReload();
    void selectChannel(const std::shared_ptr<ChargeMoneyInfo>& channel, int row);
    void openCardForm(const std::shared_ptr<ChargeMoneyInfo>& channel);
    void selectEntry(const ShopEntry& entry);
    void reloadTiles();
    void addAvatarIntoScrollView(platform::ui::ScrollView& scrollView, const ShopEntry& entry, platform::ui::Point xy,
                                 int tag);
    std::optional<ShopEntry> entryOfTag(int tag) const;
    void fillRow(platform::ui::TableViewCell& cell, int tab, int row);
    void observePurchases();

    int viewingTabIndex_ = 0;
    std::vector<std::shared_ptr<ChargeMoneyInfo>> listNapZel_, listDiscount_;
    std::vector<ShopEntry> arrTotal_;
    std::vector<std::shared_ptr<TransactionLog>> listTransactionLogs_;
    std::vector<std::shared_ptr<Avatar>> listAvatars_;
    std::vector<std::shared_ptr<ItemInfo>> listItems_;
    std::vector<ShopEntry> listSelectedItems_;
    ShopEntry selectedItem_;
    int pageItems_ = 0, pageAvatars_ = 0;
    bool listAvatarHasReload_ = false;
    bool reloaded_ = false;
    bool firstPagesAsked_ = false;
    int selectedIndex_ = -1;
    bool isAdded_ = false;
    bool isOver_ = false;
    int shopKind_ = 1;
    bool isCheckOut_ = false;
    std::string thongTinSuDung_;
    std::string rowsLanguage_;
    std::vector<platform::NotificationCenter::Token> observers_;
    LanguageTexts texts_;

    std::array<std::shared_ptr<platform::ui::Button>, 4> tabButtons_;
    std::array<std::shared_ptr<platform::ui::View>, 4> tabViews_;
    std::array<std::shared_ptr<platform::ui::TableView>, 4> tables_;
    std::shared_ptr<platform::ui::View> contentView_;
    std::shared_ptr<platform::ui::Label> lblThongTinKhuyenMai_, lblTongCong_;
    std::shared_ptr<platform::ui::TextView> txvThongTinKhuyenMai_;
    std::shared_ptr<platform::ui::ScrollView> scrollViewShop_, scrollViewCheckout_;
};

} // namespace kavo
