#include "platform/ui/NavigationController.h"

#include "platform/runtime/Log.h"
#include "platform/ui/Screen.h"

#include <algorithm>

namespace platform::ui {

NavigationController::NavigationController(ViewControllerPtr root) {
    if (!root) return;
    root->setParentViewController(this);
    stack_.push_back(std::move(root));
}

NavigationController::~NavigationController() {
    if (pendingTimer_) pendingTimer_->invalidate();
    for (const ViewControllerPtr& controller : stack_)
        if (controller->parentViewController() == this) controller->setParentViewController(nullptr);
}

std::shared_ptr<NavigationController> NavigationController::make(ViewControllerPtr root) {
    return std::make_shared<NavigationController>(std::move(root));
}

void NavigationController::loadView() {
    setView(View::make(Screen::bounds()));
    if (auto top = topViewController()) showView(top, nullptr);
}

ViewControllerPtr NavigationController::topViewController() const {
    return stack_.empty() ? nullptr : stack_.back();
}

ViewControllerPtr NavigationController::visibleViewController() const {
    ViewControllerPtr shown = modalViewController() ? modalViewController() : topViewController();
    while (shown && shown->modalViewController())
        shown = shown->modalViewController();
    return shown;
}

void NavigationController::showView(const ViewControllerPtr& controller, const ViewControllerPtr& below) {
    if (!isViewLoaded()) return;
    const ViewPtr& container = view();
    const ViewPtr& shown = controller->view();
    shown->setFrame(container->bounds());
    shown->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    if (below && below->isViewLoaded() && below->view()->superview() == container.get())
        container->insertSubviewBelow(shown, below->view().get());
    else
        container->addSubview(shown);
}

void NavigationController::transition(const ViewControllerPtr& from, const ViewControllerPtr& to, bool animated,
                                      bool toGoesBelow) {
    to->view(); // loaded (viewDidLoad) before it is told it will appear
    if (from) from->viewWillDisappear(animated);
    to->viewWillAppear(animated);
    if (delegate_) delegate_->willShowViewController(*this, *to, animated);
    showView(to, toGoesBelow ? from : nullptr);
    pendingFinish_ = [this, from, to, animated] {
        if (from && from != to) {
            if (from->isViewLoaded() && isViewLoaded() && from->view()->superview() == view().get())
                from->view()->removeFromSuperview();
            from->viewDidDisappear(animated);
            // A popped screen leaves the stack once it is gone from view.
            if (std::find(stack_.begin(), stack_.end(), from) == stack_.end() && from->parentViewController() == this)
                from->setParentViewController(nullptr);
        }
        to->viewDidAppear(animated);
        if (delegate_) delegate_->didShowViewController(*this, *to, animated);
    };
    if (animated)
        pendingTimer_ = platform::performAfterDelay(TransitionDuration, [this] { finishPendingTransition(); });
    else
        finishPendingTransition();
}

void NavigationController::finishPendingTransition() {
    if (pendingTimer_) {
        pendingTimer_->invalidate();
        pendingTimer_.reset();
    }
    if (!pendingFinish_) return;
    std::function<void()> finish = std::move(pendingFinish_);
    pendingFinish_ = nullptr;
    finish();
}

void NavigationController::pushViewController(const ViewControllerPtr& controller, bool animated) {
    if (!controller) return;
    if (std::find(stack_.begin(), stack_.end(), controller) != stack_.end()) {
        platform::log("NavigationController: " + controller->className() + " is already on the stack");
        return;
    }
    finishPendingTransition();
    ViewControllerPtr from = topViewController();
    controller->setParentViewController(this);
    stack_.push_back(controller);
    transition(from, controller, animated, false);
}

ViewControllerPtr NavigationController::popViewController(bool animated) {
    finishPendingTransition();
    if (stack_.size() < 2) return nullptr;
    ViewControllerPtr popped = stack_.back();
    stack_.pop_back();
    transition(popped, stack_.back(), animated, true);
    return popped;
}

std::vector<ViewControllerPtr> NavigationController::popToViewController(const ViewController* controller,
                                                                         bool animated) {
    finishPendingTransition();
    auto found = std::find_if(stack_.begin(), stack_.end(),
                              [controller](const ViewControllerPtr& c) { return c.get() == controller; });
    if (found == stack_.end() || found + 1 == stack_.end()) return {};
    std::vector<ViewControllerPtr> popped(found + 1, stack_.end());
    stack_.erase(found + 1, stack_.end());
    // Only the top one was on screen; the ones between simply leave.
    for (size_t i = 0; i + 1 < popped.size(); ++i) {
        if (popped[i]->isViewLoaded()) popped[i]->view()->removeFromSuperview();
        if (popped[i]->parentViewController() == this) popped[i]->setParentViewController(nullptr);
    }
    transition(popped.back(), stack_.back(), animated, true);
    return popped;
}

std::vector<ViewControllerPtr> NavigationController::popToRootViewController(bool animated) {
    if (stack_.empty()) return {};
    return popToViewController(stack_.front().get(), animated);
}

void NavigationController::setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated) {
    finishPendingTransition();
    std::erase(controllers, nullptr);
    ViewControllerPtr from = topViewController();
    for (const ViewControllerPtr& old : stack_) {
        if (std::find(controllers.begin(), controllers.end(), old) != controllers.end() || old == from) continue;
        if (old->isViewLoaded()) old->view()->removeFromSuperview();
        if (old->parentViewController() == this) old->setParentViewController(nullptr);
    }
    stack_ = std::move(controllers);
    for (const ViewControllerPtr& controller : stack_)
        controller->setParentViewController(this);
    ViewControllerPtr to = topViewController();
    if (to && to != from) {
        transition(from, to, animated, false);
    } else if (!to && from) {
        if (from->isViewLoaded()) from->view()->removeFromSuperview();
        from->setParentViewController(nullptr);
    }
}

void NavigationController::setNavigationBarHidden(bool hidden, bool) {
    navigationBarHidden_ = hidden;
}

void NavigationController::viewWillAppear(bool animated) {
    if (auto top = topViewController()) top->viewWillAppear(animated);
}

void NavigationController::viewDidAppear(bool animated) {
    if (auto top = topViewController()) top->viewDidAppear(animated);
}

void NavigationController::viewWillDisappear(bool animated) {
    if (auto top = topViewController()) top->viewWillDisappear(animated);
}

void NavigationController::viewDidDisappear(bool animated) {
    if (auto top = topViewController()) top->viewDidDisappear(animated);
}

} // namespace platform::ui
