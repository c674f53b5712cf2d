#include "account/Profile_AchievementView.h"

#include "account/ThanhTichCell.h"
#include "app/Resources.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "social/GameTitles.h"

#include <algorithm>

namespace kavo {

namespace ui = platform::ui;

Profile_AchievementView::Profile_AchievementView() : Profile_AchievementView("Profile_AchievementView") {}

Profile_AchievementView::Profile_AchievementView(const std::string& nibName) : ProfileTab(nibName) {}

Profile_AchievementView::~Profile_AchievementView() {
    if (myTableView_) {
        myTableView_->setDataSource(nullptr);
        myTableView_->setDelegate(nullptr);
    }
}

void Profile_AchievementView::viewDidLoad() {
    ProfileTab::viewDidLoad();
    forceReload_ = false;
    myTableView_ = addTable(*this, *this, rowHeight());
    myTableView_->setAllowsSelection(false);
}

void Profile_AchievementView::updateViewWithAchievement(const Row& achievement, int gameId) {
    const bool listed = std::find(kListGameId.begin(), kListGameId.end(), gameId) != kListGameId.end();
    if (!listed || achievement.size() < 6) {
        platform::log("achievement row of game " + std::to_string(gameId) + " dropped");
        return;
    }
    listAchivement_[gameId] = achievement;
    if (listAchivement_.size() != kListGameId.size()) return;
    listGameAchivement_ = listAchivement_;
    Util::hideLoadingOnView(view());
    forceReloadTableView();
}

void Profile_AchievementView::clearAchievements() {
    listAchivement_.clear();
    listGameAchivement_.clear();
    if (myTableView_) myTableView_->reloadData();
}

void Profile_AchievementView::forceReloadTableView() {
    forceReload_ = true;
    if (myTableView_) myTableView_->reloadData();
}

double Profile_AchievementView::rowHeight() const {
    return Util::isPad() ? 343 : 143;
}

double Profile_AchievementView::headerHeight() const {
    return Util::isPad() ? 72 : 30;
}

const char* Profile_AchievementView::gameNameKey(int gameId) {
    const GameTitle* game = rankedGameOfType(gameId);
    return game && game->achievementOrder >= 0 ? game->rankingTitleKey.data() : "KAVO_moreGames";
}

int Profile_AchievementView::numberOfSections(ui::TableView& /*table*/) {
    return int(kListGameId.size());
}

int Profile_AchievementView::numberOfRows(ui::TableView& /*table*/, int section) {
    if (section < 0 || size_t(section) >= kListGameId.size()) return 0;
    return listGameAchivement_.count(kListGameId[size_t(section)]) ? 1 : 0;
}

double Profile_AchievementView::heightForRow(ui::TableView& /*table*/, const ui::IndexPath& /*indexPath*/) {
    return rowHeight();
}

double Profile_AchievementView::heightForHeader(ui::TableView& /*table*/, int /*section*/) {
    return headerHeight();
}

ui::ViewPtr Profile_AchievementView::makeHeader(ui::TableView& table, const std::string& title) {
    const bool pad = Util::isPad();
    return profile_rows::sectionHeader({table.bounds().width(), headerHeight()},
                                       {table.bounds().width(), pad ? 78.0 : 32.0}, title, pad ? 30 : 15);
}

ui::ViewPtr Profile_AchievementView::viewForHeader(ui::TableView& table, int section) {
    if (section < 0 || size_t(section) >= kListGameId.size()) return nullptr;
    return makeHeader(table, Resources::getInstance().textWithKey(gameNameKey(kListGameId[size_t(section)])));
}

std::shared_ptr<ThanhTichCell> Profile_AchievementView::makeCell(ui::TableView& table) {
    auto cell = ThanhTichCell::make(cellIdentifier());
    cell->imgBackground()->setFrame({0, 0, table.bounds().width(), Util::isPad() ? 347.0 : 145.0});
    cell->imgBackground()->setImage(Util::getImageWithName(stripe_.nextImageName()));
    return cell;
}

std::shared_ptr<ui::TableViewCell> Profile_AchievementView::cellForRow(ui::TableView& table,
                                                                       const ui::IndexPath& indexPath) {
    std::shared_ptr<ThanhTichCell> cell;
    if (!forceReload_) cell = std::dynamic_pointer_cast<ThanhTichCell>(table.dequeueReusableCell(cellIdentifier()));
    if (!cell) cell = makeCell(table);
    if (indexPath.section < 0 || size_t(indexPath.section) >= kListGameId.size()) return cell;
    const auto found = listGameAchivement_.find(kListGameId[size_t(indexPath.section)]);
    if (found != listGameAchivement_.end()) cell->fill(found->second);
    return cell;
}

} // namespace kavo
