#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TextField.h"

#include <array>
#include <cstdint>
#include <memory>

namespace kavo {

// The stakes the money slider's steps stand for: step 0 is no stake, so every player,
// however poor, has a highest step.
inline constexpr std::array<int32_t, 10> kBetPriceTable{0, 100, 500, 1000, 5000, 10000, 50000, 100000, 500000, 1000000};

// A stepped money slider over kBetPriceTable. The steps minValue..maxStep() are spread
// evenly along the track; the thumb snaps to the nearest one while the finger moves it,
// and every change of step writes the step's amount ("%i") into the value text field and
// sends ValueChanged. An amount of 0 leaves the field empty under its hint "0", so that
// digits typed there are the amount. The highest step follows the player's money (setMaxValueWithMoney).
class UICustomSlider : public platform::ui::Control {
public:
    // `colorImg` (may be null) fills the track left of the thumb. Steps run from
    // `minValue` to `maxValue` (clamped to the price table); `updateValue` is how many
    // steps one move of the finger must at least cover (1: every step).
    UICustomSlider(platform::ui::Rect frame, platform::ui::ImagePtr thumb, float thumbHeight,
                   platform::ui::Size thumbSize, platform::ui::ImagePtr colorImg, int minValue, int maxValue,
                   int updateValue);
    static std::shared_ptr<UICustomSlider> initWithFrame(platform::ui::Rect frame, platform::ui::ImagePtr thumb,
                                                         float thumbHeight, platform::ui::Size thumbSize,
                                                         platform::ui::ImagePtr colorImg, int minValue, int maxValue,
                                                         int updateValue);

    // The field the amount is written into; not kept alive by the slider.
    void setValueTextField(const std::shared_ptr<platform::ui::TextField>& field);
    // Moves to `step` (clamped to minValue..maxStep()) and writes its amount.
    void setValue(int step);
    int value() const { return step_; }
    // The highest step whose amount is not above `money` becomes the top step; the
    // current step is applied again (it comes down when it is now above the top).
    void setMaxValueWithMoney(int32_t money);
    // The amount of the top step.
    int32_t getMaxMoneyValue() const;
    int minStep() const { return minStep_; }
    int maxStep() const { return maxStep_; }

    // The amount of a step (0 outside the table), and the highest step of the table whose
    // amount is not above `money` (0 for less than the smallest stake).
    static int32_t priceOfStep(int step);
    static int highestStepForMoney(int64_t money);

    // Where a step sits along the track (thumb centre x, slider coordinates), and the
    // step nearest to an x.
    double xForStep(int step) const;
    int stepForX(double x) const;
    const std::shared_ptr<platform::ui::ImageView>& thumbView() const { return thumbView_; }

    void layoutSubviews() override;
    void draw(platform::ui::GraphicsContext& context) override;

protected:
    void beginTracking(platform::ui::Point location) override;
    void continueTracking(platform::ui::Point location) override;
    void endTracking(platform::ui::Point location, bool inside) override;
    bool passesDragsToScrollView() const override { return false; }

private:
    void follow(double x);
    void placeThumb();
    void writeAmount();
    double trackLeft() const;
    double trackRight() const;

    std::shared_ptr<platform::ui::ImageView> thumbView_;
    platform::ui::ImagePtr colorImg_;
    float thumbHeight_;
    platform::ui::Size thumbSize_;
    int minStep_ = 0;
    int maxValue_ = 0; // the highest step allowed at all
    int maxStep_ = 0;  // the highest step for the player's money
    int updateValue_ = 1;
    int step_ = 0;
    std::weak_ptr<platform::ui::TextField> valueTextField_;
};

} // namespace kavo
