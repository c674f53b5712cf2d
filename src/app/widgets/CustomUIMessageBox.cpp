#include "app/widgets/CustomUIMessageBox.h"

namespace kavo {

using platform::ui::Rect;
using platform::ui::View;

namespace {

// The box always uses the phone's landscape screen.
constexpr double kScreenWidth = 480;
constexpr double kScreenHeight = 320;
// Where the panel starts its slide in, and how far above the bottom it ends its slide out.
constexpr double kEdgeOffset = 30;

void removeAfterSlide(const std::string& name, const std::weak_ptr<View>& view) {
    if (name != CustomUIMessageBox::kRemoveAnimation) return;
    // Removing a view that is already detached does nothing.
    if (auto shown = view.lock()) shown->removeFromSuperview();
}

} // namespace

std::shared_ptr<CustomUIMessageBox> CustomUIMessageBox::make() {
    return std::make_shared<CustomUIMessageBox>();
}

void CustomUIMessageBox::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    slideIn();
}

void CustomUIMessageBox::slideIn() {
    view()->setFrame(Rect(0, 0, kScreenWidth, kScreenHeight));
    if (!actionSheetView_) return;
    auto panel = actionSheetView_;
    Rect start = panel->frame();
    panel->setFrame(Rect(0, kEdgeOffset, start.width(), start.height()));
    view()->addSubview(panel);
    View::beginAnimations(kPresentAnimation);
    panel->setFrame(Rect(0, (kScreenHeight - start.height()) * 0.5, start.width(), start.height()));
    View::commitAnimations();
}

void CustomUIMessageBox::slideOut() {
    std::weak_ptr<View> shown = view();
    View::beginAnimations(kRemoveAnimation);
    View::setAnimationDidStop([shown](const std::string& name, bool) { removeAfterSlide(name, shown); });
    if (actionSheetView_) {
        Rect now = actionSheetView_->frame();
        actionSheetView_->setFrame(Rect(0, view()->frame().height() - kEdgeOffset, now.width(), now.height()));
    }
    View::commitAnimations();
}

void CustomUIMessageBox::animationDidStop(const std::string& name, bool finished) {
    (void)finished;
    removeAfterSlide(name, view());
}

} // namespace kavo
