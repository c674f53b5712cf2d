#include "app/widgets/ColoredProgressView.h"

#include "platform/ui/GraphicsContext.h"

#include <algorithm>

namespace kavo {

using platform::ui::Color;
using platform::ui::Rect;

ColoredProgressView::ColoredProgressView(Rect frame) : ProgressView(frame) {}

ColoredProgressView::ColoredProgressView(platform::ui::ProgressViewStyle style) : ProgressView(style) {}

ColoredProgressView::~ColoredProgressView() {
    if (progressTimer_) progressTimer_->invalidate();
}

std::shared_ptr<ColoredProgressView> ColoredProgressView::make(Rect frame) {
    return std::make_shared<ColoredProgressView>(frame);
}

void ColoredProgressView::setTintColor(Color color) {
    tintColor_ = color;
    setNeedsDisplay();
}

void ColoredProgressView::setProgress(double progress, bool animated) {
    if (!animated) {
        ProgressView::setProgress(progress, false);
        return;
    }
    // The bar holds 0..1 only; an unreachable target would keep the timer running.
    targetProgress_ = std::clamp(progress, 0.0, 1.0);
    if (progressTimer_) return; // the running animation heads for the new target
    std::weak_ptr<View> weakSelf = weak_from_this();
    progressTimer_ = platform::Timer::scheduled(StepSeconds, true, [weakSelf] {
        if (auto self = std::static_pointer_cast<ColoredProgressView>(weakSelf.lock())) self->moveProgress();
    });
}

void ColoredProgressView::moveProgress() {
    const double now = progress();
    if (now < targetProgress_) {
        ProgressView::setProgress(now + Step >= targetProgress_ ? targetProgress_ : now + Step, false);
    } else if (now > targetProgress_) {
        ProgressView::setProgress(now - Step <= targetProgress_ ? targetProgress_ : now - Step, false);
    } else {
        if (progressTimer_) progressTimer_->invalidate();
        progressTimer_.reset();
    }
}

double ColoredProgressView::cornerRadiusForHeight(double height) {
    if (height >= 30) return 10;
    if (height >= 15) return 6;
    return 4;
}

platform::ui::Path ColoredProgressView::roundedRect(const Rect& rect, double radius) {
    platform::ui::Path path;
    path.addRoundedRect(rect, radius);
    return path;
}

void ColoredProgressView::draw(platform::ui::GraphicsContext& context) {
    if (progressViewStyle() != platform::ui::ProgressViewStyle::Default) {
        ProgressView::draw(context);
        return;
    }
    const Rect area = bounds();
    const double width = area.width(), height = area.height();
    const double radius = cornerRadiusForHeight(height);
    const double filled = (width - 2) * progress();

    context.save();
    context.clipToPath(roundedRect(area, radius));
    context.setFillColor(Color::black());
    context.fillRect(area);
    context.restore();
    if (filled <= 0) return;

    context.save();
    const platform::ui::Path bar = roundedRect(Rect{1, 1, filled, height - 2}, radius);
    context.clipToPath(bar);
    context.setFillColor(tintColor_);
    context.fillPath(bar);
    context.restore();

    const Rect edge{1.625, 1.625, filled - 1.25, height - 3.25};
    if (edge.width() <= 0 || edge.height() <= 0) return;
    context.save();
    const platform::ui::Path outline = roundedRect(edge, radius);
    context.clipToPath(outline);
    context.setStrokeColor(Color::rgba(20, 20, 20, 0.6));
    context.setLineWidth(1);
    context.strokePath(outline);
    context.restore();
}

} // namespace kavo
