#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/View.h"

#include <memory>

namespace kavo {

// A circular indicator that fills, in one colour, the pie of the part that has run:
// from 12 o'clock clockwise to progress x 360 degrees.
class TimerProgressView : public platform::ui::View {
public:
    explicit TimerProgressView(platform::ui::Rect frame = {});
    static std::shared_ptr<TimerProgressView> make(platform::ui::Rect frame = {});

    float strokeWidth() const { return strokeWidth_; }
    void setStrokeWidth(float width) { strokeWidth_ = width; }
    platform::ui::Color fillColor() const { return fillColor_; }
    void setFillColor(platform::ui::Color color) { fillColor_ = color; }
    platform::ui::Color fillBackgroundColor() const { return fillBackgroundColor_; }
    void setFillBackgroundColor(platform::ui::Color color) { fillBackgroundColor_ = color; }
    float progress() const { return progress_; }
    void setProgress(float progress);

    void draw(platform::ui::GraphicsContext& context) override;

private:
    float strokeWidth_ = 0;
    platform::ui::Color fillColor_ = platform::ui::Color::white(0, 0.5);
    platform::ui::Color fillBackgroundColor_ = platform::ui::Color::clear();
    float progress_ = 0;
};

} // namespace kavo
