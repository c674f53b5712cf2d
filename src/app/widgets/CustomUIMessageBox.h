#pragma once

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kavo {

// What the owner of a message box may adopt; the box itself never calls it.
class CustomUIMessageBoxDelegate {
public:
    virtual ~CustomUIMessageBoxDelegate() = default;
};

// Shows one panel over a full 480 x 320 screen: when its view is about to appear the panel
// slides from near the top to the vertical centre; slideOut slides it down and then takes
// the controller's view away. The owner keeps the controller while its view is up.
class CustomUIMessageBox : public platform::ui::ViewController {
public:
    CustomUIMessageBox() = default;
    static std::shared_ptr<CustomUIMessageBox> make();

    static constexpr const char* kPresentAnimation = "presentWithSuperview";
    static constexpr const char* kRemoveAnimation = "removeFromSuperviewWithAnimation";

    const platform::ui::ViewPtr& actionSheetView() const { return actionSheetView_; }
    void setActionSheetView(platform::ui::ViewPtr view) { actionSheetView_ = std::move(view); }
    CustomUIMessageBoxDelegate* delegate() const { return delegate_; }
    void setDelegate(CustomUIMessageBoxDelegate* delegate) { delegate_ = delegate; }

    void viewWillAppear(bool animated) override;
    void slideIn();
    void slideOut();
    // The end of a slide: the slide-out takes the view away; other animations are ignored.
    void animationDidStop(const std::string& name, bool finished);

private:
    platform::ui::ViewPtr actionSheetView_;
    CustomUIMessageBoxDelegate* delegate_ = nullptr;
};

} // namespace kavo
