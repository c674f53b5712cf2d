#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "portal/model/User.h"
#include "table/registry/GameRecords.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class Profile_AchievementView;
class Profile_AssetsView;
class Profile_TransactionView;
class Profile_UserDataView;

// The signed-in player's own profile: four tabs (personal data, items, achievements,
// transactions) over one content area. Each tab is made on first use and kept; switching
// hides and shows them. The logic handler hands the replies to the tabs while this screen
// is on top. Main thread only.
class ProfileView : public KavoViewController {
public:
    static constexpr int kTabInfo = 1;
    static constexpr int kTabItems = 2;
    static constexpr int kTabAchievements = 3;
    static constexpr int kTabTransactions = 4;
    // The games whose achievements are asked for, in the order they are asked.
    static constexpr auto kAchievementRequests =
        gameTypesInOrder<placesIn(&GameRecord::ownAchievementRequestOrder)>(&GameRecord::ownAchievementRequestOrder);

    ProfileView();

    void viewDidLoad() override;
    // Opens the info tab each time the screen shows and asks for the record again.
    void viewDidAppear(bool animated) override;
    // The personal data's picker goes with the screen: it is not up when the screen
    // shows again.
    void viewWillDisappear(bool animated) override;

    // The tab buttons' action.
    void doChangeTab(int tag);
    // `isProfileView` is always true here: each tab takes the content area's size.
    void showTab(platform::ui::Rect rect, int index, bool isProfileView, int32_t userId);

    // The top-up panel over the top screen, with the channels asked for (44).
    void doTopupZel();

    void onMyUserDataWithUser(const std::shared_ptr<User>& user);
    // The info tab shows the player's money as the client knows it now.
    void showMyMoney();
    // The info tab shows the avatar the player wears now.
    void showMyAvatar();
    void onMyAchievementWithGameId(int gameId, const std::vector<int32_t>& achivement);

    const std::shared_ptr<Profile_UserDataView>& userDataView() const { return userDataView_; }
    const std::shared_ptr<Profile_AssetsView>& assetsView() const { return assetsView_; }
    const std::shared_ptr<Profile_AchievementView>& achievementView() const { return achievementView_; }
    const std::shared_ptr<Profile_TransactionView>& transactionView() const { return transactionView_; }
    const std::shared_ptr<User>& userProfile() const { return userProfile_; }
    int viewingTabIndex() const { return viewingTabIndex_; }
    const platform::ui::ViewPtr& mainView() const { return mainView_; }

private:
    // The own record (1005) and the avatar worn, for an info tab already made.
    void requestMyRecord();
    void setHiddenAllView();
    // Adds a tab's view to the content area, full size, shown.
    void addTab(platform::ui::ViewController& tab);
    bool holds(platform::ui::ViewController* tab) const;

    std::shared_ptr<platform::ui::Button> btnInfo_, btnItems_, btnAchivements_, btnTransaction_;
    std::shared_ptr<platform::ui::Label> lblBanThan_;
    platform::ui::ViewPtr mainView_;
    std::shared_ptr<Profile_UserDataView> userDataView_;
    std::shared_ptr<Profile_AssetsView> assetsView_;
    std::shared_ptr<Profile_AchievementView> achievementView_;
    std::shared_ptr<Profile_TransactionView> transactionView_;
    int viewingTabIndex_ = 0;
    bool achievementSent_ = false;
    std::shared_ptr<User> userProfile_;
};

} // namespace kavo
