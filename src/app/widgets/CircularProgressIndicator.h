#pragma once

#include "app/widgets/PieProgressView.h"

#include <memory>

namespace kavo {

// The circular turn countdown inside a seat frame: a pie of the turn still to run, green
// up to half the turn, yellow up to 80 per cent, red after. The empty part opens
// clockwise from 12 o'clock as progress grows from 0 to 1.
class CircularProgressIndicator : public PieProgressView {
public:
    explicit CircularProgressIndicator(platform::ui::Rect frame = {});
    static std::shared_ptr<CircularProgressIndicator> make(platform::ui::Rect frame = {});

    // The fill colour is replaced by each drawing from the progress (white before the first).
    float startAngle() const { return startAngle_; }

    void draw(platform::ui::GraphicsContext& context) override;
    // The colour for a clamped progress; `previous` for progress 0.
    static platform::ui::Color colorForProgress(float progress, platform::ui::Color previous);

private:
    float startAngle_ = 0;
};

} // namespace kavo
