#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/View.h"

#include <memory>

namespace kavo {

// The circular turn countdown inside a seat frame: a pie of the turn still to run, green
// up to half the turn, yellow up to 80 per cent, red after. The empty part opens
// clockwise from 12 o'clock as progress grows from 0 to 1.
class CircularProgressIndicator : public platform::ui::View {
public:
    explicit CircularProgressIndicator(platform::ui::Rect frame = {});
    static std::shared_ptr<CircularProgressIndicator> make(platform::ui::Rect frame = {});

    float strokeWidth() const { return strokeWidth_; }
    void setStrokeWidth(float width) { strokeWidth_ = width; }
    // Replaced by each drawing from the progress (white before the first).
    platform::ui::Color fillColor() const { return fillColor_; }
    void setFillColor(platform::ui::Color color) { fillColor_ = color; }
    platform::ui::Color fillBackgroundColor() const { return fillBackgroundColor_; }
    void setFillBackgroundColor(platform::ui::Color color) { fillBackgroundColor_ = color; }
    float progress() const { return progress_; }
    // Stored as given; clamped when drawn.
    void setProgress(float progress);
    float startAngle() const { return startAngle_; }

    void draw(platform::ui::GraphicsContext& context) override;
    // The colour for a clamped progress; `previous` for progress 0.
    static platform::ui::Color colorForProgress(float progress, platform::ui::Color previous);

private:
    float strokeWidth_ = 0;
    platform::ui::Color fillColor_ = platform::ui::Color::white();
    platform::ui::Color fillBackgroundColor_ = platform::ui::Color::clear();
    float progress_ = 0;
    float startAngle_ = 0;
};

} // namespace kavo
