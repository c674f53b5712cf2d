#include "app/CustomUIActionSheetViewController.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Util.h"
#include "platform/ui/Font.h"

namespace kavo {

using platform::ui::Rect;
using platform::ui::View;

namespace {

// Makes the sheet full-screen and puts the panel on it at (0, startY), keeping its size.
void placePanel(platform::ui::ViewController& sheet, const platform::ui::ViewPtr& panel, double startY) {
    sheet.view()->setFrame(CustomUIActionSheetViewController::screenRect());
    if (!panel) return;
    Rect frame = panel->frame();
    frame.origin = {0, startY};
    panel->setFrame(frame);
    sheet.view()->addSubview(panel);
}

// Animates the panel to (0, endY).
void animatePanelTo(const platform::ui::ViewPtr& panel, double endY) {
    if (!panel) return;
    View::beginAnimations(CustomUIActionSheetViewController::PresentAnimationName);
    View::setAnimationDuration(0.2);
    Rect frame = panel->frame();
    frame.origin = {0, endY};
    panel->setFrame(frame);
    View::commitAnimations();
}

double panelHeight(const platform::ui::ViewPtr& panel) {
    return panel ? panel->frame().height() : 0;
}

} // namespace

// ---- shared by both bases

Rect CustomUIActionSheetViewController::screenRect() {
    return Util::isPad() ? Rect{0, 0, 1024, 768} : Rect{0, 0, 480, 320};
}

void CustomUIActionSheetViewController::animateClosing(platform::ui::ViewController& sheet,
                                                       const platform::ui::ViewPtr& panel, const unsigned& showCount,
                                                       std::function<void(const std::string&, bool)> didStop) {
    std::weak_ptr<platform::ui::ViewController> weakSheet = sheet.weak_from_this();
    const unsigned closingShow = showCount;
    View::beginAnimations(RemoveAnimationName);
    View::setAnimationDuration(0.2);
    View::setAnimationDidStop([weakSheet, closingShow, &showCount, didStop](const std::string& name, bool finished) {
        // The sheet object may be gone, or shown again before this close ended.
        auto alive = weakSheet.lock();
        if (!alive || showCount != closingShow) return;
        didStop(name, finished);
    });
    if (panel) {
        Rect frame = panel->frame();
        frame.origin = {0, sheet.view()->frame().height() - 30};
        panel->setFrame(frame);
    }
    View::commitAnimations();
}

// ---- CustomUIActionSheetViewController

CustomUIActionSheetViewController::CustomUIActionSheetViewController(const std::string& nibName)
    : nibName_(KavoViewController::nibNameForDevice(nibName)) {}

void CustomUIActionSheetViewController::viewWillAppear(bool animated) {
    languageTexts_.apply();
    markDefaultButton();
    ViewController::viewWillAppear(animated);
    slideIn();
}

// A player at a keyboard reads the bold button as the one Return presses, as in a dialog:
// the default button is drawn bold and the buttons beside it regular (a button's title is
// bold until it is told otherwise), each at its own size.
void CustomUIActionSheetViewController::markDefaultButton() const {
    if (!defaultButton_ || !defaultButton_->superview()) return;
    for (const auto& sibling : defaultButton_->superview()->subviews()) {
        const auto button = std::dynamic_pointer_cast<platform::ui::Button>(sibling);
        if (!button) continue;
        const auto& title = button->titleLabel();
        const double size = title->font().size();
        title->setFont(button == defaultButton_ ? platform::ui::Font::boldSystem(size)
                                                : platform::ui::Font::system(size));
    }
}

void CustomUIActionSheetViewController::slideIn() {
    ++showCount_;
    closing_ = false;
    KavoOnlineAppDelegate::getInstance().setBackButtonHidden(true);
    placePanel(*this, actionSheetView_, 30);
    // The panel ends vertically centred on the screen.
    animatePanelTo(actionSheetView_, (screenRect().height() - panelHeight(actionSheetView_)) / 2);
}

EscapeAnswer CustomUIActionSheetViewController::closeItself() {
    if (!isOpen()) return EscapeAnswer::notOpen;
    slideOut();
    return EscapeAnswer::closed;
}

void CustomUIActionSheetViewController::slideOut() {
    if (!isViewLoaded()) return;
    closing_ = true;
    animateClosing(*this, actionSheetView_, showCount_,
                   [this](const std::string& name, bool finished) { animationDidStop(name, finished); });
    // At once, not after the closing animation.
    KavoOnlineAppDelegate::getInstance().restoreBackButton();
}

void CustomUIActionSheetViewController::animationDidStop(const std::string& name, bool) {
    if (name == RemoveAnimationName && isViewLoaded()) view()->removeFromSuperview();
}

// ---- CustomUIActionSheetViewController2

CustomUIActionSheetViewController2::CustomUIActionSheetViewController2(const std::string& nibName)
    : nibName_(KavoViewController::nibNameForDevice(nibName)) {}

void CustomUIActionSheetViewController2::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    isSliding_ = false;
    slideIn();
}

void CustomUIActionSheetViewController2::slideIn() {
    if (isSliding_) return;
    isSliding_ = true;
    ++showCount_;
    KavoOnlineAppDelegate::getInstance().setBackButtonHidden(true);
    // The panel rises from just below a phone screen's bottom and ends flush with the
    // bottom edge of this device's screen.
    placePanel(*this, actionSheetView_, 320);
    animatePanelTo(actionSheetView_,
                   CustomUIActionSheetViewController::screenRect().height() - panelHeight(actionSheetView_));
}

EscapeAnswer CustomUIActionSheetViewController2::closeItself() {
    if (!isOpen()) return EscapeAnswer::notOpen;
    slideOut();
    return EscapeAnswer::closed;
}

void CustomUIActionSheetViewController2::slideOut() {
    if (!isSliding_) return;
    isSliding_ = false;
    CustomUIActionSheetViewController::animateClosing(
        *this, actionSheetView_, showCount_,
        [this](const std::string& name, bool finished) { animationDidStop(name, finished); });
    // At once, not after the closing animation.
    KavoOnlineAppDelegate::getInstance().restoreBackButton();
}

void CustomUIActionSheetViewController2::animationDidStop(const std::string& name, bool) {
    if (name == CustomUIActionSheetViewController::RemoveAnimationName && isViewLoaded()) view()->removeFromSuperview();
}

} // namespace kavo
