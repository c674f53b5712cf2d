#include "app/widgets/TimerProgressView.h"

#include <numbers>

namespace kavo {

TimerProgressView::TimerProgressView(platform::ui::Rect frame)
    : PieProgressView(frame, platform::ui::Color::white(0, 0.5)) {}

std::shared_ptr<TimerProgressView> TimerProgressView::make(platform::ui::Rect frame) {
    return std::make_shared<TimerProgressView>(frame);
}

void TimerProgressView::draw(platform::ui::GraphicsContext& context) {
    const float progress = clampedProgress();
    if (progress <= 0) return;
    // The part that has run: from 12 o'clock clockwise.
    const double from = -std::numbers::pi / 2;
    fillSector(context, 1.5, from, from + 2 * std::numbers::pi * progress);
}

} // namespace kavo
