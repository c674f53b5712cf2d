#include "app/widgets/CustomSwitch.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ShapeDrawing.h"

#include <algorithm>

namespace kavo {

using namespace platform::ui;

CustomSwitch::CustomSwitch(Rect frame) : Control(frame) {
    setOn(true);
}

std::shared_ptr<CustomSwitch> CustomSwitch::make(Rect frame) {
    return std::make_shared<CustomSwitch>(frame);
}

void CustomSwitch::setOnImage(ImagePtr image) {
    onImage_ = std::move(image);
    setNeedsDisplay();
}

void CustomSwitch::setOffImage(ImagePtr image) {
    offImage_ = std::move(image);
    setNeedsDisplay();
}

void CustomSwitch::setThumbnailButtonImage(ImagePtr image) {
    thumbImage_ = std::move(image);
    setNeedsDisplay();
}

void CustomSwitch::setOn(bool on) {
    onValue_ = on;
    setPercentageForOn(on);
    setNeedsDisplay();
}

void CustomSwitch::setPercentageForOn(bool on) {
    (void)on; // the settled state decides
    percentage_ = onValue_ ? 1.0 : 0.0;
}

double CustomSwitch::thumbWidth() const {
    return thumbImage_ ? thumbImage_->size().width : 0;
}

void CustomSwitch::handlePercentageForPoint(Point point) {
    const double half = thumbWidth() * 0.5;
    const double width = bounds().width();
    if (point.x < half)
        percentage_ = 0;
    else if (point.x > width - half)
        percentage_ = 1;
    else
        percentage_ = (point.x - half) / (width - thumbWidth());
}

void CustomSwitch::touchesBegan(const std::vector<Touch>& touches) {
    if (touches.empty() || !isEnabled()) return;
    Point location = touches.front().locationInView(this);
    Rect area(0, 0, bounds().width(), bounds().height());
    if (!area.contains(location)) return;
    touching_ = true;
    moved_ = false;
    handlePercentageForPoint(location);
    setNeedsDisplay();
}

void CustomSwitch::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty() || !isEnabled()) return;
    Point location = touches.front().locationInView(this);
    Rect tracking(-kTrackingMargin, -kTrackingMargin, bounds().width() + 2 * kTrackingMargin,
                  bounds().height() + 2 * kTrackingMargin);
    if (!tracking.contains(location)) {
        // Too far away: stop following; the thumb stays where it was.
        touching_ = false;
        return;
    }
    // Inside the area: follow the finger (again, after it came back).
    touching_ = true;
    moved_ = true;
    handlePercentageForPoint(location);
    setNeedsDisplay();
}

void CustomSwitch::touchesEnded(const std::vector<Touch>& touches) {
    (void)touches;
    if (!isEnabled()) return;
    const bool wasTracked = touching_;
    const bool wasMoved = moved_;
    touching_ = false;
    moved_ = false;
    const bool old = onValue_;
    const bool now = wasMoved ? percentage_ >= 0.5 : !old;
    onValue_ = now;
    setPercentageForOn(now);
    setNeedsDisplay();
    if (wasTracked && now != old) sendActions(ControlEvent::ValueChanged);
}

void CustomSwitch::touchesCancelled(const std::vector<Touch>& touches) {
    (void)touches;
    touching_ = false;
}

void CustomSwitch::draw(GraphicsContext& context) {
    Control::draw(context);
    const Rect area(0, 0, bounds().width(), bounds().height());
    const ImagePtr& face = onValue_ ? onImage_ : offImage_;
    if (face) {
        context.drawImage(face, area);
    } else {
        // No pictures given: a plain track in the state's colour.
        Color track = onValue_ ? Color::rgba(0, 127, 234) : Color::lightGray();
        fillRoundedRect(context, area, area.height() / 2, track);
    }
    if (thumbImage_) {
        Size thumb = thumbImage_->size();
        double x = std::max(0.0, area.width() - thumb.width) * percentage_;
        double y = (area.height() - thumb.height) * 0.5;
        context.drawImage(thumbImage_, Rect(x, y, thumb.width, thumb.height));
    } else if (!face) {
        double diameter = area.height() - 4;
        double x = 2 + std::max(0.0, area.width() - diameter - 4) * percentage_;
        fillCircle(context, {x + diameter / 2, area.height() / 2}, diameter / 2, Color::white());
    }
}

} // namespace kavo
