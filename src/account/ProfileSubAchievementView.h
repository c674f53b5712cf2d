#pragma once

#include "account/Profile_AchievementView.h"

namespace kavo {

// Another player's achievements in the profile panel: the own tab's table in smaller rows
// and headers, without the striped backgrounds.
class ProfileSubAchievementView : public Profile_AchievementView {
public:
    ProfileSubAchievementView();

protected:
    double rowHeight() const override;
    double headerHeight() const override { return 20; }
    platform::ui::ViewPtr makeHeader(platform::ui::TableView& table, const std::string& title) override;
    std::shared_ptr<ThanhTichCell> makeCell(platform::ui::TableView& table) override;
    const char* cellIdentifier() const override { return "ThanhTichSubCellIdentifier"; }
};

} // namespace kavo
