#include "platform/ui/ViewController.h"

#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ClassName.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace platform::ui {

namespace {
// How long a modal presentation or dismissal takes when animated.
constexpr double modalTransitionDuration = 0.35;

void afterTransition(bool animated, std::function<void()> finish) {
    if (animated)
        platform::performAfterDelay(modalTransitionDuration, std::move(finish));
    else
        finish();
}
} // namespace

ViewController::~ViewController() {
    if (view_ && view_->viewController() == this) view_->setViewController(nullptr);
    if (modal_ && modal_->presenting_ == this) modal_->presenting_ = nullptr;
}

const ViewPtr& ViewController::view() {
    if (!view_) {
        loadView();
        if (!view_) setView(View::make(Screen::bounds()));
        if (Screen::idiom() == Idiom::Tablet)
            layoutForTablet();
        else
            layoutForPhone();
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(ViewPtr view) {
    if (view_ && view_->viewController() == this) view_->setViewController(nullptr);
    view_ = std::move(view);
    if (view_) view_->setViewController(this);
}

void ViewController::loadView() {
    setView(View::make(Screen::bounds()));
}

std::string ViewController::className() const {
    return demangledClassName(typeid(*this));
}

NavigationController* ViewController::navigationController() const {
    for (ViewController* p = parent_; p; p = p->parent_)
        if (auto* nav = dynamic_cast<NavigationController*>(p)) return nav;
    return nullptr;
}

Responder* ViewController::nextResponder() const {
    return view_ ? view_->superview() : nullptr;
}

void ViewController::presentModalViewController(const ViewControllerPtr& controller, bool animated) {
    if (!controller || controller.get() == this) return;
    if (modal_) {
        platform::log("ViewController: " + className() + " already presents " + modal_->className());
        return;
    }
    if (controller->presenting_) {
        platform::log("ViewController: " + controller->className() + " is already presented");
        return;
    }
    modal_ = controller;
    controller->presenting_ = this;
    Window* host = (view_ && view_->window()) ? view_->window() : Window::keyWindow();
    const ViewPtr& modalView = controller->view();
    modalView->setFrame(host ? host->bounds() : Screen::bounds());
    modalView->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    viewWillDisappear(animated);
    controller->viewWillAppear(animated);
    if (host) host->addSubview(modalView);
    // Controllers live in shared pointers; one that is gone by then is not called.
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    afterTransition(animated, [weakSelf, controller, animated] {
        controller->viewDidAppear(animated);
        if (auto presenter = weakSelf.lock()) presenter->viewDidDisappear(animated);
    });
}

void ViewController::dismissModalViewController(bool animated) {
    if (!modal_) {
        if (presenting_) presenting_->dismissModalViewController(animated);
        return;
    }
    ViewControllerPtr modal = std::move(modal_);
    modal_.reset();
    modal->presenting_ = nullptr;
    // Whatever the dismissed controller presented goes with it.
    if (modal->modal_) modal->dismissModalViewController(false);
    modal->viewWillDisappear(animated);
    viewWillAppear(animated);
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    afterTransition(animated, [weakSelf, modal, animated] {
        if (modal->isViewLoaded()) modal->view()->removeFromSuperview();
        modal->viewDidDisappear(animated);
        if (auto presenter = weakSelf.lock()) presenter->viewDidAppear(animated);
    });
}

} // namespace platform::ui
