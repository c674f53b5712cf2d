#pragma once

#include "platform/ui/Responder.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class NavigationController;
class ViewController;
using ViewControllerPtr = std::shared_ptr<ViewController>;

// Manages one screen's view. The view is made on first access: loadView() (a plain view of
// the screen's bounds), then layoutForPhone() or layoutForTablet() by the screen's idiom
// (the tablet layout defaults to the phone one), then viewDidLoad().
class ViewController : public Responder, public std::enable_shared_from_this<ViewController> {
public:
    ViewController() = default;
    ~ViewController() override;

    const ViewPtr& view();
    void setView(ViewPtr view);
    bool isViewLoaded() const { return bool(view_); }

    virtual void loadView();
    virtual void layoutForPhone() {}
    virtual void layoutForTablet() { layoutForPhone(); }
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool animated) { (void)animated; }
    virtual void viewDidAppear(bool animated) { (void)animated; }
    virtual void viewWillDisappear(bool animated) { (void)animated; }
    virtual void viewDidDisappear(bool animated) { (void)animated; }
    // Kept for screens that release caches; views are never unloaded here, so nothing
    // calls it by itself.
    virtual void viewDidUnload() {}
    // Sent to every controller on a memory warning; the view is kept (screens hold
    // their controls for their whole life).
    virtual void didReceiveMemoryWarning() {}

    const std::string& title() const { return title_; }
    virtual void setTitle(const std::string& title) { title_ = title; }
    // The dynamic type's name without namespaces.
    std::string className() const;

    // The navigation controller this controller is on (through its containers).
    NavigationController* navigationController() const;
    // The container (navigation controller), else the presenting controller.
    ViewController* parentViewController() const { return parent_ ? parent_ : presenting_; }
    void setParentViewController(ViewController* parent) { parent_ = parent; }

    // The presented controller's view covers the screen in the presenter's window; the
    // presenter gets will/did-disappear, the presented will/did-appear (did-* after 0.35 s on
    // the clock when animated, at once otherwise).
    void presentModalViewController(const ViewControllerPtr& controller, bool animated);
    // Dismisses what this controller presented, or, when it presented nothing, dismisses
    // this controller from its presenter.
    void dismissModalViewController(bool animated);
    const ViewControllerPtr& modalViewController() const { return modal_; }
    ViewController* presentingViewController() const { return presenting_; }

    // Next responder: the view's superview.
    Responder* nextResponder() const override;

private:
    ViewPtr view_;
    std::string title_;
    ViewController* parent_ = nullptr;
    ViewController* presenting_ = nullptr;
    ViewControllerPtr modal_;
};

} // namespace platform::ui
