#include "app/widgets/CircularProgressIndicator.h"

#include <numbers>

namespace kavo {

using platform::ui::Color;

CircularProgressIndicator::CircularProgressIndicator(platform::ui::Rect frame)
    : PieProgressView(frame, Color::white()) {}

std::shared_ptr<CircularProgressIndicator> CircularProgressIndicator::make(platform::ui::Rect frame) {
    return std::make_shared<CircularProgressIndicator>(frame);
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
    const float progress = clampedProgress();
    startAngle_ = float(-std::numbers::pi / 2);
    fillColor_ = colorForProgress(progress, fillColor_);
    if (progress >= 1) return; // nothing of the turn is left
    // The part still to run: from where the hand stands now, clockwise, round to 12 o'clock.
    // The circle reaches past the corners of a square view, so the sweep covers all of it.
    fillSector(context, 1.47, startAngle_ + 2 * std::numbers::pi * progress, startAngle_ + 2 * std::numbers::pi);
}

} // namespace kavo
