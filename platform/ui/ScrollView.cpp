#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

namespace {
// A finger that moves less than this is still a tap.
constexpr double kDragSlop = 5;

double clampValue(double value, double low, double high) {
    return std::max(low, std::min(value, high));
}

// Past a limit the content follows the finger at half speed.
double resist(double value, double low, double high) {
    if (value < low) return low - (low - value) / 2;
    if (value > high) return high + (value - high) / 2;
    return value;
}
} // namespace

ScrollView::ScrollView(Rect frame) : View(frame) {
    setClipsToBounds(true);
}

ScrollView::~ScrollView() = default;

std::shared_ptr<ScrollView> ScrollView::make(Rect frame) {
    return std::make_shared<ScrollView>(frame);
}

void ScrollView::setContentSize(Size size) {
    if (contentSize_ == size) return;
    contentSize_ = size;
    setNeedsDisplay();
}

void ScrollView::setContentInset(const EdgeInsets& insets) {
    contentInset_ = insets;
    setNeedsDisplay();
}

Point ScrollView::minimumContentOffset() const {
    return {-contentInset_.left, -contentInset_.top};
}

Point ScrollView::maximumContentOffset() const {
    Point low = minimumContentOffset();
    double maxX = contentSize_.width + contentInset_.right - bounds().width();
    double maxY = contentSize_.height + contentInset_.bottom - bounds().height();
    return {std::max(low.x, maxX), std::max(low.y, maxY)};
}

Point ScrollView::clampedOffset(Point offset) const {
    Point low = minimumContentOffset(), high = maximumContentOffset();
    return {clampValue(offset.x, low.x, high.x), clampValue(offset.y, low.y, high.y)};
}

bool ScrollView::canScrollHorizontally() const {
    if (!scrollEnabled_) return false;
    return alwaysBounceHorizontal_ || maximumContentOffset().x > minimumContentOffset().x;
}

bool ScrollView::canScrollVertically() const {
    if (!scrollEnabled_) return false;
    return alwaysBounceVertical_ || maximumContentOffset().y > minimumContentOffset().y;
}

void ScrollView::applyOffset(Point offset) {
    Rect b = bounds();
    if (b.origin == offset) return;
    auto keep = weak_from_this().lock();
    setBounds({offset, b.size});
    setNeedsDisplay();
    contentOffsetChanged();
    if (delegate_) delegate_->didScroll(*this);
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    ++settleGeneration_; // a new offset replaces any settling in progress
    decelerating_ = false;
    if (!animated) {
        applyOffset(offset);
        return;
    }
    std::weak_ptr<View> weak = weak_from_this();
    uint64_t generation = settleGeneration_;
    animate(
        settleDuration(), [this, offset] { applyOffset(offset); },
        [weak, generation](bool) {
            auto view = std::static_pointer_cast<ScrollView>(weak.lock());
            if (!view || view->settleGeneration_ != generation) return;
            if (view->delegate_) view->delegate_->didEndScrollingAnimation(*view);
        });
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
    Rect visible = bounds();
    Point offset = visible.origin;
    if (rect.maxX() > visible.maxX()) offset.x = rect.maxX() - visible.width();
    if (rect.minX() < offset.x) offset.x = rect.minX();
    if (rect.maxY() > visible.maxY()) offset.y = rect.maxY() - visible.height();
    if (rect.minY() < offset.y) offset.y = rect.minY();
    offset = clampedOffset(offset);
    if (offset == visible.origin) return;
    setContentOffset(offset, animated);
}

// ---- dragging

void ScrollView::dragBegan(Point screenPoint) {
    lastSequenceDragged_ = false;
    if (!scrollEnabled_) return;
    tracking_ = true;
    dragging_ = false;
    dragStart_ = screenPoint;
    offsetAtDragStart_ = contentOffset();
    if (decelerating_) {
        // A finger on a settling view stops it where it is.
        ++settleGeneration_;
        decelerating_ = false;
    }
}

void ScrollView::dragMoved(Point screenPoint) {
    if (!tracking_) return;
    double dx = screenPoint.x - dragStart_.x, dy = screenPoint.y - dragStart_.y;
    if (!dragging_) {
        // Only movement along a direction the view scrolls in starts a drag.
        double along = std::hypot(canScrollHorizontally() ? dx : 0, canScrollVertically() ? dy : 0);
        if (along < kDragSlop) return;
        dragging_ = true;
        auto keep = weak_from_this().lock();
        if (delegate_) delegate_->willBeginDragging(*this);
        if (!tracking_) return;
    }
    Point low = minimumContentOffset(), high = maximumContentOffset();
    Point offset = offsetAtDragStart_;
    if (canScrollHorizontally()) {
        offset.x -= dx;
        offset.x = bounces_ ? resist(offset.x, low.x, high.x) : clampValue(offset.x, low.x, high.x);
    }
    if (canScrollVertically()) {
        offset.y -= dy;
        offset.y = bounces_ ? resist(offset.y, low.y, high.y) : clampValue(offset.y, low.y, high.y);
    }
    applyOffset(offset);
}

Point ScrollView::pageTarget() const {
    Point offset = contentOffset();
    Size page = bounds().size;
    auto axis = [](double now, double start, double pageLength, double low, double high) {
        if (pageLength <= 0) return now;
        double startPage = std::round(start / pageLength);
        double moved = now - start;
        double target = startPage;
        if (std::fabs(moved) >= pageLength / 4)
            target = startPage + (moved > 0 ? 1 : -1) * std::max(1.0, std::round(std::fabs(moved) / pageLength));
        return clampValue(target * pageLength, low, high);
    };
    Point low = minimumContentOffset(), high = maximumContentOffset();
    Point target = clampedOffset(offset);
    if (canScrollHorizontally()) target.x = axis(offset.x, offsetAtDragStart_.x, page.width, low.x, high.x);
    if (canScrollVertically()) target.y = axis(offset.y, offsetAtDragStart_.y, page.height, low.y, high.y);
    return target;
}

void ScrollView::settle() {
    // The target is worked out after the delegate heard of the drag's end: it may have
    // changed the insets (a pulled list that starts reloading keeps room for its header).
    Point target = pagingEnabled_ ? pageTarget() : clampedOffset(contentOffset());
    if (target == contentOffset()) return;
    auto keep = weak_from_this().lock();
    decelerating_ = true;
    if (delegate_) delegate_->willBeginDecelerating(*this);
    ++settleGeneration_;
    uint64_t generation = settleGeneration_;
    std::weak_ptr<View> weak = weak_from_this();
    animate(
        settleDuration(), [this, target] { applyOffset(target); },
        [weak, generation](bool) {
            auto view = std::static_pointer_cast<ScrollView>(weak.lock());
            if (!view || view->settleGeneration_ != generation) return;
            view->decelerating_ = false;
            if (view->delegate_) view->delegate_->didEndDecelerating(*view);
        });
}

void ScrollView::dragEnded() {
    if (!tracking_) return;
    tracking_ = false;
    lastSequenceDragged_ = dragging_;
    if (!dragging_) return;
    auto keep = weak_from_this().lock();
    Point target = pagingEnabled_ ? pageTarget() : clampedOffset(contentOffset());
    bool willDecelerate = target != contentOffset();
    if (delegate_) delegate_->didEndDragging(*this, willDecelerate);
    dragging_ = false;
    settle();
}

void ScrollView::dragCancelled() {
    dragEnded();
}

void ScrollView::touchesBegan(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    dragBegan(touches.front().windowLocation);
}

void ScrollView::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    dragMoved(touches.front().windowLocation);
}

void ScrollView::touchesEnded(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    dragEnded();
}

void ScrollView::touchesCancelled(const std::vector<Touch>&) {
    dragCancelled();
}

} // namespace platform::ui
