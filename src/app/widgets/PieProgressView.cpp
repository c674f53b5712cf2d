#include "app/widgets/PieProgressView.h"

#include "platform/ui/Path.h"

#include <algorithm>

namespace kavo {

PieProgressView::PieProgressView(platform::ui::Rect frame, platform::ui::Color fillColor)
    : View(frame), fillColor_(fillColor) {
    setOpaque(false);
    setBackgroundColor(platform::ui::Color::clear());
}

void PieProgressView::setProgress(float progress) {
    progress_ = progress;
    setNeedsDisplay();
}

float PieProgressView::clampedProgress() {
    progress_ = std::clamp(progress_, 0.0f, 1.0f);
    return progress_;
}

void PieProgressView::fillSector(platform::ui::GraphicsContext& context, double radiusFactor, double from,
                                 double to) const {
    const platform::ui::Rect area = bounds();
    const double radius = area.width() * 0.5 * radiusFactor;
    const platform::ui::Point centre{area.x() + area.width() / 2, area.y() + area.height() / 2};
    context.setFillColor(fillColor_);
    context.fillPath(platform::ui::Path::pieSector(centre, radius, from, to));
}

} // namespace kavo
