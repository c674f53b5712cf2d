#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"
#include "portal/model/Player.h"
#include "portal/model/User.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class EventView;
class LeaderboardView;
class ProfileView;

// The signed-in player's home: name, money and avatar, a grid of fifteen buttons (the
// fourteen games and more games), the friends in two tabs (online, all) and the buttons
// to the event page, the player's profile and the rankings. Choosing a game asks the
// server for it; the server's answer opens the board list.
class GameView : public KavoViewController,
                 public platform::ui::TableViewDataSource,
                 public platform::ui::TableViewDelegate,
                 public platform::ui::AlertViewDelegate {
public:
    // The friend tabs' tags.
    static constexpr int kTabOnline = 1;
    static constexpr int kTabAll = 2;
    // The grid: fourteen games and the more-games button.
    static constexpr int kGridButtonCount = 15;

    GameView();
    ~GameView() override;

    // ---- what the logic handler calls
    void setUsernameWithName(const std::string& name);
    // Shows the player's money as the client knows it now.
    void showMyMoney();
    // Replaces the full friend list (then forceReloadData).
    void set_arrayAllFriends(std::vector<std::shared_ptr<Player>> friends);
    const std::vector<std::shared_ptr<Player>>& arrayAllFriends() const { return arrayAllFriends_; }
    const std::vector<std::shared_ptr<Player>>& arrayOnlineFriends() const { return arrayOnlineFriends_; }
    // Reloads the friend table and removes its spinner.
    void forceReloadData();
    void set_infoMoreGames(const std::string& address) { infoMoreGames_ = address; }
    const std::string& infoMoreGames() const { return infoMoreGames_; }
    // Asks whether to open the other-games page.
    void doShowMoreGames();
    // The player-profile panel shows another player's record or achievements.
    void onOtherUserDataWithUser(const std::shared_ptr<User>& user);
    void onOtherAchievementWithGameId(int32_t userId, int gameId, const std::vector<int32_t>& achievement);
    bool _hasProfileSubView() const { return hasProfileSubView_; }
    void set_hasProfileSubView(bool has) { hasProfileSubView_ = has; }
    int _selectedFriendID() const { return selectedFriendID_; }
    void set_selectedFriendID(int id) { selectedFriendID_ = id; }

    // ---- actions
    // A game button: remembers its game type and joins it (command 61).
    void selectGame(int gameType);
    int selectedGameID() const { return selectedGameID_; }
    // The more-games button: asks the server for the address (command 72, key 3).
    void doJoinGameKhac();
    // The friend tabs (tag 1 online, tag 2 all); the shown tab again does nothing.
    void doChangeTab(int tag);
    void showOnlineFriend();
    void showAllFriend();
    void doShowEventView();
    void doShowProfileView();
    void doShowLeaderboard();
    // Enables, disables or removes the fifteen grid buttons.
    void setEnableControl();
    void setDisableControl();
    void removeSelectObjects();
    // (Re)builds the grid.
    void LoadIcon();

    // ---- parts, for the logic handler and tests
    int viewingTabIndex() const { return viewingTabIndex_; }
    bool friendOnline() const { return friendOnline_; }
    const std::shared_ptr<platform::ui::ScrollView>& scrollView() const { return scrollView_; }
    const std::shared_ptr<platform::ui::TableView>& mainTableView() const { return mainTableView_; }
    const std::vector<std::shared_ptr<platform::ui::Button>>& gridButtons() const { return gridButtons_; }
    const std::shared_ptr<platform::ui::Label>& lblUserName() const { return lblUserName_; }
    const std::shared_ptr<platform::ui::Label>& lblPlayerMoney() const { return lblPlayerMoney_; }

    // ---- life cycle
    void viewDidLoad() override;
    // The game grid is left by the swipe alone, which leaves the server.
    bool hidesBackButton() const override { return true; }
    bool backLeavesTheServer() const override { return true; }
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    // ---- friend table
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    bool canEditRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void commitEditingStyle(platform::ui::TableView& table, platform::ui::TableViewCellEditingStyle style,
                            const platform::ui::IndexPath& indexPath) override;
    std::string titleForDeleteConfirmationButton(platform::ui::TableView& table,
                                                 const platform::ui::IndexPath& indexPath) override;
    // ---- the more-games question
    void clickedButtonAtIndex(platform::ui::AlertView& alert, int index) override;

private:
    void setUIScreen();
    void joinGame();
    void hideLoading();
    void rebuildOnlineFriends();
    const std::vector<std::shared_ptr<Player>>& shownFriends() const;
    void styleTab(const std::shared_ptr<platform::ui::Button>& tab, bool selected);

    std::shared_ptr<platform::ui::ScrollView> scrollView_;
    std::shared_ptr<platform::ui::Label> lblSelectGame_;
    std::shared_ptr<platform::ui::TableView> mainTableView_;
    std::shared_ptr<platform::ui::Button> btnAll_, btnOnline_;
    std::shared_ptr<platform::ui::Label> lblUserName_, lblPlayerMoney_;
    std::shared_ptr<platform::ui::ImageView> playerAvatar_;
    std::shared_ptr<platform::ui::Button> btnChat_, btnNapZel_, btnEvent_, btnProfile_, btnLeaderboard_;
    std::vector<std::shared_ptr<platform::ui::Button>> gridButtons_;

    int selectedGameID_ = 0;
    std::vector<std::shared_ptr<Player>> arrayAllFriends_;
    std::vector<std::shared_ptr<Player>> arrayOnlineFriends_;
    int viewingTabIndex_ = 0;
    bool friendOnline_ = true;
    bool isAdded_ = false;
    std::string infoMoreGames_;
    bool hasProfileSubView_ = false;
    int selectedFriendID_ = 0;
    std::shared_ptr<platform::ui::AlertView> moreGamesAlert_;

    std::shared_ptr<EventView> eventView_;
    std::shared_ptr<ProfileView> profileView_;
    std::shared_ptr<LeaderboardView> leaderboardView_;
};

} // namespace kavo
