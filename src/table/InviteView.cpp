#include "table/InviteView.h"

#include "app/Resources.h"
#include "portal/GlobalService.h"
#include "table/SheetPanel.h"
#include "table/TextRowsSource.h"

namespace kavo {

InviteView::InviteView() : CustomUIActionSheetViewController("InviteView") {}

InviteView::~InviteView() {
    stopCountTimer();
}

void InviteView::resetListPlayer() {
    listPlayers_.clear();
}

void InviteView::setListPlayers(std::vector<std::shared_ptr<Player>> players) {
    listPlayers_.clear();
    for (auto& player : players) {
        if (player) listPlayers_.push_back(std::move(player));
    }
}

void InviteView::stopCountTimer() {
    if (countTimer_) countTimer_->invalidate();
    countTimer_.reset();
}

void InviteView::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {90, 40, 300, 240}, res.textWithKey("KAVO_invite"));
    setActionSheetView(panel);
    rows_ = std::make_shared<TextRowsSource>();
    rows_->setOnSelect([this](int, int row) {
        if (row < 0 || size_t(row) >= listPlayers_.size()) return;
        GlobalService::getInstance().requestInviteWithUserId(listPlayers_[size_t(row)]->IDDB());
    });
    tableView_ = rows_->makeTable({10, 32, 280, 160}, "tblInvite");
    panel->addSubview(tableView_);
    SheetPanel::addButton(*panel, {100, 200, 100, 32}, "btnClose_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { slideOut(); });
    forceReloadTableView();
}

void InviteView::forceReloadTableView() {
    if (!rows_) return; // not shown yet: the rows are read when it loads
    std::vector<std::string> names;
    for (const auto& player : listPlayers_)
        names.push_back(player->name());
    rows_->setRows(std::move(names));
    tableView_->reloadData();
}

} // namespace kavo
