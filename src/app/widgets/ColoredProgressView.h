#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Color.h"
#include "platform/ui/Path.h"
#include "platform/ui/ProgressView.h"

#include <memory>

namespace kavo {

// A horizontal bar with rounded ends in a tint colour (the local player's turn bar, the
// profile's level bar). An animated change steps 0.01 every 0.02 s toward its target.
class ColoredProgressView : public platform::ui::ProgressView {
public:
    static constexpr double StepSeconds = 0.02;
    static constexpr double Step = 0.01;

    explicit ColoredProgressView(platform::ui::Rect frame = {});
    explicit ColoredProgressView(platform::ui::ProgressViewStyle style);
    ~ColoredProgressView() override;
    static std::shared_ptr<ColoredProgressView> make(platform::ui::Rect frame = {});

    platform::ui::Color tintColor() const { return tintColor_; }
    void setTintColor(platform::ui::Color color);
    // Animated: heads for `progress` in steps (one timer at a time). Not animated: at once
    // (a running animation keeps heading for its last target).
    void setProgress(double progress, bool animated = false) override;
    void moveProgress();
    double targetProgress() const { return targetProgress_; }
    bool isAnimating() const { return bool(progressTimer_); }

    void draw(platform::ui::GraphicsContext& context) override;
    // 10 from a height of 30, 6 from 15, else 4.
    static double cornerRadiusForHeight(double height);
    // The rectangle's outline with quarter-circle corners (a plain rectangle for radius 0).
    static platform::ui::Path roundedRect(const platform::ui::Rect& rect, double radius);

private:
    platform::ui::Color tintColor_ = platform::ui::Color::rgba(43, 134, 225);
    std::shared_ptr<platform::Timer> progressTimer_;
    double targetProgress_ = 0;
};

} // namespace kavo
