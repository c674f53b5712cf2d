#include "app/widgets/TimerProgressView.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Path.h"

#include <algorithm>
#include <numbers>

namespace kavo {

using platform::ui::Color;

TimerProgressView::TimerProgressView(platform::ui::Rect frame) : View(frame) {
    setOpaque(false);
    setBackgroundColor(Color::clear());
}

std::shared_ptr<TimerProgressView> TimerProgressView::make(platform::ui::Rect frame) {
    return std::make_shared<TimerProgressView>(frame);
}

void TimerProgressView::setProgress(float progress) {
    progress_ = progress;
    setNeedsDisplay();
}

void TimerProgressView::draw(platform::ui::GraphicsContext& context) {
    const platform::ui::Rect area = bounds();
    const double radius = area.width() * 0.5 * 1.5;
    const platform::ui::Point centre{area.x() + area.width() / 2, area.y() + area.height() / 2};
    progress_ = std::clamp(progress_, 0.0f, 1.0f);
    if (progress_ <= 0) return;
    // The part that has run: from 12 o'clock clockwise.
    const double from = -std::numbers::pi / 2;
    context.setFillColor(fillColor_);
    context.fillPath(platform::ui::Path::pieSector(centre, radius, from, from + 2 * std::numbers::pi * progress_));
}

} // namespace kavo
