#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/TableView.h"
#include "portal/model/Player.h"

#include <memory>
#include <vector>

namespace kavo {

class TextRowsSource;

// The in-table invitation list: the players that may be invited to this table.
// The friend-list and waiting-list replies fill it; it reloads on
// forceReloadTableView or showDataTableView. Main thread only.
class InviteView : public CustomUIActionSheetViewController {
public:
    InviteView();
    ~InviteView() override;

    // Makes listPlayers a new empty list.
    void resetListPlayer();
    std::vector<std::shared_ptr<Player>>& listPlayers() { return listPlayers_; }
    const std::vector<std::shared_ptr<Player>>& listPlayers() const { return listPlayers_; }
    void setListPlayers(std::vector<std::shared_ptr<Player>> players);

    void forceReloadTableView();
    void showDataTableView() { forceReloadTableView(); }

    // A repeating timer some tables run while the sheet waits for its list; the
    // friend-list reply stops it.
    const std::shared_ptr<platform::Timer>& countTimer() const { return countTimer_; }
    void setCountTimer(std::shared_ptr<platform::Timer> timer) { countTimer_ = std::move(timer); }
    // Invalidates and drops the timer.
    void stopCountTimer();

    void viewDidLoad() override;
    const std::shared_ptr<platform::ui::TableView>& tableView() const { return tableView_; }

private:
    std::vector<std::shared_ptr<Player>> listPlayers_;
    std::shared_ptr<platform::Timer> countTimer_;
    std::shared_ptr<TextRowsSource> rows_;
    std::shared_ptr<platform::ui::TableView> tableView_;
};

} // namespace kavo
