#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/Image.h"

#include <map>
#include <memory>

namespace platform::ui {

// A value between a minimum and a maximum chosen by moving a thumb along a track. The
// thumb follows the finger from the moment it touches the slider; a continuous slider
// sends ValueChanged on every change, another one once when the finger lifts (when the
// value changed). setValue from code sends nothing.
class Slider : public Control {
public:
    explicit Slider(Rect frame = {});
    static std::shared_ptr<Slider> make(Rect frame = {});

    double value() const { return value_; }
    void setValue(double value, bool animated = false);
    double minimumValue() const { return minimum_; }
    void setMinimumValue(double value);
    double maximumValue() const { return maximum_; }
    void setMaximumValue(double value);
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    void setThumbImage(ImagePtr image, ControlState state = ControlState::Normal);
    ImagePtr thumbImageForState(ControlState state) const;
    ImagePtr currentThumbImage() const { return thumbImageForState(state()); }
    void setMinimumTrackImage(ImagePtr image);
    const ImagePtr& minimumTrackImage() const { return minimumTrackImage_; }
    void setMaximumTrackImage(ImagePtr image);
    const ImagePtr& maximumTrackImage() const { return maximumTrackImage_; }
    Color minimumTrackTintColor() const { return minimumTint_; }
    void setMinimumTrackTintColor(Color color);
    Color maximumTrackTintColor() const { return maximumTint_; }
    void setMaximumTrackTintColor(Color color);

    Size thumbSize() const;
    Rect thumbRect() const;
    // The value a thumb centred at x (slider coordinates) stands for.
    double valueForX(double x) const;

    void draw(GraphicsContext& context) override;

protected:
    void beginTracking(Point location) override;
    void continueTracking(Point location) override;
    void endTracking(Point location, bool inside) override;
    bool passesDragsToScrollView() const override { return false; }

private:
    void follow(Point location);

    double value_ = 0;
    double minimum_ = 0;
    double maximum_ = 1;
    bool continuous_ = true;
    double valueAtTouch_ = 0;
    std::map<unsigned, ImagePtr> thumbImages_;
    ImagePtr minimumTrackImage_;
    ImagePtr maximumTrackImage_;
    Color minimumTint_ = Color::rgba(45, 110, 230);
    Color maximumTint_ = Color::white(0.75);
};

} // namespace platform::ui
