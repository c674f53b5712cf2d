#include "platform/ui/ProgressView.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ShapeDrawing.h"

#include <algorithm>

namespace platform::ui {

ProgressView::ProgressView(Rect frame) : View(frame) {}

ProgressView::ProgressView(ProgressViewStyle style)
    : View(Rect(0, 0, 150, style == ProgressViewStyle::Bar ? 11 : 9)), style_(style) {}

std::shared_ptr<ProgressView> ProgressView::make(Rect frame) {
    return std::make_shared<ProgressView>(frame);
}

std::shared_ptr<ProgressView> ProgressView::make(ProgressViewStyle style) {
    return std::make_shared<ProgressView>(style);
}

void ProgressView::setProgressViewStyle(ProgressViewStyle style) {
    style_ = style;
    setNeedsDisplay();
}

void ProgressView::setProgress(double progress, bool) {
    progress = std::clamp(progress, 0.0, 1.0);
    if (progress == progress_) return;
    progress_ = progress;
    setNeedsDisplay();
}

void ProgressView::setProgressTintColor(Color color) {
    progressTint_ = color;
    setNeedsDisplay();
}

void ProgressView::setTrackTintColor(Color color) {
    trackTint_ = color;
    setNeedsDisplay();
}

void ProgressView::setProgressImage(ImagePtr image) {
    progressImage_ = std::move(image);
    setNeedsDisplay();
}

void ProgressView::setTrackImage(ImagePtr image) {
    trackImage_ = std::move(image);
    setNeedsDisplay();
}

void ProgressView::draw(GraphicsContext& context) {
    Rect b = bounds();
    if (b.isEmpty()) return;
    double radius = style_ == ProgressViewStyle::Bar ? 0 : b.height() / 2;
    Rect filled(b.minX(), b.minY(), b.width() * progress_, b.height());
    if (trackImage_)
        context.drawImage(trackImage_, b);
    else
        fillRoundedRect(context, b, radius, trackTint_);
    if (filled.width() <= 0) return;
    if (progressImage_)
        context.drawImage(progressImage_, filled);
    else
        fillRoundedRect(context, filled, std::min(radius, filled.width() / 2), progressTint_);
}

} // namespace platform::ui
