#include "platform/ui/Switch.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ShapeDrawing.h"
#include "platform/ui/SystemWords.h"

#include <algorithm>

namespace platform::ui {

Switch::Switch(Rect frame) : Control(frame) {}

std::shared_ptr<Switch> Switch::make(Rect frame) {
    return std::make_shared<Switch>(frame);
}

void Switch::setOn(bool on, bool) {
    if (on_ == on) return;
    on_ = on;
    setNeedsDisplay();
}

std::string Switch::onText() const {
    return onText_.empty() ? SystemWords::text(SystemWord::On) : onText_;
}

std::string Switch::offText() const {
    return offText_.empty() ? SystemWords::text(SystemWord::Off) : offText_;
}

void Switch::setOnText(const std::string& text) {
    onText_ = text;
    setNeedsDisplay();
}

void Switch::setOffText(const std::string& text) {
    offText_ = text;
    setNeedsDisplay();
}

void Switch::setOnTintColor(Color color) {
    onTint_ = color;
    setNeedsDisplay();
}

void Switch::endTracking(Point, bool inside) {
    if (!inside) return;
    on_ = !on_;
    setNeedsDisplay();
    sendActions(ControlEvent::ValueChanged);
}

void Switch::draw(GraphicsContext& context) {
    Rect b = bounds();
    if (b.isEmpty()) return;
    double radius = b.height() / 2;
    Color track = on_ ? onTint_ : Color::white(0.93);
    if (!isEnabled()) track = track.withAlpha(0.5);
    fillRoundedRect(context, b, radius, track);
    strokeRoundedRect(context, b, radius, Color::gray(), 1);
    double knob = std::max(0.0, b.height() - 4);
    Point center{on_ ? b.maxX() - 2 - knob / 2 : b.minX() + 2 + knob / 2, b.midY()};
    Font font = Font::boldSystem(std::max(6.0, b.height() * 0.42));
    // The caption fills the side the knob is not on.
    Rect caption = on_ ? Rect(b.minX() + 4, b.minY(), std::max(0.0, b.width() - knob - 10), b.height())
                       : Rect(b.minX() + knob + 6, b.minY(), std::max(0.0, b.width() - knob - 10), b.height());
    context.drawText(text(), caption, font, on_ ? Color::white() : Color::darkGray(), TextAlignment::Center, 1);
    fillCircle(context, center, knob / 2, isHighlighted() ? Color::white(0.85) : Color::white());
    strokeCircle(context, center, knob / 2, Color::gray(), 1);
}

} // namespace platform::ui
