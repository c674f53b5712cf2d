#include "app/widgets/CircularProgressIndicator.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Path.h"

#include <algorithm>
#include <numbers>

namespace kavo {

using platform::ui::Color;

CircularProgressIndicator::CircularProgressIndicator(platform::ui::Rect frame) : View(frame) {
    setOpaque(false);
    setBackgroundColor(Color::clear());
}

std::shared_ptr<CircularProgressIndicator> CircularProgressIndicator::make(platform::ui::Rect frame) {
    return std::make_shared<CircularProgressIndicator>(frame);
}

void CircularProgressIndicator::setProgress(float progress) {
    progress_ = progress;
    setNeedsDisplay();
}

Color CircularProgressIndicator::colorForProgress(float progress, Color previous) {
    // The 0.8 bound is compared in double precision on purpose: a single-precision 0.8
    // lies just above it and already counts as red.
    if (progress <= 0) return previous;
    if (progress <= 0.5) return Color::green();
    if (double(progress) <= 0.8) return Color::yellow();
    return Color::red();
}

void CircularProgressIndicator::draw(platform::ui::GraphicsContext& context) {
    const platform::ui::Rect area = bounds();
    // Past the corners of a square view, so the sweep covers all of it.
    const double radius = area.width() * 0.5 * 1.47;
    const platform::ui::Point centre{area.x() + area.width() / 2, area.y() + area.height() / 2};
    progress_ = std::clamp(progress_, 0.0f, 1.0f);
    startAngle_ = float(-std::numbers::pi / 2);
    fillColor_ = colorForProgress(progress_, fillColor_);
    if (progress_ >= 1) return; // nothing of the turn is left
    // The part still to run: from where the hand stands now, clockwise, round to 12 o'clock.
    const double from = startAngle_ + 2 * std::numbers::pi * progress_;
    const double to = startAngle_ + 2 * std::numbers::pi;
    context.setFillColor(fillColor_);
    context.fillPath(platform::ui::Path::pieSector(centre, radius, from, to));
}

} // namespace kavo
