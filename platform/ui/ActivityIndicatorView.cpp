#include "platform/ui/ActivityIndicatorView.h"

#include "platform/ui/GraphicsContext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::ui {

namespace {
Color colorFor(ActivityIndicatorStyle style) {
    return style == ActivityIndicatorStyle::Gray ? Color::gray() : Color::white();
}
} // namespace

ActivityIndicatorView::ActivityIndicatorView(Rect frame) : View(frame) {
    setUserInteractionEnabled(false);
    setHidden(true);
}

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorStyle style)
    : View(style == ActivityIndicatorStyle::WhiteLarge ? Rect(0, 0, 37, 37) : Rect(0, 0, 20, 20)), style_(style),
      color_(colorFor(style)) {
    setUserInteractionEnabled(false);
    setHidden(true);
}

ActivityIndicatorView::~ActivityIndicatorView() {
    if (timer_) timer_->invalidate();
}

std::shared_ptr<ActivityIndicatorView> ActivityIndicatorView::make(Rect frame) {
    return std::make_shared<ActivityIndicatorView>(frame);
}

std::shared_ptr<ActivityIndicatorView> ActivityIndicatorView::make(ActivityIndicatorStyle style) {
    return std::make_shared<ActivityIndicatorView>(style);
}

void ActivityIndicatorView::setStyle(ActivityIndicatorStyle style) {
    style_ = style;
    color_ = colorFor(style);
    setNeedsDisplay();
}

void ActivityIndicatorView::setColor(Color color) {
    color_ = color;
    setNeedsDisplay();
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    if (!isAnimating()) setHidden(hides);
}

void ActivityIndicatorView::startAnimating() {
    if (timer_) return;
    setHidden(false);
    std::weak_ptr<View> weak = weak_from_this();
    timer_ = platform::Timer::scheduled(1.0 / spokes(), true, [weak] {
        auto view = std::static_pointer_cast<ActivityIndicatorView>(weak.lock());
        if (!view) return;
        view->phase_ = (view->phase_ + 1) % spokes();
        view->setNeedsDisplay();
    });
}

void ActivityIndicatorView::stopAnimating() {
    if (timer_) timer_->invalidate();
    timer_.reset();
    if (hidesWhenStopped_) setHidden(true);
    setNeedsDisplay();
}

void ActivityIndicatorView::draw(GraphicsContext& context) {
    Rect b = bounds();
    double radius = std::min(b.width(), b.height()) / 2;
    if (radius <= 0) return;
    Point c = b.center();
    context.setLineWidth(std::max(1.5, radius * 0.2));
    for (int i = 0; i < spokes(); ++i) {
        double angle = 2 * std::numbers::pi * i / spokes() - std::numbers::pi / 2;
        // The spoke at the phase is brightest; the ones behind it fade.
        int age = (phase_ - i + spokes()) % spokes();
        double alpha = 1.0 - 0.75 * age / (spokes() - 1);
        context.setStrokeColor(color_.withAlpha(color_.a * alpha));
        double dx = std::cos(angle), dy = std::sin(angle);
        context.drawLine({c.x + dx * radius * 0.45, c.y + dy * radius * 0.45},
                         {c.x + dx * radius * 0.95, c.y + dy * radius * 0.95});
    }
}

} // namespace platform::ui
