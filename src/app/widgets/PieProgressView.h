#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/View.h"

namespace kavo {

// What the seat's two round clocks share: a progress from 0 to 1, drawn as a pie sector
// of a circle a little larger than the view (so the sweep covers its corners).
class PieProgressView : public platform::ui::View {
public:
    float strokeWidth() const { return strokeWidth_; }
    void setStrokeWidth(float width) { strokeWidth_ = width; }
    platform::ui::Color fillColor() const { return fillColor_; }
    void setFillColor(platform::ui::Color color) { fillColor_ = color; }
    platform::ui::Color fillBackgroundColor() const { return fillBackgroundColor_; }
    void setFillBackgroundColor(platform::ui::Color color) { fillBackgroundColor_ = color; }
    float progress() const { return progress_; }
    // Stored as given; clamped when drawn.
    void setProgress(float progress);

protected:
    PieProgressView(platform::ui::Rect frame, platform::ui::Color fillColor);
    // Clamps the progress to 0..1 (the drawing keeps the clamped value).
    float clampedProgress();
    // Fills the sector from `from` to `to` (radians, clockwise from 3 o'clock) in the
    // fill colour; `radiusFactor` times half the width is the circle's radius.
    void fillSector(platform::ui::GraphicsContext& context, double radiusFactor, double from, double to) const;

    platform::ui::Color fillColor_;

private:
    float strokeWidth_ = 0;
    platform::ui::Color fillBackgroundColor_ = platform::ui::Color::clear();
    float progress_ = 0;
};

} // namespace kavo
