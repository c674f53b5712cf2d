#include "platform/ui/Slider.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ShapeDrawing.h"

#include <algorithm>

namespace platform::ui {

Slider::Slider(Rect frame) : Control(frame) {}

std::shared_ptr<Slider> Slider::make(Rect frame) {
    return std::make_shared<Slider>(frame);
}

void Slider::setValue(double value, bool) {
    value = std::clamp(value, minimum_, std::max(minimum_, maximum_));
    if (value == value_) return;
    value_ = value;
    setNeedsDisplay();
}

void Slider::setMinimumValue(double value) {
    minimum_ = value;
    if (maximum_ < minimum_) maximum_ = minimum_;
    setValue(value_);
    setNeedsDisplay();
}

void Slider::setMaximumValue(double value) {
    maximum_ = value;
    if (minimum_ > maximum_) minimum_ = maximum_;
    setValue(value_);
    setNeedsDisplay();
}

void Slider::setThumbImage(ImagePtr image, ControlState state) {
    thumbImages_[unsigned(state)] = std::move(image);
    setNeedsDisplay();
}

ImagePtr Slider::thumbImageForState(ControlState state) const {
    auto it = thumbImages_.find(unsigned(state));
    if (it != thumbImages_.end() && it->second) return it->second;
    if (hasFlag(state, ControlState::Highlighted)) {
        it = thumbImages_.find(unsigned(ControlState::Highlighted));
        if (it != thumbImages_.end() && it->second) return it->second;
    }
    it = thumbImages_.find(unsigned(ControlState::Normal));
    return it == thumbImages_.end() ? nullptr : it->second;
}

void Slider::setMinimumTrackImage(ImagePtr image) {
    minimumTrackImage_ = std::move(image);
    setNeedsDisplay();
}

void Slider::setMaximumTrackImage(ImagePtr image) {
    maximumTrackImage_ = std::move(image);
    setNeedsDisplay();
}

void Slider::setMinimumTrackTintColor(Color color) {
    minimumTint_ = color;
    setNeedsDisplay();
}

void Slider::setMaximumTrackTintColor(Color color) {
    maximumTint_ = color;
    setNeedsDisplay();
}

Size Slider::thumbSize() const {
    if (ImagePtr image = currentThumbImage()) return image->size();
    double side = std::min(23.0, bounds().height());
    return {side, side};
}

Rect Slider::thumbRect() const {
    Rect b = bounds();
    Size thumb = thumbSize();
    double span = maximum_ - minimum_;
    double fraction = span > 0 ? (value_ - minimum_) / span : 0;
    double x = b.minX() + fraction * std::max(0.0, b.width() - thumb.width);
    return {x, b.midY() - thumb.height / 2, thumb.width, thumb.height};
}

double Slider::valueForX(double x) const {
    Rect b = bounds();
    double thumb = thumbSize().width;
    double travel = b.width() - thumb;
    if (travel <= 0) return minimum_;
    double fraction = std::clamp((x - b.minX() - thumb / 2) / travel, 0.0, 1.0);
    return minimum_ + fraction * (maximum_ - minimum_);
}

void Slider::follow(Point location) {
    double before = value_;
    setValue(valueForX(location.x));
    if (continuous_ && value_ != before) sendActions(ControlEvent::ValueChanged);
}

void Slider::beginTracking(Point location) {
    valueAtTouch_ = value_;
    follow(location);
}

void Slider::continueTracking(Point location) {
    follow(location);
}

void Slider::endTracking(Point, bool) {
    if (!continuous_ && value_ != valueAtTouch_) sendActions(ControlEvent::ValueChanged);
}

void Slider::draw(GraphicsContext& context) {
    Rect b = bounds();
    Rect thumb = thumbRect();
    double split = thumb.midX();
    double trackHeight = 9;
    if (minimumTrackImage_)
        trackHeight = minimumTrackImage_->size().height;
    else if (maximumTrackImage_)
        trackHeight = maximumTrackImage_->size().height;
    Rect track(b.minX() + 2, b.midY() - trackHeight / 2, std::max(0.0, b.width() - 4), trackHeight);
    Rect left(track.minX(), track.minY(), std::max(0.0, split - track.minX()), track.height());
    Rect right(split, track.minY(), std::max(0.0, track.maxX() - split), track.height());
    if (maximumTrackImage_) {
        context.drawImage(maximumTrackImage_, right);
    } else {
        fillRoundedRect(context, track, trackHeight / 2, maximumTint_);
    }
    if (minimumTrackImage_) {
        context.drawImage(minimumTrackImage_, left);
    } else if (left.width() > 0) {
        fillRoundedRect(context, left, trackHeight / 2, isEnabled() ? minimumTint_ : minimumTint_.withAlpha(0.5));
    }
    if (ImagePtr image = currentThumbImage()) {
        context.drawImage(image, thumb);
    } else {
        double radius = thumb.width() / 2;
        fillCircle(context, thumb.center(), radius, isHighlighted() ? Color::white(0.85) : Color::white());
        strokeCircle(context, thumb.center(), radius - 0.5, Color::gray(), 1);
    }
}

} // namespace platform::ui
