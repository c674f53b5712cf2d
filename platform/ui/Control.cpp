#include "platform/ui/Control.h"

#include "platform/ui/ScrollView.h"

#include <cmath>

namespace platform::ui {

namespace {
// A finger that moves further than this is dragging, not tapping.
constexpr double kDragSlop = 10;
} // namespace

Control::Control(Rect frame) : View(frame) {}

Control::~Control() = default;

std::shared_ptr<Control> Control::make(Rect frame) {
    return std::make_shared<Control>(frame);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    stateChanged();
}

void Control::setSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    stateChanged();
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    stateChanged();
}

ControlState Control::state() const {
    unsigned flags = 0;
    if (highlighted_) flags |= unsigned(ControlState::Highlighted);
    if (!enabled_) flags |= unsigned(ControlState::Disabled);
    if (selected_) flags |= unsigned(ControlState::Selected);
    return ControlState(flags);
}

void Control::setContentHorizontalAlignment(ContentHorizontalAlignment alignment) {
    horizontalAlignment_ = alignment;
    setNeedsLayout();
    setNeedsDisplay();
}

void Control::setContentVerticalAlignment(ContentVerticalAlignment alignment) {
    verticalAlignment_ = alignment;
    setNeedsLayout();
    setNeedsDisplay();
}

int Control::addTarget(ControlEvent event, std::function<void()> action) {
    if (!action) return 0;
    int id = nextTargetId_++;
    targets_.push_back({id, event, std::move(action)});
    return id;
}

void Control::removeTarget(int id) {
    std::erase_if(targets_, [id](const Target& t) { return t.id == id; });
}

void Control::removeTargets(ControlEvent event) {
    std::erase_if(targets_, [event](const Target& t) { return t.event == event; });
}

void Control::removeAllTargets() {
    targets_.clear();
}

bool Control::hasTargets(ControlEvent event) const {
    for (const Target& t : targets_)
        if (t.event == event) return true;
    return false;
}

void Control::sendActions(ControlEvent event) {
    // Copy first: an action may add or remove actions, or drop the last reference to this
    // control (the kept pointer holds it until the loop ends).
    auto keep = weak_from_this().lock();
    std::vector<std::function<void()>> actions;
    for (const Target& t : targets_)
        if (t.event == event) actions.push_back(t.action);
    for (auto& action : actions)
        action();
}

bool Control::insideWithMargin(Point location) const {
    return bounds().insetBy(-touchMargin(), -touchMargin()).contains(location);
}

std::shared_ptr<ScrollView> Control::scrollViewFor(Point from, Point to) const {
    double dx = std::fabs(to.x - from.x), dy = std::fabs(to.y - from.y);
    for (View* v = superview(); v; v = v->superview()) {
        auto* scroll = dynamic_cast<ScrollView*>(v);
        if (!scroll || !scroll->isScrollEnabled()) continue;
        bool horizontal = dx > dy;
        if ((horizontal && scroll->canScrollHorizontally()) || (!horizontal && scroll->canScrollVertically()))
            return std::dynamic_pointer_cast<ScrollView>(scroll->weak_from_this().lock());
    }
    return nullptr;
}

void Control::touchesBegan(const std::vector<Touch>& touches) {
    if (touches.empty() || !enabled_) return;
    auto keep = weak_from_this().lock();
    const Touch& touch = touches.front();
    handedOff_ = false;
    handedTo_.reset();
    tracking_ = true;
    touchInside_ = true;
    touchStart_ = touch.windowLocation;
    beginTracking(touch.locationInView(this));
    setHighlighted(true);
    sendActions(ControlEvent::TouchDown);
}

void Control::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    const Touch& touch = touches.front();
    if (handedOff_) {
        if (auto scroll = handedTo_.lock()) scroll->dragMoved(touch.windowLocation);
        return;
    }
    if (!tracking_) return;
    auto keep = weak_from_this().lock();
    Point now = touch.windowLocation;
    if (passesDragsToScrollView() && std::hypot(now.x - touchStart_.x, now.y - touchStart_.y) > kDragSlop) {
        if (auto scroll = scrollViewFor(touchStart_, now)) {
            tracking_ = false;
            touchInside_ = false;
            handedOff_ = true;
            handedTo_ = scroll;
            cancelTracking();
            setHighlighted(false);
            sendActions(ControlEvent::TouchCancel);
            scroll->dragBegan(touchStart_);
            scroll->dragMoved(now);
            return;
        }
    }
    Point location = touch.locationInView(this);
    bool inside = insideWithMargin(location);
    if (inside != touchInside_) {
        touchInside_ = inside;
        setHighlighted(inside);
        sendActions(inside ? ControlEvent::TouchDragEnter : ControlEvent::TouchDragExit);
    }
    continueTracking(location);
    sendActions(inside ? ControlEvent::TouchDragInside : ControlEvent::TouchDragOutside);
}

void Control::touchesEnded(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    if (handedOff_) {
        handedOff_ = false;
        if (auto scroll = handedTo_.lock()) scroll->dragEnded();
        handedTo_.reset();
        return;
    }
    if (!tracking_) return;
    auto keep = weak_from_this().lock();
    Point location = touches.front().locationInView(this);
    bool inside = insideWithMargin(location);
    tracking_ = false;
    touchInside_ = inside;
    setHighlighted(false);
    endTracking(location, inside);
    sendActions(inside ? ControlEvent::TouchUpInside : ControlEvent::TouchUpOutside);
}

void Control::touchesCancelled(const std::vector<Touch>&) {
    if (handedOff_) {
        handedOff_ = false;
        if (auto scroll = handedTo_.lock()) scroll->dragCancelled();
        handedTo_.reset();
        return;
    }
    if (!tracking_) return;
    auto keep = weak_from_this().lock();
    tracking_ = false;
    touchInside_ = false;
    setHighlighted(false);
    cancelTracking();
    sendActions(ControlEvent::TouchCancel);
}

} // namespace platform::ui
