#pragma once

#include "app/widgets/PieProgressView.h"

#include <memory>

namespace kavo {

// A circular indicator that fills, in one colour, the pie of the part that has run:
// from 12 o'clock clockwise to progress x 360 degrees.
class TimerProgressView : public PieProgressView {
public:
    explicit TimerProgressView(platform::ui::Rect frame = {});
    static std::shared_ptr<TimerProgressView> make(platform::ui::Rect frame = {});

    void draw(platform::ui::GraphicsContext& context) override;
};

} // namespace kavo
