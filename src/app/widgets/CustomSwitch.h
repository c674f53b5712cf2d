#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/Image.h"

#include <memory>

namespace kavo {

// An on/off control drawn from three pictures: the full-size "on" and "off" pictures and a
// thumb that slides between the left end (off) and the right end (on). A tap toggles it; a
// drag moves the thumb and the release settles on the nearer side. A change made by the
// finger sends ValueChanged. Without pictures it draws a plain track and knob.
class CustomSwitch : public platform::ui::Control {
public:
    explicit CustomSwitch(platform::ui::Rect frame = {});
    static std::shared_ptr<CustomSwitch> make(platform::ui::Rect frame = {});

    // How far around the bounds a dragging finger is still followed.
    static constexpr double kTrackingMargin = 75;

    const platform::ui::ImagePtr& onImage() const { return onImage_; }
    void setOnImage(platform::ui::ImagePtr image);
    const platform::ui::ImagePtr& offImage() const { return offImage_; }
    void setOffImage(platform::ui::ImagePtr image);
    const platform::ui::ImagePtr& thumbnailButtonImage() const { return thumbImage_; }
    void setThumbnailButtonImage(platform::ui::ImagePtr image);

    bool onValue() const { return onValue_; }
    bool isOn() const { return onValue_; }
    // Sets the state, moves the thumb to its end and redraws; sends nothing.
    void setOn(bool on);
    // The thumb's place, 0 at the left (off) end, 1 at the right (on) end.
    double percentage() const { return percentage_; }
    // Puts the thumb at the end of the current state (the argument is not used).
    void setPercentageForOn(bool on);
    // Puts the thumb under a point of the control's coordinates.
    void handlePercentageForPoint(platform::ui::Point point);
    bool isTouching() const { return touching_; }

    std::string text() const override { return onValue_ ? "on" : "off"; }

    void touchesBegan(const std::vector<platform::ui::Touch>& touches) override;
    void touchesMoved(const std::vector<platform::ui::Touch>& touches) override;
    void touchesEnded(const std::vector<platform::ui::Touch>& touches) override;
    void touchesCancelled(const std::vector<platform::ui::Touch>& touches) override;
    void draw(platform::ui::GraphicsContext& context) override;

protected:
    bool passesDragsToScrollView() const override { return false; }

private:
    double thumbWidth() const;

    platform::ui::ImagePtr onImage_;
    platform::ui::ImagePtr offImage_;
    platform::ui::ImagePtr thumbImage_;
    bool onValue_ = true;
    double percentage_ = 1;
    bool touching_ = false;
    bool moved_ = false;
};

} // namespace kavo
