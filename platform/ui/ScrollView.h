#pragma once

#include "platform/ui/View.h"

#include <memory>

namespace platform::ui {

class ScrollView;

// Told about scrolling; every call has an empty default.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    virtual void didScroll(ScrollView& scrollView) { (void)scrollView; }
    virtual void willBeginDragging(ScrollView& scrollView) { (void)scrollView; }
    // `willDecelerate` is true when the view is about to move on by itself (to settle
    // inside its limits or on a page).
    virtual void didEndDragging(ScrollView& scrollView, bool willDecelerate) { (void)scrollView, (void)willDecelerate; }
    virtual void willBeginDecelerating(ScrollView& scrollView) { (void)scrollView; }
    virtual void didEndDecelerating(ScrollView& scrollView) { (void)scrollView; }
    virtual void didEndScrollingAnimation(ScrollView& scrollView) { (void)scrollView; }
};

// A view whose content (its subviews) is larger than itself. The content offset is the
// bounds origin: the point of the content shown at the top-left corner.
//
// A finger that drags over the content moves the offset (only along directions in which
// the content is larger than the view, or that always bounce). Without bouncing the
// offset stays within its limits; with bouncing (the default) it may go past them at
// half speed while dragging and settles back when the finger lifts. With paging the
// view settles on a whole page: the next one in the drag's direction when the drag went
// at least a quarter of a page. Settling and animated offsets take settleDuration()
// seconds on the clock; the offset takes its final value at once.
class ScrollView : public View {
public:
    explicit ScrollView(Rect frame = {});
    ~ScrollView() override;
    static std::shared_ptr<ScrollView> make(Rect frame = {});

    Size contentSize() const { return contentSize_; }
    void setContentSize(Size size);
    Point contentOffset() const { return bounds().origin; }
    void setContentOffset(Point offset, bool animated = false);
    EdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(const EdgeInsets& insets);
    // Scrolls the least distance that shows the rectangle (content coordinates).
    void scrollRectToVisible(const Rect& rect, bool animated);

    // The offsets the view rests between (the limits of a drag without bounce).
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;
    Point clampedOffset(Point offset) const;

    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool isPagingEnabled() const { return pagingEnabled_; }
    void setPagingEnabled(bool enabled) { pagingEnabled_ = enabled; }
    bool bounces() const { return bounces_; }
    void setBounces(bool bounces) { bounces_ = bounces; }
    bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
    void setAlwaysBounceVertical(bool on) { alwaysBounceVertical_ = on; }
    bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
    void setAlwaysBounceHorizontal(bool on) { alwaysBounceHorizontal_ = on; }
    bool showsVerticalScrollIndicator() const { return showsVertical_; }
    void setShowsVerticalScrollIndicator(bool shows) { showsVertical_ = shows; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontal_; }
    void setShowsHorizontalScrollIndicator(bool shows) { showsHorizontal_ = shows; }
    bool scrollsToTop() const { return scrollsToTop_; }
    void setScrollsToTop(bool on) { scrollsToTop_ = on; }

    bool isTracking() const { return tracking_; }
    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return decelerating_; }

    ScrollViewDelegate* delegate() const { return delegate_; }
    void setDelegate(ScrollViewDelegate* delegate) { delegate_ = delegate; }

    // Whether a drag along (dx, dy) would move the content.
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;

    static constexpr double settleDuration() { return 0.3; }

    // Drags, in screen coordinates: fed by this view's own touches and by controls inside
    // it that hand their drags over.
    void dragBegan(Point screenPoint);
    void dragMoved(Point screenPoint);
    void dragEnded();
    void dragCancelled();

    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesMoved(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;

protected:
    // Runs after every change of the offset (before the delegate hears of it).
    virtual void contentOffsetChanged() {}
    // True when the touch sequence that ended last moved the content (not a tap).
    bool lastSequenceDragged() const { return lastSequenceDragged_; }

private:
    void applyOffset(Point offset);
    void settle();
    Point pageTarget() const;

    Size contentSize_;
    EdgeInsets contentInset_;
    bool scrollEnabled_ = true;
    bool pagingEnabled_ = false;
    bool bounces_ = true;
    bool alwaysBounceVertical_ = false;
    bool alwaysBounceHorizontal_ = false;
    bool showsVertical_ = true;
    bool showsHorizontal_ = true;
    bool scrollsToTop_ = true;
    bool tracking_ = false;
    bool dragging_ = false;
    bool decelerating_ = false;
    bool lastSequenceDragged_ = false;
    Point dragStart_; // screen coordinates
    Point offsetAtDragStart_;
    ScrollViewDelegate* delegate_ = nullptr;
    uint64_t settleGeneration_ = 0;
};

} // namespace platform::ui
