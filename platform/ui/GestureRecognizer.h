#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Touch.h"

#include <functional>
#include <memory>
#include <vector>

namespace platform::ui {

class View;

enum class GestureState { Possible, Began, Changed, Ended, Cancelled, Failed };

// Watches the touches of the view it is attached to (and of that view's subviews) before
// the touched view gets them. When it recognises its gesture it calls its action; with
// cancelsTouchesInView (the default) the touched view then gets touchesCancelled and no
// more touches of that sequence.
class GestureRecognizer : public std::enable_shared_from_this<GestureRecognizer> {
public:
    virtual ~GestureRecognizer() = default;

    View* view() const { return view_; }
    GestureState state() const { return state_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
    void setCancelsTouchesInView(bool cancels) { cancelsTouchesInView_ = cancels; }
    // Where the gesture is (the last touch), in `view`'s coordinates (nullptr: screen).
    Point locationInView(const View* view) const;

    // Whether it watches a sequence that began on `hitView` (one of its view's descendants
    // or the view itself). Single taps and swipes on a control inside the view are left
    // to the control.
    virtual bool shouldReceive(const View* hitView) const;

    // Fed by Application::dispatchTouch.
    virtual void touchesBegan(const Touch& touch) = 0;
    virtual void touchesMoved(const Touch& touch) = 0;
    virtual void touchesEnded(const Touch& touch) = 0;
    virtual void touchesCancelled(const Touch& touch);
    // Back to Possible for the next sequence (called when a sequence begins).
    virtual void reset();
    // True while it holds the sequence (recognised and cancelling the view's touches).
    bool hasRecognized() const {
        return state_ == GestureState::Began || state_ == GestureState::Changed || state_ == GestureState::Ended;
    }

protected:
    void setState(GestureState state);
    virtual void fire() = 0;
    Point location_; // screen coordinates

private:
    friend class View;
    View* view_ = nullptr;
    GestureState state_ = GestureState::Possible;
    bool enabled_ = true;
    bool cancelsTouchesInView_ = true;
};

// Recognised when the finger lifts for the `taps`-th time, each tap short (under 0.75 s),
// still (moving under 10 points) and starting within 0.35 s of the last one's end.
class TapGestureRecognizer : public GestureRecognizer {
public:
    TapGestureRecognizer(int taps, std::function<void(TapGestureRecognizer&)> action);
    static std::shared_ptr<TapGestureRecognizer> make(int taps, std::function<void(TapGestureRecognizer&)> action);
    int numberOfTapsRequired() const { return taps_; }

    bool shouldReceive(const View* hitView) const override;
    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;
    void reset() override;

protected:
    void fire() override;

private:
    int taps_;
    std::function<void(TapGestureRecognizer&)> action_;
    int count_ = 0;
    double downTime_ = 0;
    double lastUpTime_ = -1;
    Point down_;
    Point lastUp_;
    bool tracking_ = false;
};

enum class SwipeDirection { Right = 1, Left = 2, Up = 4, Down = 8 };

// Recognised when the finger travels at least 50 points in the direction (and at most
// half as far across it) within 0.75 s of touching down.
class SwipeGestureRecognizer : public GestureRecognizer {
public:
    SwipeGestureRecognizer(SwipeDirection direction, std::function<void(SwipeGestureRecognizer&)> action);
    static std::shared_ptr<SwipeGestureRecognizer> make(SwipeDirection direction,
                                                        std::function<void(SwipeGestureRecognizer&)> action);
    SwipeDirection direction() const { return direction_; }

    bool shouldReceive(const View* hitView) const override;
    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;

protected:
    void fire() override;

private:
    bool check(const Touch& touch);
    SwipeDirection direction_;
    std::function<void(SwipeGestureRecognizer&)> action_;
    Point start_;
    double startTime_ = 0;
};

// Began once the finger moves 10 points, Changed on each move, Ended when it lifts;
// the action runs on each of those.
class PanGestureRecognizer : public GestureRecognizer {
public:
    explicit PanGestureRecognizer(std::function<void(PanGestureRecognizer&)> action);
    static std::shared_ptr<PanGestureRecognizer> make(std::function<void(PanGestureRecognizer&)> action);
    // How far the finger moved since it touched down, in `view`'s coordinates.
    Point translationInView(const View* view) const;

    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;

protected:
    void fire() override;

private:
    std::function<void(PanGestureRecognizer&)> action_;
    Point start_;
};

// Began when the finger stays down (moving under 10 points) for minimumPressDuration
// seconds on the clock; Ended when it lifts. The action runs on both.
class LongPressGestureRecognizer : public GestureRecognizer {
public:
    explicit LongPressGestureRecognizer(std::function<void(LongPressGestureRecognizer&)> action);
    static std::shared_ptr<LongPressGestureRecognizer> make(std::function<void(LongPressGestureRecognizer&)> action);
    double minimumPressDuration() const { return minimumPressDuration_; }
    void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }

    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;
    void reset() override;

protected:
    void fire() override;

private:
    void stopTimer();
    std::function<void(LongPressGestureRecognizer&)> action_;
    double minimumPressDuration_ = 0.5;
    std::shared_ptr<platform::Timer> timer_;
    Point start_;
};

} // namespace platform::ui
