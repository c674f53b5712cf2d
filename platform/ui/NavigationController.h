#pragma once

#include "platform/runtime/RunLoop.h"
#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <vector>

namespace platform::ui {

class NavigationController;

class NavigationControllerDelegate {
public:
    virtual ~NavigationControllerDelegate() = default;
    virtual void willShowViewController(NavigationController& nav, ViewController& controller, bool animated) {
        (void)nav, (void)controller, (void)animated;
    }
    virtual void didShowViewController(NavigationController& nav, ViewController& controller, bool animated) {
        (void)nav, (void)controller, (void)animated;
    }
};

// A stack of screens; the top one's view fills the navigation controller's view.
// Push and pop call, in order: the old top's viewWillDisappear, the new top's viewWillAppear,
// the delegate's willShow; then, 0.35 s later on the clock when animated or at once when not,
// the old top's viewDidDisappear, the new top's viewDidAppear and the delegate's didShow.
// A push or pop during that time first finishes the transition in progress.
class NavigationController : public ViewController {
public:
    static constexpr double TransitionDuration = 0.35;

    NavigationController() = default;
    explicit NavigationController(ViewControllerPtr root);
    ~NavigationController() override;
    static std::shared_ptr<NavigationController> make(ViewControllerPtr root = nullptr);

    void pushViewController(const ViewControllerPtr& controller, bool animated);
    // The popped controller; nullptr when only the root is left.
    ViewControllerPtr popViewController(bool animated);
    // The popped controllers (empty when `controller` is not on the stack or already on top).
    std::vector<ViewControllerPtr> popToViewController(const ViewController* controller, bool animated);
    std::vector<ViewControllerPtr> popToRootViewController(bool animated);

    const std::vector<ViewControllerPtr>& viewControllers() const { return stack_; }
    void setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated = false);
    ViewControllerPtr topViewController() const;
    // The controller presented modally over the top one, else the top one.
    ViewControllerPtr visibleViewController() const;
    bool isTransitioning() const { return bool(pendingFinish_); }

    void setDelegate(NavigationControllerDelegate* delegate) { delegate_ = delegate; }
    NavigationControllerDelegate* delegate() const { return delegate_; }
    // No bar is drawn here (screens draw their own); the flag is kept for them.
    bool isNavigationBarHidden() const { return navigationBarHidden_; }
    void setNavigationBarHidden(bool hidden, bool animated = false);

    void loadView() override;
    // The navigation controller's own appearance is passed to its top screen.
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    // `toGoesBelow`: the incoming view slides in under the outgoing one (a pop).
    void transition(const ViewControllerPtr& from, const ViewControllerPtr& to, bool animated, bool toGoesBelow);
    void finishPendingTransition();
    void showView(const ViewControllerPtr& controller, const ViewControllerPtr& below);

    std::vector<ViewControllerPtr> stack_;
    NavigationControllerDelegate* delegate_ = nullptr;
    bool navigationBarHidden_ = false;
    std::function<void()> pendingFinish_;
    std::shared_ptr<platform::Timer> pendingTimer_;
};

} // namespace platform::ui
