#include "platform/ui/View.h"

#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/ui/ClassName.h"
#include "platform/ui/Display.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

namespace platform::ui {

View::View(Rect frame) : center_(frame.center()), bounds_(0, 0, frame.width(), frame.height()), layer_(*this) {}

View::~View() {
    for (const ViewPtr& child : subviews_)
        child->superview_ = nullptr;
    for (const GestureRecognizerPtr& recognizer : gestureRecognizers_)
        recognizer->view_ = nullptr;
}

ViewPtr View::make(Rect frame) {
    return std::make_shared<View>(frame);
}

// ---- geometry

Rect View::frame() const {
    Rect local(-bounds_.width() / 2, -bounds_.height() / 2, bounds_.width(), bounds_.height());
    if (transform_.isIdentity()) return local.offsetBy(center_.x, center_.y);
    return transform_.apply(local).offsetBy(center_.x, center_.y);
}

void View::setFrame(const Rect& frame) {
    KAVO_ASSERT_MAIN_THREAD();
    Size oldSize = bounds_.size;
    if (frame.center() == center_ && frame.size == oldSize) return;
    noteAnimatable();
    setNeedsDisplay(); // where it was
    center_ = frame.center();
    bounds_.size = frame.size;
    if (oldSize != frame.size) {
        resizeSubviews(oldSize);
        setNeedsLayout();
    }
    setNeedsDisplay();
}

void View::setBounds(const Rect& bounds) {
    KAVO_ASSERT_MAIN_THREAD();
    if (bounds == bounds_) return;
    Size oldSize = bounds_.size;
    noteAnimatable();
    setNeedsDisplay(); // where it was
    bounds_ = bounds;
    if (oldSize != bounds.size) {
        resizeSubviews(oldSize);
        setNeedsLayout();
    }
    setNeedsDisplay();
}

void View::setCenter(Point center) {
    KAVO_ASSERT_MAIN_THREAD();
    if (center == center_) return;
    noteAnimatable();
    setNeedsDisplay(); // where it was
    center_ = center;
    setNeedsDisplay();
}

void View::setTransform(const AffineTransform& transform) {
    KAVO_ASSERT_MAIN_THREAD();
    if (transform == transform_) return;
    noteAnimatable();
    setNeedsDisplay(); // where it was
    transform_ = transform;
    setNeedsDisplay();
}

void View::resizeSubviews(Size oldSize) {
    if (!autoresizesSubviews_) return;
    Size newSize = bounds_.size;
    // Shares the change of one dimension among the flexible parts, in proportion to
    // their current lengths (equally when they are all zero).
    auto distribute = [](double delta, bool flexA, bool flexB, bool flexC, double& a, double& b, double& c) {
        double sum = (flexA ? a : 0) + (flexB ? b : 0) + (flexC ? c : 0);
        int count = int(flexA) + int(flexB) + int(flexC);
        if (count == 0) return;
        if (sum > 0) {
            double da = flexA ? delta * a / sum : 0, db = flexB ? delta * b / sum : 0, dc = flexC ? delta * c / sum : 0;
            a += da, b += db, c += dc;
        } else {
            if (flexA) a += delta / count;
            if (flexB) b += delta / count;
            if (flexC) c += delta / count;
        }
    };
    for (const ViewPtr& child : subviews_) {
        unsigned mask = child->autoresizingMask_;
        if (mask == AutoresizingNone) continue;
        Rect f = child->frame();
        double left = f.minX(), width = f.width(), right = oldSize.width - f.maxX();
        double top = f.minY(), height = f.height(), bottom = oldSize.height - f.maxY();
        distribute(newSize.width - oldSize.width, mask & AutoresizingFlexibleLeftMargin,
                   mask & AutoresizingFlexibleWidth, mask & AutoresizingFlexibleRightMargin, left, width, right);
        distribute(newSize.height - oldSize.height, mask & AutoresizingFlexibleTopMargin,
                   mask & AutoresizingFlexibleHeight, mask & AutoresizingFlexibleBottomMargin, top, height, bottom);
        child->setFrame({left, top, std::max(0.0, width), std::max(0.0, height)});
    }
}

// ---- appearance

void View::setAlpha(double alpha) {
    KAVO_ASSERT_MAIN_THREAD();
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (alpha == alpha_) return;
    noteAnimatable();
    alpha_ = alpha;
    setNeedsDisplay();
}

void View::setHidden(bool hidden) {
    KAVO_ASSERT_MAIN_THREAD();
    if (hidden == hidden_) return;
    hidden_ = hidden;
    setNeedsDisplay();
    // What the player can no longer see takes no key input: a field edited inside ends its
    // edit, as when it leaves the screen.
    if (auto* first = dynamic_cast<View*>(Responder::firstResponder()); hidden && first && first->isDescendantOf(this))
        first->resignFirstResponder();
}

void View::setBackgroundColor(Color color) {
    KAVO_ASSERT_MAIN_THREAD();
    if (color == backgroundColor_) return;
    backgroundColor_ = color;
    setNeedsDisplay();
}

void View::setClipsToBounds(bool clips) {
    KAVO_ASSERT_MAIN_THREAD();
    if (clips == clipsToBounds_) return;
    clipsToBounds_ = clips;
    setNeedsDisplay();
}

bool View::isVisibleOnScreen() const {
    for (const View* v = this; v; v = v->superview_)
        if (v->hidden_ || v->alpha_ <= 0.01) return false;
    return true;
}

// ---- identity

std::string View::accessibilityLabel() const {
    return accessibilityLabel_.empty() ? text() : accessibilityLabel_;
}

std::string demangledClassName(const std::type_info& type) {
    int status = 0;
    char* raw = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = (status == 0 && raw) ? raw : type.name();
    std::free(raw);
    size_t templateStart = name.find('<');
    size_t lastColon = name.rfind("::", templateStart);
    if (lastColon != std::string::npos) name = name.substr(lastColon + 2);
    return name;
}

std::string View::className() const {
    return demangledClassName(typeid(*this));
}

// ---- hierarchy

bool View::isDescendantOf(const View* view) const {
    for (const View* v = this; v; v = v->superview_)
        if (v == view) return true;
    return false;
}

Window* View::window() const {
    const View* top = this;
    while (top->superview_)
        top = top->superview_;
    return dynamic_cast<Window*>(const_cast<View*>(top));
}

void View::addSubview(const ViewPtr& view) {
    KAVO_ASSERT_MAIN_THREAD();
    attach(view, subviews_.size());
}

void View::insertSubview(const ViewPtr& view, size_t index) {
    KAVO_ASSERT_MAIN_THREAD();
    attach(view, index);
}

void View::insertSubviewAbove(const ViewPtr& view, const View* sibling) {
    KAVO_ASSERT_MAIN_THREAD();
    for (size_t i = 0; i < subviews_.size(); ++i) {
        if (subviews_[i].get() == sibling) {
            // When the view is already below the sibling, taking it out shifts the sibling down.
            bool below = view && view->superview_ == this &&
                         std::find(subviews_.begin(), subviews_.begin() + long(i), view) != subviews_.begin() + long(i);
            attach(view, below ? i : i + 1);
            return;
        }
    }
    addSubview(view);
}

void View::insertSubviewBelow(const ViewPtr& view, const View* sibling) {
    KAVO_ASSERT_MAIN_THREAD();
    for (size_t i = 0; i < subviews_.size(); ++i) {
        if (subviews_[i].get() == sibling) {
            bool below = view && view->superview_ == this &&
                         std::find(subviews_.begin(), subviews_.begin() + long(i), view) != subviews_.begin() + long(i);
            attach(view, below ? i - 1 : i);
            return;
        }
    }
    attach(view, 0);
}

void View::attach(const ViewPtr& view, size_t index) {
    if (!view) return;
    if (view.get() == this || isDescendantOf(view.get())) {
        platform::log("View: cannot add a view to itself or to one of its subviews");
        return;
    }
    ViewPtr keep = view;
    if (view->superview_ == this) {
        // A move within the same superview: only the order changes.
        subviews_.erase(std::find(subviews_.begin(), subviews_.end(), view));
        const size_t place = std::min(placeForSubview(*view, std::min(index, subviews_.size())), subviews_.size());
        subviews_.insert(subviews_.begin() + long(place), view);
        setNeedsDisplay();
        return;
    }
    Window* oldWindow = view->window();
    if (view->superview_) view->superview_->detachSubview(view.get());
    const size_t place = std::min(placeForSubview(*view, std::min(index, subviews_.size())), subviews_.size());
    subviews_.insert(subviews_.begin() + long(place), view);
    view->superview_ = this;
    didAddSubview(view.get());
    view->didMoveToSuperview();
    Window* newWindow = view->window();
    if (oldWindow != newWindow) view->notifyWindowChange(oldWindow, newWindow);
    setNeedsDisplay();
    view->setNeedsDisplay(); // it may reach past this view
}

void View::detachSubview(View* view) {
    willRemoveSubview(view);
    auto found = std::find_if(subviews_.begin(), subviews_.end(), [view](const ViewPtr& v) { return v.get() == view; });
    view->superview_ = nullptr;
    if (found != subviews_.end()) subviews_.erase(found);
}

void View::removeFromSuperview() {
    KAVO_ASSERT_MAIN_THREAD();
    if (!superview_) return;
    ViewPtr keep = weak_from_this().lock(); // the superview may hold the last reference
    // A text input leaving the screen stops taking key input.
    if (auto* first = dynamic_cast<View*>(Responder::firstResponder()); first && first->isDescendantOf(this))
        first->resignFirstResponder();
    if (!superview_) return; // resigning may have removed it already
    setNeedsDisplay();       // it may reach past its superview
    Window* oldWindow = window();
    View* parent = superview_;
    parent->detachSubview(this);
    parent->setNeedsDisplay();
    didMoveToSuperview();
    if (oldWindow) notifyWindowChange(oldWindow, nullptr);
}

void View::removeAllSubviews() {
    KAVO_ASSERT_MAIN_THREAD();
    std::vector<ViewPtr> children = subviews_;
    for (const ViewPtr& child : children)
        child->removeFromSuperview();
}

void View::bringSubviewToFront(const View* view) {
    KAVO_ASSERT_MAIN_THREAD();
    auto found = std::find_if(subviews_.begin(), subviews_.end(), [view](const ViewPtr& v) { return v.get() == view; });
    if (found == subviews_.end()) return;
    ViewPtr moved = *found;
    subviews_.erase(found);
    const size_t place = std::min(placeForSubview(*moved, subviews_.size()), subviews_.size());
    subviews_.insert(subviews_.begin() + long(place), std::move(moved));
    setNeedsDisplay();
}

void View::sendSubviewToBack(const View* view) {
    KAVO_ASSERT_MAIN_THREAD();
    auto found = std::find_if(subviews_.begin(), subviews_.end(), [view](const ViewPtr& v) { return v.get() == view; });
    if (found == subviews_.end()) return;
    std::rotate(subviews_.begin(), found, found + 1);
    setNeedsDisplay();
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag) return this;
    for (const ViewPtr& child : subviews_)
        if (View* found = child->viewWithTag(tag)) return found;
    return nullptr;
}

void View::notifyWindowChange(Window* oldWindow, Window* newWindow) {
    if (oldWindow == newWindow) return;
    didMoveToWindow();
    std::vector<ViewPtr> children = subviews_;
    for (const ViewPtr& child : children)
        child->notifyWindowChange(oldWindow, newWindow);
}

// ---- coordinates

Point View::pointToSuperview(Point p) const {
    Point c = bounds_.center();
    Point moved = transform_.apply(Point{p.x - c.x, p.y - c.y});
    return {center_.x + moved.x, center_.y + moved.y};
}

Point View::pointFromSuperview(Point p) const {
    Point c = bounds_.center();
    Point local = transform_.invert().apply(Point{p.x - center_.x, p.y - center_.y});
    return {local.x + c.x, local.y + c.y};
}

Point View::convertPoint(Point point, const View* to) const {
    for (const View* v = this; v; v = v->superview_)
        point = v->pointToSuperview(point);
    return to ? to->convertPointFrom(point, nullptr) : point;
}

Point View::convertPointFrom(Point point, const View* from) const {
    if (from) point = from->convertPoint(point, nullptr);
    std::vector<const View*> chain;
    for (const View* v = this; v; v = v->superview_)
        chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        point = (*it)->pointFromSuperview(point);
    return point;
}

namespace {
Rect boundingBox(Point a, Point b, Point c, Point d) {
    double x0 = std::min({a.x, b.x, c.x, d.x}), x1 = std::max({a.x, b.x, c.x, d.x});
    double y0 = std::min({a.y, b.y, c.y, d.y}), y1 = std::max({a.y, b.y, c.y, d.y});
    return {x0, y0, x1 - x0, y1 - y0};
}
} // namespace

Rect View::convertRect(const Rect& r, const View* to) const {
    return boundingBox(convertPoint({r.minX(), r.minY()}, to), convertPoint({r.maxX(), r.minY()}, to),
                       convertPoint({r.minX(), r.maxY()}, to), convertPoint({r.maxX(), r.maxY()}, to));
}

Rect View::convertRectFrom(const Rect& r, const View* from) const {
    return boundingBox(convertPointFrom({r.minX(), r.minY()}, from), convertPointFrom({r.maxX(), r.minY()}, from),
                       convertPointFrom({r.minX(), r.maxY()}, from), convertPointFrom({r.maxX(), r.maxY()}, from));
}

// ---- touches

View* View::hitTest(Point point) {
    if (hidden_ || alpha_ <= 0.01 || !userInteractionEnabled_) return nullptr;
    if (!pointInside(point)) return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        View* child = it->get();
        if (!child->transform_.isInvertible()) continue; // squashed to nothing
        if (View* hit = child->hitTest(child->pointFromSuperview(point))) return hit;
    }
    return this;
}

bool View::pointInside(Point point) const {
    return bounds_.contains(point);
}

Responder* View::nextResponder() const {
    if (viewController_) return viewController_;
    return superview_;
}

void View::addGestureRecognizer(const GestureRecognizerPtr& recognizer) {
    if (!recognizer) return;
    if (recognizer->view_ == this) return;
    if (recognizer->view_) recognizer->view_->removeGestureRecognizer(recognizer.get());
    recognizer->view_ = this;
    gestureRecognizers_.push_back(recognizer);
}

void View::removeGestureRecognizer(const GestureRecognizer* recognizer) {
    auto found = std::find_if(gestureRecognizers_.begin(), gestureRecognizers_.end(),
                              [recognizer](const GestureRecognizerPtr& r) { return r.get() == recognizer; });
    if (found == gestureRecognizers_.end()) return;
    (*found)->view_ = nullptr;
    gestureRecognizers_.erase(found);
}

// ---- drawing and layout

void View::draw(GraphicsContext&) {}

void View::setDrawHandler(std::function<void(GraphicsContext&, Rect)> handler) {
    drawHandler_ = std::move(handler);
    setNeedsDisplay();
}

void View::drawContent(GraphicsContext& context) {
    draw(context);
    if (drawHandler_) drawHandler_(context, bounds_);
}

void View::setNeedsDisplay() {
    KAVO_ASSERT_MAIN_THREAD();
    // A change nobody can see costs no frame: the view is in no window, or under a hidden
    // ancestor (a spinner left turning on a screen further down the navigation stack).
    // The view's own hidden flag does not count: hiding it is a change to show. Adding the
    // view to a shown window marks the display then.
    const View* top = this;
    for (const View* v = superview_; v; v = v->superview_) {
        if (v->hidden_) return;
        top = v;
    }
    if (!dynamic_cast<const Window*>(top)) return;
    // Only the view's own area needs drawing again, with a margin for what is drawn just
    // past the bounds (antialiased edges) and its shadow.
    constexpr double kMargin = 8;
    Rect area = convertRect(bounds_, nullptr).insetBy(-kMargin, -kMargin);
    if (layer_.shadowOpacity() > 0) {
        const Size offset = layer_.shadowOffset();
        area = area.unionWith(area.offsetBy(offset.width, offset.height));
    }
    Display::markDirty(area);
}

void View::setNeedsLayout() {
    KAVO_ASSERT_MAIN_THREAD();
    needsLayout_ = true;
    Display::markDirty();
}

void View::layoutIfNeeded() {
    ViewPtr keep = weak_from_this().lock();
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    std::vector<ViewPtr> children = subviews_;
    for (const ViewPtr& child : children)
        child->layoutIfNeeded();
}

Size View::sizeThatFits(Size) const {
    return bounds_.size;
}

void View::sizeToFit() {
    Size fitted = sizeThatFits(bounds_.size);
    Rect f = frame();
    setFrame({f.origin, fitted});
}

} // namespace platform::ui
