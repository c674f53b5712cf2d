#pragma once

#include "account/ProfileRows.h"
#include "account/ProfileTab.h"
#include "platform/ui/TableView.h"
#include "table/registry/GameRecords.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace kavo {

class ThanhTichCell;

// The achievements tab: one section per game, each with one row of the player's results
// in that game. Rows are kept by game; the table shows once every listed game has its
// row. Another player's profile derives its smaller tab from it. Main thread only.
class Profile_AchievementView : public ProfileTab,
                                public platform::ui::TableViewDataSource,
                                public platform::ui::TableViewDelegate {
public:
    using Row = std::vector<int32_t>;
    // The display order; Tetris is asked for but not shown.
    static constexpr auto kListGameId =
        gameTypesInOrder<placesIn(&GameRecord::achievementOrder)>(&GameRecord::achievementOrder);

    Profile_AchievementView();
    explicit Profile_AchievementView(const std::string& nibName);
    ~Profile_AchievementView() override;

    void viewDidLoad() override;
    // One arriving row (game id, experience, wins, losses, draws, give-ups). A row of a
    // game outside the list, or a short one, is dropped; a later row of a game replaces
    // its earlier row.
    void updateViewWithAchievement(const Row& achievement, int gameId);
    // Forgets every row (before asking again for another player).
    void clearAchievements();
    void forceReloadTableView();

    // The rows shown, once every listed game has one (empty before).
    const std::map<int, Row>& listGameAchivement() const { return listGameAchivement_; }
    const std::shared_ptr<platform::ui::TableView>& myTableView() const { return myTableView_; }

    int numberOfSections(platform::ui::TableView& table) override;
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    double heightForHeader(platform::ui::TableView& table, int section) override;
    platform::ui::ViewPtr viewForHeader(platform::ui::TableView& table, int section) override;

protected:
    // What the other player's tab changes: sizes, header and cell.
    virtual double rowHeight() const;
    virtual double headerHeight() const;
    virtual platform::ui::ViewPtr makeHeader(platform::ui::TableView& table, const std::string& title);
    virtual std::shared_ptr<ThanhTichCell> makeCell(platform::ui::TableView& table);
    virtual const char* cellIdentifier() const { return "ThanhTichCellIdentifier"; }
    // The language key of a game's name in its section header.
    static const char* gameNameKey(int gameId);

private:
    std::map<int, Row> listAchivement_;
    std::map<int, Row> listGameAchivement_;
    bool forceReload_ = false;
    RowStripe stripe_;
    std::shared_ptr<platform::ui::TableView> myTableView_;
};

} // namespace kavo
