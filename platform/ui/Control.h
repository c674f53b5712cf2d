#pragma once

#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <vector>

namespace platform::ui {

class ScrollView;

// What happened to a control; actions are registered per event.
enum class ControlEvent {
    TouchDown,
    TouchDragInside,
    TouchDragOutside,
    TouchDragEnter,
    TouchDragExit,
    TouchUpInside,
    TouchUpOutside,
    TouchCancel,
    ValueChanged,
    EditingDidBegin,
    EditingChanged,
    EditingDidEnd,
    EditingDidEndOnExit,
};

// A control's state is a combination of these flags; Normal is none of them.
enum class ControlState : unsigned { Normal = 0, Highlighted = 1, Disabled = 2, Selected = 4 };
inline ControlState operator|(ControlState a, ControlState b) {
    return ControlState(unsigned(a) | unsigned(b));
}
inline bool hasFlag(ControlState state, ControlState flag) {
    return (unsigned(state) & unsigned(flag)) != 0;
}

enum class ContentHorizontalAlignment { Center, Left, Right, Fill };
enum class ContentVerticalAlignment { Center, Top, Bottom, Fill };

// A view that turns touches into actions. A touch that goes down in it is tracked until
// it lifts: TouchDown, then TouchDragInside/Outside while it moves, then TouchUpInside
// when it lifts within the bounds grown by touchMargin(), TouchUpOutside otherwise. The
// control is highlighted while the finger is over it. A disabled control takes the touches
// and ignores them. A finger that drags more than a few points inside a scroll view that
// can scroll that way is handed to the scroll view (the control gets TouchCancel).
class Control : public View {
public:
    explicit Control(Rect frame = {});
    ~Control() override;
    static std::shared_ptr<Control> make(Rect frame = {});

    bool isControl() const override { return true; }

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);
    ControlState state() const;

    ContentHorizontalAlignment contentHorizontalAlignment() const { return horizontalAlignment_; }
    void setContentHorizontalAlignment(ContentHorizontalAlignment alignment);
    ContentVerticalAlignment contentVerticalAlignment() const { return verticalAlignment_; }
    void setContentVerticalAlignment(ContentVerticalAlignment alignment);

    // Registers an action for an event; the returned id removes it again.
    int addTarget(ControlEvent event, std::function<void()> action);
    void removeTarget(int id);
    void removeTargets(ControlEvent event);
    void removeAllTargets();
    bool hasTargets(ControlEvent event) const;
    // Runs the actions of the event in the order they were added. An action may remove
    // actions or the control itself.
    virtual void sendActions(ControlEvent event);

    bool isTracking() const { return tracking_; }
    bool isTouchInside() const { return touchInside_; }
    // How far outside the bounds a lifting finger still counts as inside.
    static constexpr double touchMargin() { return 20; }

    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesMoved(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;

protected:
    // Tracking hooks for the kinds of control; locations are in the control's coordinates.
    virtual void beginTracking(Point location) { (void)location; }
    virtual void continueTracking(Point location) { (void)location; }
    virtual void endTracking(Point location, bool inside) { (void)location, (void)inside; }
    virtual void cancelTracking() {}
    // Controls that follow the finger themselves (sliders, switches) keep their drags.
    virtual bool passesDragsToScrollView() const { return true; }
    // Called when enabled, selected or highlighted change.
    virtual void stateChanged() { setNeedsDisplay(); }

private:
    struct Target {
        int id;
        ControlEvent event;
        std::function<void()> action;
    };
    bool insideWithMargin(Point location) const;
    std::shared_ptr<ScrollView> scrollViewFor(Point from, Point to) const;

    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
    bool tracking_ = false;
    bool touchInside_ = false;
    ContentHorizontalAlignment horizontalAlignment_ = ContentHorizontalAlignment::Center;
    ContentVerticalAlignment verticalAlignment_ = ContentVerticalAlignment::Center;
    std::vector<Target> targets_;
    int nextTargetId_ = 1;
    Point touchStart_; // screen coordinates
    std::weak_ptr<ScrollView> handedTo_;
    bool handedOff_ = false;
};

} // namespace platform::ui
