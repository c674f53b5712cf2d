#include "platform/ui/GestureRecognizer.h"

#include "platform/ui/View.h"

#include <cmath>

namespace platform::ui {

namespace {

constexpr double tapMaxDuration = 0.75;
constexpr double tapMaxInterval = 0.35; // between one tap's end and the next one's start
constexpr double tapMaxMovement = 10;
constexpr double tapMaxSpread = 40; // between the taps of a multiple tap
constexpr double swipeMinDistance = 50;
constexpr double swipeMaxDuration = 0.75;
constexpr double panMinDistance = 10;
constexpr double pressMaxMovement = 10;

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// True when a control lies between `hit` (included) and `container` (excluded).
bool controlBetween(const View* hit, const View* container) {
    for (const View* v = hit; v && v != container; v = v->superview())
        if (v->isControl()) return true;
    return false;
}

} // namespace

// ---- GestureRecognizer

Point GestureRecognizer::locationInView(const View* v) const {
    return v ? v->convertPointFrom(location_, nullptr) : location_;
}

bool GestureRecognizer::shouldReceive(const View*) const {
    return enabled_;
}

void GestureRecognizer::touchesCancelled(const Touch& touch) {
    location_ = touch.windowLocation;
    setState(hasRecognized() ? GestureState::Cancelled : GestureState::Failed);
}

void GestureRecognizer::reset() {
    state_ = GestureState::Possible;
}

void GestureRecognizer::setState(GestureState state) {
    state_ = state;
    if (state == GestureState::Began || state == GestureState::Changed || state == GestureState::Ended) fire();
}

// ---- TapGestureRecognizer

TapGestureRecognizer::TapGestureRecognizer(int taps, std::function<void(TapGestureRecognizer&)> action)
    : taps_(taps < 1 ? 1 : taps), action_(std::move(action)) {}

std::shared_ptr<TapGestureRecognizer> TapGestureRecognizer::make(int taps,
                                                                 std::function<void(TapGestureRecognizer&)> action) {
    return std::make_shared<TapGestureRecognizer>(taps, std::move(action));
}

bool TapGestureRecognizer::shouldReceive(const View* hitView) const {
    if (!isEnabled()) return false;
    // A single tap on a button inside the view is the button's.
    return taps_ > 1 || !controlBetween(hitView, view());
}

void TapGestureRecognizer::touchesBegan(const Touch& touch) {
    if (count_ > 0 &&
        (touch.timestamp - lastUpTime_ > tapMaxInterval || distance(touch.windowLocation, lastUp_) > tapMaxSpread))
        count_ = 0;
    down_ = touch.windowLocation;
    location_ = touch.windowLocation;
    downTime_ = touch.timestamp;
    tracking_ = true;
}

void TapGestureRecognizer::touchesMoved(const Touch& touch) {
    if (!tracking_) return;
    location_ = touch.windowLocation;
    if (distance(touch.windowLocation, down_) > tapMaxMovement) {
        tracking_ = false;
        count_ = 0;
        setState(GestureState::Failed);
    }
}

void TapGestureRecognizer::touchesEnded(const Touch& touch) {
    if (!tracking_) return;
    tracking_ = false;
    location_ = touch.windowLocation;
    if (touch.timestamp - downTime_ > tapMaxDuration) {
        count_ = 0;
        setState(GestureState::Failed);
        return;
    }
    ++count_;
    lastUpTime_ = touch.timestamp;
    lastUp_ = touch.windowLocation;
    if (count_ >= taps_) {
        count_ = 0;
        setState(GestureState::Ended);
    }
}

void TapGestureRecognizer::touchesCancelled(const Touch& touch) {
    tracking_ = false;
    count_ = 0;
    GestureRecognizer::touchesCancelled(touch);
}

void TapGestureRecognizer::reset() {
    // The tap count survives: the taps of a double tap are separate touch sequences.
    GestureRecognizer::reset();
    tracking_ = false;
}

void TapGestureRecognizer::fire() {
    if (action_) action_(*this);
}

// ---- SwipeGestureRecognizer

SwipeGestureRecognizer::SwipeGestureRecognizer(SwipeDirection direction,
                                               std::function<void(SwipeGestureRecognizer&)> action)
    : direction_(direction), action_(std::move(action)) {}

std::shared_ptr<SwipeGestureRecognizer>
SwipeGestureRecognizer::make(SwipeDirection direction, std::function<void(SwipeGestureRecognizer&)> action) {
    return std::make_shared<SwipeGestureRecognizer>(direction, std::move(action));
}

bool SwipeGestureRecognizer::shouldReceive(const View* hitView) const {
    return isEnabled() && !controlBetween(hitView, view());
}

void SwipeGestureRecognizer::touchesBegan(const Touch& touch) {
    start_ = touch.windowLocation;
    location_ = touch.windowLocation;
    startTime_ = touch.timestamp;
}

bool SwipeGestureRecognizer::check(const Touch& touch) {
    if (state() != GestureState::Possible) return false;
    location_ = touch.windowLocation;
    if (touch.timestamp - startTime_ > swipeMaxDuration) {
        setState(GestureState::Failed);
        return false;
    }
    double dx = touch.windowLocation.x - start_.x;
    double dy = touch.windowLocation.y - start_.y;
    double along = 0, across = 0;
    switch (direction_) {
    case SwipeDirection::Right:
        along = dx, across = dy;
        break;
    case SwipeDirection::Left:
        along = -dx, across = dy;
        break;
    case SwipeDirection::Down:
        along = dy, across = dx;
        break;
    case SwipeDirection::Up:
        along = -dy, across = dx;
        break;
    }
    if (along >= swipeMinDistance && std::fabs(across) <= along / 2) {
        setState(GestureState::Ended);
        return true;
    }
    return false;
}

void SwipeGestureRecognizer::touchesMoved(const Touch& touch) {
    check(touch);
}

void SwipeGestureRecognizer::touchesEnded(const Touch& touch) {
    if (!check(touch) && state() == GestureState::Possible) setState(GestureState::Failed);
}

void SwipeGestureRecognizer::fire() {
    if (action_) action_(*this);
}

// ---- PanGestureRecognizer

PanGestureRecognizer::PanGestureRecognizer(std::function<void(PanGestureRecognizer&)> action)
    : action_(std::move(action)) {}

std::shared_ptr<PanGestureRecognizer> PanGestureRecognizer::make(std::function<void(PanGestureRecognizer&)> action) {
    return std::make_shared<PanGestureRecognizer>(std::move(action));
}

Point PanGestureRecognizer::translationInView(const View* v) const {
    Point now = locationInView(v);
    Point start = v ? v->convertPointFrom(start_, nullptr) : start_;
    return {now.x - start.x, now.y - start.y};
}

void PanGestureRecognizer::touchesBegan(const Touch& touch) {
    start_ = touch.windowLocation;
    location_ = touch.windowLocation;
}

void PanGestureRecognizer::touchesMoved(const Touch& touch) {
    location_ = touch.windowLocation;
    if (state() == GestureState::Possible && distance(start_, location_) >= panMinDistance)
        setState(GestureState::Began);
    else if (state() == GestureState::Began || state() == GestureState::Changed)
        setState(GestureState::Changed);
}

void PanGestureRecognizer::touchesEnded(const Touch& touch) {
    location_ = touch.windowLocation;
    setState(hasRecognized() ? GestureState::Ended : GestureState::Failed);
}

void PanGestureRecognizer::touchesCancelled(const Touch& touch) {
    bool began = hasRecognized();
    GestureRecognizer::touchesCancelled(touch);
    if (began) fire(); // the action learns that the drag was cancelled
}

void PanGestureRecognizer::fire() {
    if (action_) action_(*this);
}

// ---- LongPressGestureRecognizer

LongPressGestureRecognizer::LongPressGestureRecognizer(std::function<void(LongPressGestureRecognizer&)> action)
    : action_(std::move(action)) {}

std::shared_ptr<LongPressGestureRecognizer>
LongPressGestureRecognizer::make(std::function<void(LongPressGestureRecognizer&)> action) {
    return std::make_shared<LongPressGestureRecognizer>(std::move(action));
}

void LongPressGestureRecognizer::stopTimer() {
    if (timer_) timer_->invalidate();
    timer_.reset();
}

void LongPressGestureRecognizer::touchesBegan(const Touch& touch) {
    stopTimer();
    start_ = touch.windowLocation;
    location_ = touch.windowLocation;
    std::weak_ptr<GestureRecognizer> weak = weak_from_this();
    timer_ = platform::performAfterDelay(minimumPressDuration_, [weak] {
        auto self = std::static_pointer_cast<LongPressGestureRecognizer>(weak.lock());
        if (!self || self->state() != GestureState::Possible || !self->view()) return;
        self->timer_.reset();
        self->setState(GestureState::Began);
    });
}

void LongPressGestureRecognizer::touchesMoved(const Touch& touch) {
    location_ = touch.windowLocation;
    if (state() == GestureState::Possible && distance(start_, location_) > pressMaxMovement) {
        stopTimer();
        setState(GestureState::Failed);
    } else if (hasRecognized()) {
        setState(GestureState::Changed);
    }
}

void LongPressGestureRecognizer::touchesEnded(const Touch& touch) {
    stopTimer();
    location_ = touch.windowLocation;
    setState(hasRecognized() ? GestureState::Ended : GestureState::Failed);
}

void LongPressGestureRecognizer::touchesCancelled(const Touch& touch) {
    stopTimer();
    GestureRecognizer::touchesCancelled(touch);
}

void LongPressGestureRecognizer::reset() {
    stopTimer();
    GestureRecognizer::reset();
}

void LongPressGestureRecognizer::fire() {
    if (action_) action_(*this);
}

} // namespace platform::ui
