#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "portal/model/Player.h"

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <vector>

namespace kavo {

// The rankings: the richest players and the strongest of each game, among the whole
// community (paged as the player scrolls) or among friends (one reply). The richest tab
// shows one list; the strongest tab first shows a picker of the fourteen games, then the
// chosen game's list. The ranking replies append to its community lists on the main
// thread while it is the top screen. Main thread only.
class LeaderboardView : public KavoViewController,
                        public platform::ui::TableViewDataSource,
                        public platform::ui::TableViewDelegate {
public:
    using Rows = std::vector<std::shared_ptr<Player>>;
    static constexpr int kTabNone = 0;
    static constexpr int kTabRichest = 1;
    static constexpr int kTabStrongest = 2;
    // The list table's tag: only its drags load further pages.
    static constexpr int kListTableTag = 202;

    LeaderboardView();
    ~LeaderboardView() override;

    Rows& listTopRichests() { return listTopRichests_; }
    // The community's strongest players of a game type; nullptr for a type outside the
    // fourteen.
    Rows* listTopForGame(int gameType);
    void set_listTopRichestsBetweenFriend(Rows rows);
    const Rows& listTopRichestsBetweenFriend() const { return listTopRichestsBetweenFriend_; }
    void set_listTopPlayersBetweenFriends(Rows rows);
    const Rows& listTopPlayersBetweenFriends() const { return listTopPlayersBetweenFriends_; }

    // Reloads the list table, hides its loading indicator and allows the next page.
    void forceReloadDataDanhSach();

    void viewDidLoad() override;
    // Every showing starts over: richest tab, community mode, empty lists, page 0 asked.
    void viewDidAppear(bool animated) override;

    // ---- the player's actions
    void doChangeTab(int tag); // 1 richest, 2 strongest
    void btnFriends_Clicked();
    void btnCommunity_Clicked();
    void btnBack_Clicked();
    // The picker's row: that game's list.
    void chooseGameAtRow(int row);

    // ---- tables
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    void willBeginDragging(platform::ui::ScrollView& scrollView) override;
    void didEndDragging(platform::ui::ScrollView& scrollView, bool willDecelerate) override;

    // ---- what the screen shows
    // The list the list table shows now (by mode and tab).
    const Rows& shownList();
    int viewingTabIndex() const { return viewingTabIndex_; }
    bool isFriendModeON() const { return isFriendModeON_; }
    bool bValViewCaoThu() const { return bValViewCaoThu_; }
    int selectGameID() const { return selectGameID_; }
    bool isReloaded() const { return isReloaded_; }
    const std::shared_ptr<platform::ui::TableView>& tblViewDanhSach() const { return tblViewDanhSach_; }
    const std::shared_ptr<platform::ui::TableView>& tblViewIconGames() const { return tblViewIconGames_; }
    const platform::ui::ViewPtr& viewIconGames() const { return viewIconGames_; }
    const platform::ui::ViewPtr& viewDanhSach() const { return viewDanhSach_; }
    const std::shared_ptr<platform::ui::Label>& lblCaoThuName() const { return lblCaoThuName_; }
    const std::shared_ptr<platform::ui::Label>& lblLevel() const { return lblLevel_; }
    const std::shared_ptr<platform::ui::Button>& btnTopDaiGia() const { return btnTopDaiGia_; }
    const std::shared_ptr<platform::ui::Button>& btnTopCaoThu() const { return btnTopCaoThu_; }
    const std::shared_ptr<platform::ui::Button>& btnBanBe() const { return btnBanBe_; }
    const std::shared_ptr<platform::ui::Button>& btnCongDong() const { return btnCongDong_; }
    const std::shared_ptr<platform::ui::Button>& btnBack() const { return btnBack_; }

private:
    void setUIScreen();
    void setUIScreenForViewDanhSach();
    void showTopRichest();
    void showTopPlayer();
    void showGamesIcon();
    void styleModes();
    void showListLoading();
    // Queued: the screen may be gone when it runs.
    void queueReloadDanhSach();
    void resetLists();
    // The community page counter of the richest list (0) or a game type; nullptr outside.
    int* pageCounter(int gameType);
    std::shared_ptr<platform::ui::TableViewCell> makeRowCell(platform::ui::TableView& table);
    void fillPlayerRow(platform::ui::TableViewCell& cell, const Player& player);
    void fillGameRow(platform::ui::TableViewCell& cell, int row);

    int viewingTabIndex_ = kTabNone;
    bool bValViewCaoThu_ = false;
    bool isFriendModeON_ = false;
    bool isReloaded_ = false;
    bool hasScrolled_ = false;
    bool isAdded_ = false;
    int selectGameID_ = 0;
    int pageDaiGia_ = 0;
    // One counter per game of the picker, in the picker's order.
    std::array<int, 14> pageGames_{};

    Rows listTopRichests_;
    // One community list per game of the picker, in the picker's order, and the one
    // list no reply fills.
    std::array<Rows, 14> listTopGames_;
    Rows listTopXepGach_;
    // Games whose first page was asked (main thread only).
    std::set<int> firstPageAsked_;
    Rows listTopRichestsBetweenFriend_;
    Rows listTopPlayersBetweenFriends_;

    std::shared_ptr<platform::ui::Label> lblTitleBangXepHang_;
    std::shared_ptr<platform::ui::Button> btnTopDaiGia_, btnTopCaoThu_;
    platform::ui::ViewPtr mainView_;
    platform::ui::ViewPtr viewBanBe_, viewCongDong_;
    std::shared_ptr<platform::ui::Button> btnBanBe_, btnCongDong_;
    platform::ui::ViewPtr viewIconGames_;
    std::shared_ptr<platform::ui::Label> lblChonTroChoi_;
    std::shared_ptr<platform::ui::TableView> tblViewIconGames_;
    platform::ui::ViewPtr viewDanhSach_;
    std::shared_ptr<platform::ui::TableView> tblViewDanhSach_;
    std::shared_ptr<platform::ui::Label> lblCaoThuName_, lblTrangThai_, lblLevel_;
    std::shared_ptr<platform::ui::Button> btnBack_;
    std::shared_ptr<platform::ui::ImageView> imgViewIconBack_;
};

} // namespace kavo
