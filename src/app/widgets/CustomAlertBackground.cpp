#include "app/widgets/CustomAlertBackground.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"

#include <algorithm>
#include <mutex>

namespace kavo {

using namespace platform::ui;

CustomAlertBackground::CustomAlertBackground(Rect frame) : Window(frame) {
    setWindowLevel(WindowLevel::StatusBar);
    setUserInteractionEnabled(false);
    setBackgroundColor(Color::white(0.4, 0.5));
    setOpaque(false);
}

std::shared_ptr<CustomAlertBackground> CustomAlertBackground::sharedInstance() {
    static std::once_flag once;
    static std::shared_ptr<CustomAlertBackground> instance; // lives for the process
    std::call_once(once, [] { instance = std::make_shared<CustomAlertBackground>(Screen::bounds()); });
    return instance;
}

void CustomAlertBackground::setVignetteBackground(bool on) {
    vignetteBackground_ = on;
    setNeedsDisplay();
}

void CustomAlertBackground::addToMainWindow(const ViewPtr& view) {
    if (!view) return;
    if (isHidden()) {
        Window* key = Window::keyWindow();
        previousKeyWindow_ = key ? std::static_pointer_cast<Window>(key->self()) : nullptr;
        setFrame(Screen::bounds()); // the screen's idiom may have changed since the last alert
        setAlpha(0);
        setHidden(false);
        setUserInteractionEnabled(true);
        makeKeyWindow();
    }
    // Only the newest alert takes touches.
    if (!subviews().empty()) subviews().back()->setUserInteractionEnabled(false);
    if (backgroundImage_) {
        auto picture = ImageView::make(bounds());
        picture->setImage(backgroundImage_);
        picture->setContentMode(ContentMode::ScaleToFill);
        addSubview(picture);
        backgroundImage_ = nullptr;
    }
    addSubview(view);
}

void CustomAlertBackground::removeView(const ViewPtr& view) {
    if (!view || view->superview() != this) return;
    view->removeFromSuperview();
    // The picture that came with the alert goes with it.
    if (!subviews().empty() && std::dynamic_pointer_cast<ImageView>(subviews().back()))
        subviews().back()->removeFromSuperview();
    if (!subviews().empty()) {
        subviews().back()->setUserInteractionEnabled(true);
        return;
    }
    setHidden(true);
    if (auto previous = previousKeyWindow_.lock(); previous && !previous->isHidden()) previous->makeKeyWindow();
    previousKeyWindow_.reset();
}

void CustomAlertBackground::reduceAlphaIfEmpty() {
    const auto& views = subviews();
    bool onlyOne = views.size() == 1 || (views.size() == 2 && std::dynamic_pointer_cast<ImageView>(views.front()));
    if (!onlyOne) return;
    setAlpha(0);
    setUserInteractionEnabled(false);
}

void CustomAlertBackground::reset() {
    removeAllSubviews();
    backgroundImage_ = nullptr;
    vignetteBackground_ = false;
    previousKeyWindow_.reset();
    setHidden(true);
}

void CustomAlertBackground::draw(GraphicsContext& context) {
    Window::draw(context);
    if (backgroundImage_ || !vignetteBackground_) return;
    Rect area = bounds();
    double radius = std::min(area.width(), area.height());
    context.drawRadialGradient({area.width() / 2, area.height() / 2}, radius, Color::clear(),
                               Color::black().withAlpha(0.75));
}

} // namespace kavo
