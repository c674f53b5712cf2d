#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "portal/model/AccountRecords.h"
#include "portal/model/Asset.h"
#include "portal/model/Avatar.h"
#include "portal/model/ShopRecords.h"
#include "portal/model/User.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class TextRowsSource;

// The profile's assets page: bought items, bought avatars and event items.
class ProfileAssetsView : public platform::ui::View {
public:
    explicit ProfileAssetsView(platform::ui::Rect frame = {});

    void set_listBoughtItems(std::vector<std::shared_ptr<UserItemInfo>> items) { listBoughtItems_ = std::move(items); }
    const std::vector<std::shared_ptr<UserItemInfo>>& listBoughtItems() const { return listBoughtItems_; }
    void set_listBoughtAvatars(std::vector<std::shared_ptr<Avatar>> avatars) {
        listBoughtAvatars_ = std::move(avatars);
    }
    const std::vector<std::shared_ptr<Avatar>>& listBoughtAvatars() const { return listBoughtAvatars_; }
    void set_listEventItems(std::vector<std::shared_ptr<Asset>> items) { listEventItems_ = std::move(items); }
    const std::vector<std::shared_ptr<Asset>>& listEventItems() const { return listEventItems_; }
    void forceReloadTableView();

    // The avatar the player picked to wear.
    int32_t selectedAvatarID() const { return selectedAvatarID_; }
    void setSelectedAvatarID(int32_t id) { selectedAvatarID_ = id; }

private:
    std::vector<std::shared_ptr<UserItemInfo>> listBoughtItems_;
    std::vector<std::shared_ptr<Avatar>> listBoughtAvatars_;
    std::vector<std::shared_ptr<Asset>> listEventItems_;
    int32_t selectedAvatarID_ = 0;
    std::shared_ptr<TextRowsSource> rows_;
    std::shared_ptr<platform::ui::TableView> tableView_;
};

// The profile's transaction page.
class ProfileTransactionView : public platform::ui::View {
public:
    explicit ProfileTransactionView(platform::ui::Rect frame = {});

    void setTransactionList(std::vector<std::shared_ptr<TransactionLog>> logs) { transactionList_ = std::move(logs); }
    const std::vector<std::shared_ptr<TransactionLog>>& transactionList() const { return transactionList_; }
    void forceReloadData();

private:
    std::vector<std::shared_ptr<TransactionLog>> transactionList_;
    std::shared_ptr<TextRowsSource> rows_;
    std::shared_ptr<platform::ui::TableView> tableView_;
};

// The signed-in player's profile: personal data, assets, achievements, transactions.
class ProfileView : public KavoViewController {
public:
    ProfileView();

    const std::shared_ptr<ProfileAssetsView>& assetsView() const { return assetsView_; }
    const std::shared_ptr<ProfileTransactionView>& transactionView() const { return transactionView_; }

    void onMyUserDataWithUser(const std::shared_ptr<User>& user);
    const std::shared_ptr<User>& user() const { return user_; }
    // The achievement numbers of one game (the first is the game type).
    void onMyAchievementWithGameId(int gameId, const std::vector<int32_t>& achivement);
    const std::vector<int32_t>& achievement() const { return achievement_; }

    void viewDidLoad() override;

private:
    std::shared_ptr<ProfileAssetsView> assetsView_;
    std::shared_ptr<ProfileTransactionView> transactionView_;
    std::shared_ptr<User> user_;
    std::vector<int32_t> achievement_;
    std::shared_ptr<platform::ui::Label> lblName_;
};

} // namespace kavo
