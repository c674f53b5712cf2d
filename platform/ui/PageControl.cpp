#include "platform/ui/PageControl.h"

#include "platform/ui/ShapeDrawing.h"

#include <algorithm>

namespace platform::ui {

namespace {
constexpr double kDot = 7;
constexpr double kSpacing = 9;
} // namespace

PageControl::PageControl(Rect frame) : Control(frame) {}

std::shared_ptr<PageControl> PageControl::make(Rect frame) {
    return std::make_shared<PageControl>(frame);
}

void PageControl::setNumberOfPages(int pages) {
    pages_ = std::max(0, pages);
    setCurrentPage(current_);
    setNeedsDisplay();
}

void PageControl::setCurrentPage(int page) {
    current_ = pages_ == 0 ? 0 : std::clamp(page, 0, pages_ - 1);
    shown_ = current_;
    setNeedsDisplay();
}

void PageControl::setHidesForSinglePage(bool hides) {
    hidesForSinglePage_ = hides;
    setNeedsDisplay();
}

void PageControl::updateCurrentPageDisplay() {
    shown_ = current_;
    setNeedsDisplay();
}

Size PageControl::sizeForNumberOfPages(int pages) const {
    pages = std::max(0, pages);
    return {pages * kDot + std::max(0, pages - 1) * kSpacing, 36};
}

void PageControl::endTracking(Point location, bool inside) {
    if (!inside || pages_ == 0) return;
    int page = std::clamp(location.x < bounds().midX() ? current_ - 1 : current_ + 1, 0, pages_ - 1);
    if (page == current_) return;
    current_ = page;
    if (!defers_) shown_ = page;
    setNeedsDisplay();
    sendActions(ControlEvent::ValueChanged);
}

void PageControl::draw(GraphicsContext& context) {
    if (pages_ == 0 || (hidesForSinglePage_ && pages_ == 1)) return;
    Rect b = bounds();
    double width = sizeForNumberOfPages(pages_).width;
    double x = b.midX() - width / 2 + kDot / 2;
    for (int i = 0; i < pages_; ++i) {
        fillCircle(context, {x, b.midY()}, kDot / 2, Color::white(1, i == shown_ ? 1.0 : 0.35));
        x += kDot + kSpacing;
    }
}

} // namespace platform::ui
