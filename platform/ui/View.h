#pragma once

#include "platform/ui/Animation.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Responder.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

class GestureRecognizer;
class GraphicsContext;
class View;
class ViewController;
class Window;

using ViewPtr = std::shared_ptr<View>;
using GestureRecognizerPtr = std::shared_ptr<GestureRecognizer>;

// How a view's frame follows its superview's size changes.
enum AutoresizingMask : unsigned {
    AutoresizingNone = 0,
    AutoresizingFlexibleLeftMargin = 1 << 0,
    AutoresizingFlexibleWidth = 1 << 1,
    AutoresizingFlexibleRightMargin = 1 << 2,
    AutoresizingFlexibleTopMargin = 1 << 3,
    AutoresizingFlexibleHeight = 1 << 4,
    AutoresizingFlexibleBottomMargin = 1 << 5,
};

// A rectangle on screen with subviews. Views are held in shared pointers: a view owns its
// subviews; the superview pointer is a plain back pointer that is cleared when the view is
// removed (and a destroyed view leaves its subviews without a superview). Views are used
// on the main thread only.
//
// Geometry: a view has a centre (in its superview's coordinates), bounds (its own
// coordinates) and a transform applied about the centre. frame() is the bounding box of
// the transformed bounds in the superview.
class View : public Responder, public std::enable_shared_from_this<View> {
public:
    explicit View(Rect frame = {});
    ~View() override;

    static ViewPtr make(Rect frame = {});

    // ---- geometry
    Rect frame() const;
    // Sets the centre and the bounds size (the transform stays).
    void setFrame(const Rect& frame);
    Rect bounds() const { return bounds_; }
    void setBounds(const Rect& bounds);
    Point center() const { return center_; }
    void setCenter(Point center);
    AffineTransform transform() const { return transform_; }
    void setTransform(const AffineTransform& transform);
    unsigned autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool on) { autoresizesSubviews_ = on; }

    // ---- appearance
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    bool isHidden() const { return hidden_; }
    virtual void setHidden(bool hidden);
    Color backgroundColor() const { return backgroundColor_; }
    virtual void setBackgroundColor(Color color);
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips);
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    Layer& layer() { return layer_; }
    const Layer& layer() const { return layer_; }
    // True when this view and all its ancestors are shown (not hidden, alpha > 0.01).
    bool isVisibleOnScreen() const;

    // ---- identity
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    const std::string& accessibilityIdentifier() const { return accessibilityIdentifier_; }
    void setAccessibilityIdentifier(const std::string& identifier) { accessibilityIdentifier_ = identifier; }
    // The label given, or else text().
    std::string accessibilityLabel() const;
    void setAccessibilityLabel(const std::string& label) { accessibilityLabel_ = label; }
    // The visible text for automation: label text, button title, field text; empty here.
    virtual std::string text() const { return {}; }
    // The dynamic type's name without namespaces ("View", "Button", "LoginView").
    std::string className() const;
    virtual bool isControl() const { return false; }

    // ---- hierarchy
    View* superview() const { return superview_; }
    const std::vector<ViewPtr>& subviews() const { return subviews_; }
    // Adding a view that has a superview moves it. A view cannot be added to itself or
    // below itself (logged and ignored).
    void addSubview(const ViewPtr& view);
    void insertSubview(const ViewPtr& view, size_t index);
    void insertSubviewAbove(const ViewPtr& view, const View* sibling);
    void insertSubviewBelow(const ViewPtr& view, const View* sibling);
    void removeFromSuperview();
    void removeAllSubviews();
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    // Depth-first, this view included.
    View* viewWithTag(int tag);
    bool isDescendantOf(const View* view) const;
    // The window at the top of the superview chain, or nullptr.
    Window* window() const;
    // The controller whose view this is (set by ViewController).
    ViewController* viewController() const { return viewController_; }
    void setViewController(ViewController* controller) { viewController_ = controller; }
    // This view as a shared pointer (it must be held by one).
    ViewPtr self() { return shared_from_this(); }

    // Every descendant (not this view) of type T, depth first, front to back order of adding.
    template <class T> std::vector<std::shared_ptr<T>> subviewsOfType() const {
        std::vector<std::shared_ptr<T>> found;
        for (const ViewPtr& child : subviews_) {
            if (auto typed = std::dynamic_pointer_cast<T>(child)) found.push_back(typed);
            auto deeper = child->subviewsOfType<T>();
            found.insert(found.end(), deeper.begin(), deeper.end());
        }
        return found;
    }

    // Hooks for subclasses.
    virtual void didAddSubview(View* subview) { (void)subview; }
    virtual void willRemoveSubview(View* subview) { (void)subview; }
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}
    // The place a subview takes when it is added, inserted or brought to the front, given
    // the place asked for (counted among the other subviews, without it). A view that keeps
    // some of its subviews in front of the rest gives a lower place; sendSubviewToBack does
    // not ask.
    virtual size_t placeForSubview(const View& subview, size_t index) const {
        (void)subview;
        return index;
    }

    // ---- coordinates; nullptr means screen coordinates
    Point convertPoint(Point point, const View* to) const;
    Point convertPointFrom(Point point, const View* from) const;
    Rect convertRect(const Rect& rect, const View* to) const;
    Rect convertRectFrom(const Rect& rect, const View* from) const;
    // This view's point in its superview's coordinates (screen coordinates at the top).
    Point pointToSuperview(Point point) const;
    Point pointFromSuperview(Point point) const;

    // ---- touches
    // The deepest visible, interactive view under `point` (in this view's coordinates):
    // later subviews first. nullptr when this view is hidden, nearly transparent, not
    // interactive or the point is outside its bounds.
    virtual View* hitTest(Point point);
    virtual bool pointInside(Point point) const;
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    bool isMultipleTouchEnabled() const { return multipleTouchEnabled_; }
    void setMultipleTouchEnabled(bool enabled) { multipleTouchEnabled_ = enabled; }
    Responder* nextResponder() const override;

    void addGestureRecognizer(const GestureRecognizerPtr& recognizer);
    void removeGestureRecognizer(const GestureRecognizer* recognizer);
    const std::vector<GestureRecognizerPtr>& gestureRecognizers() const { return gestureRecognizers_; }

    // ---- drawing and layout
    // The view's own content in bounds coordinates. Background, border, corners, alpha,
    // transform, clipping and shadow are drawn by the renderer from the properties.
    virtual void draw(GraphicsContext& context);
    // A custom-draw hook run after draw().
    void setDrawHandler(std::function<void(GraphicsContext&, Rect bounds)> handler);
    bool hasDrawHandler() const { return bool(drawHandler_); }
    // draw() then the draw handler: what a renderer calls.
    void drawContent(GraphicsContext& context);
    void setNeedsDisplay();
    void setNeedsLayout();
    bool needsLayout() const { return needsLayout_; }
    // Runs layoutSubviews on this view and its descendants that need it.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}
    virtual Size sizeThatFits(Size size) const;
    void sizeToFit();

    // ---- animations (all run on the main run loop)
    // Model values change at once; the in-flight state lets a renderer show the
    // in-between frames. `completion(true)` runs when the clock reaches delay + duration,
    // on a later run loop turn even for a zero duration.
    static void animate(double duration, double delay, AnimationOptions options, std::function<void()> changes,
                        std::function<void(bool finished)> completion = {});
    static void animate(double duration, std::function<void()> changes,
                        std::function<void(bool finished)> completion = {});
    // The block form: changes between begin and commit are animated with the settings made
    // in between; the did-stop function gets the block's name.
    static void beginAnimations(const std::string& name);
    static void setAnimationDuration(double duration);
    static void setAnimationDelay(double delay);
    static void setAnimationCurve(AnimationCurve curve);
    static void setAnimationRepeatCount(double count);
    static void setAnimationTransition(TransitionOptions transition, View* view);
    static void setAnimationDidStop(std::function<void(const std::string& name, bool finished)> didStop);
    static void commitAnimations();
    // Runs `changes` (usually swapping subviews of `view`) with a transition look.
    static void transition(const ViewPtr& view, double duration, TransitionOptions options,
                           std::function<void()> changes, std::function<void(bool finished)> completion = {});
    static void setAnimationsEnabled(bool enabled);
    static bool areAnimationsEnabled();
    // True while any view or layer animation has time left.
    static bool animationsInFlight();

    // The running animation of this view, if any (nullptr when none or over).
    const ViewAnimationState* animationState() const;
    // The values a renderer should show now (the model values when nothing runs).
    Point presentationCenter() const;
    Rect presentationBounds() const;
    double presentationAlpha() const;
    AffineTransform presentationTransform() const;
    Rect presentationFrame() const;

private:
    friend class Layer;
    friend struct AnimationRecorder;
    void attach(const ViewPtr& view, size_t index);
    void detachSubview(View* view);
    void notifyWindowChange(Window* oldWindow, Window* newWindow);
    void resizeSubviews(Size oldSize);
    void noteAnimatable();
    // Remembers this view in the list that animationsInFlight() looks at.
    void trackAnimations();
    // Drops the views of that list that are gone or whose animations are over.
    static void forgetFinishedAnimations();

    Point center_;
    Rect bounds_;
    AffineTransform transform_;
    double alpha_ = 1;
    bool hidden_ = false;
    bool clipsToBounds_ = false;
    bool opaque_ = true;
    bool userInteractionEnabled_ = true;
    bool multipleTouchEnabled_ = false;
    bool needsLayout_ = true;
    bool autoresizesSubviews_ = true;
    unsigned autoresizingMask_ = AutoresizingNone;
    Color backgroundColor_ = Color::clear();
    int tag_ = 0;
    std::string accessibilityIdentifier_;
    std::string accessibilityLabel_;
    View* superview_ = nullptr;
    ViewController* viewController_ = nullptr;
    std::vector<ViewPtr> subviews_;
    std::vector<GestureRecognizerPtr> gestureRecognizers_;
    std::function<void(GraphicsContext&, Rect)> drawHandler_;
    std::optional<ViewAnimationState> animation_;
    uint64_t animationBlock_ = 0; // the animation block that last recorded this view
    Layer layer_;
};

} // namespace platform::ui
