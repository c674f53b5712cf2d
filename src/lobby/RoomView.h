#pragma once

#include "app/KavoViewController.h"
#include "platform/foundation/Value.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "portal/model/RoomInfo.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class RefreshTableHeaderView;
class TransferMoneyView;

// The rooms of the current game grouped by level (normal, rich, VIP), each with a fill
// gauge; pull-to-refresh, a refresh button, play now and money transfer. Choosing a room
// opens its board list. The lobby goes from the game grid straight to the board list,
// so nothing opens this screen and nothing fills its rooms yet: whoever does sets keys()
// and names(), then calls dataSourceDidFinishLoadingNewData once they are shown.
class RoomView : public KavoViewController,
                 public platform::ui::TableViewDataSource,
                 public platform::ui::TableViewDelegate {
public:
    // The gauge's five segments fill above these shares of taken places.
    static constexpr std::array<double, 5> kGaugeThresholds{0, 0.2, 0.5, 0.7, 0.95};
    // Places of a room.
    static constexpr int kRoomPlaces = 120;

    RoomView();
    ~RoomView() override;

    static platform::Value gameRoomName();
    static void setGameRoomName(platform::Value name);

    // One room level per section, in section order, and the rooms of each level.
    const std::vector<int>& keys() const { return keys_; }
    void setKeys(std::vector<int> keys) { keys_ = std::move(keys); }
    const std::map<int, std::vector<std::shared_ptr<RoomInfo>>>& names() const { return names_; }
    void setNames(std::map<int, std::vector<std::shared_ptr<RoomInfo>>> names) { names_ = std::move(names); }
    std::vector<std::shared_ptr<RoomInfo>>& roomList() { return roomList_; }

    bool reloading() const { return reloading_; }
    void setReloading(bool reloading) { reloading_ = reloading; }
    const std::shared_ptr<RefreshTableHeaderView>& refreshHeaderView() const { return refreshHeaderView_; }
    const std::shared_ptr<platform::ui::TableView>& tableView() const { return tableView_; }
    const std::shared_ptr<platform::ui::Button>& btnRefresh() const { return btnRefresh_; }

    // The share of a room's places that are taken, and whether gauge segment k is full.
    static double fillOfRoom(int roomFree);
    static bool isSegmentFull(int roomFree, int segment);

    // ---- actions
    void doUpdateRoomList(); // refresh button
    void doFindAutoBoard();  // play now (command 28, or 1901 for Poker)
    void doTangZel();        // the money-transfer panel
    void refreshTableView(platform::ui::TableView& table) { table.reloadData(); }
    void showMenuView() {}
    // A reload has been shown: the header and the refresh button are ready again.
    void dataSourceDidFinishLoadingNewData();

    bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const override;

    // ---- life cycle
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    // ---- table
    int numberOfSections(platform::ui::TableView& table) override;
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    double heightForHeader(platform::ui::TableView& table, int section) override;
    platform::ui::ViewPtr viewForHeader(platform::ui::TableView& table, int section) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    // ---- pull to refresh (the header knows how far is far enough)
    void didScroll(platform::ui::ScrollView& scrollView) override;
    void didEndDragging(platform::ui::ScrollView& scrollView, bool willDecelerate) override;

private:
    void setUIScreen();
    std::shared_ptr<RoomInfo> roomAt(const platform::ui::IndexPath& indexPath) const;

    std::vector<int> keys_;
    std::map<int, std::vector<std::shared_ptr<RoomInfo>>> names_;
    std::vector<std::shared_ptr<RoomInfo>> roomList_;
    bool reloading_ = false;

    std::shared_ptr<platform::ui::TableView> tableView_;
    std::shared_ptr<RefreshTableHeaderView> refreshHeaderView_;
    std::shared_ptr<platform::ui::Label> lblAutoFind_, lblRefresh_, lblTangZel_, lblNapZel_, lblDangXuat_;
    std::shared_ptr<platform::ui::Button> btnAutoFind_, btnRefresh_, btnTangZel_, btnNapZel_, btnDangXuat_;
    std::shared_ptr<TransferMoneyView> transferMoneyView_;
};

} // namespace kavo
