#pragma once

#include "account/ProfileRows.h"
#include "account/ProfileTab.h"
#include "platform/ui/TableView.h"
#include "portal/model/Asset.h"
#include "portal/model/Avatar.h"
#include "portal/model/ShopRecords.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class TransferMoneyView;

// The items tab: what the player owns, in three sections (avatars, items, event items)
// under a header that opens the money transfer. Choosing an owned avatar that is not worn
// asks whether to wear it (the app dialog's action 30 does it). Main thread only.
class Profile_AssetsView : public ProfileTab,
                           public platform::ui::TableViewDataSource,
                           public platform::ui::TableViewDelegate {
public:
    static constexpr int kSectionTransfer = 0;
    static constexpr int kSectionAvatars = 1;
    static constexpr int kSectionItems = 2;
    static constexpr int kSectionEvents = 3;

    Profile_AssetsView();
    ~Profile_AssetsView() override;

    void viewDidLoad() override;
    // Asks for the owned avatars (1010), items (101/3) and event items (101/16).
    void viewDidAppear(bool animated) override;
    static void requestAssets();

    void set_listBoughtAvatars(std::vector<std::shared_ptr<Avatar>> avatars) {
        listBoughtAvatars_ = std::move(avatars);
    }
    const std::vector<std::shared_ptr<Avatar>>& listBoughtAvatars() const { return listBoughtAvatars_; }
    void set_listBoughtItems(std::vector<std::shared_ptr<UserItemInfo>> items) { listBoughtItems_ = std::move(items); }
    const std::vector<std::shared_ptr<UserItemInfo>>& listBoughtItems() const { return listBoughtItems_; }
    void set_listEventItems(std::vector<std::shared_ptr<Asset>> items) { listEventItems_ = std::move(items); }
    const std::vector<std::shared_ptr<Asset>>& listEventItems() const { return listEventItems_; }
    // Reloads the table and hides the tab's loading indicator.
    void forceReloadTableView();

    // Opens the money-transfer sheet over the top screen.
    void showTransferZel();
    const std::shared_ptr<TransferMoneyView>& transferMoneyView() const { return transferMoneyView_; }

    // The avatar chosen to wear; read by the app dialog's handler.
    int32_t selectedAvatarID() const { return selectedAvatarID_; }
    void setSelectedAvatarID(int32_t id) { selectedAvatarID_ = id; }
    int rowIndex() const { return rowIndex_; }
    const std::vector<std::string>& myAssets() const { return myAssets_; }
    const std::shared_ptr<platform::ui::TableView>& myTableView() const { return myTableView_; }

    int numberOfSections(platform::ui::TableView& table) override;
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForHeader(platform::ui::TableView& table, int section) override;
    platform::ui::ViewPtr viewForHeader(platform::ui::TableView& table, int section) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;

private:
    std::vector<std::string> myAssets_;
    std::vector<std::shared_ptr<Avatar>> listBoughtAvatars_;
    std::vector<std::shared_ptr<UserItemInfo>> listBoughtItems_;
    std::vector<std::shared_ptr<Asset>> listEventItems_;
    int32_t selectedAvatarID_ = 0;
    int rowIndex_ = -1;
    RowStripe stripe_;
    std::shared_ptr<TransferMoneyView> transferMoneyView_;
    std::shared_ptr<platform::ui::TableView> myTableView_;
};

} // namespace kavo
