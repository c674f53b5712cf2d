#include "account/ProfileSubAchievementView.h"

#include "account/ProfileRows.h"
#include "account/ThanhTichCell.h"
#include "app/Util.h"

namespace kavo {

namespace {

// The smaller cell is the own cell's layout at this scale.
constexpr double kCellScale = 0.72;

} // namespace

ProfileSubAchievementView::ProfileSubAchievementView() : Profile_AchievementView("ProfileSubAchievementView") {}

double ProfileSubAchievementView::rowHeight() const {
    return Util::isPad() ? 254 : 106;
}

platform::ui::ViewPtr ProfileSubAchievementView::makeHeader(platform::ui::TableView& /*table*/,
                                                            const std::string& title) {
    const platform::ui::Size size = Util::isPad() ? platform::ui::Size{680, 30} : platform::ui::Size{295, 20};
    return profile_rows::sectionHeader(size, size, title, 15);
}

std::shared_ptr<ThanhTichCell> ProfileSubAchievementView::makeCell(platform::ui::TableView& /*table*/) {
    return ThanhTichCell::make(cellIdentifier(), kCellScale);
}

} // namespace kavo
