#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Slider.h"

#include <cstdint>
#include <memory>

namespace kavo {

// The poker buy-in: the chips to bring, between the smallest and the largest amount,
// with a slider, minus and plus (1000 a step), the two bounds, or a refusal. Every
// showing starts again at the smallest amount. Main thread only.
class PokerBuyStackView : public CustomUIActionSheetViewController {
public:
    PokerBuyStackView();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    int32_t minStack() const { return minStack_; }
    void setMinStack(int32_t value) { minStack_ = value; }
    int32_t maxStack() const { return maxStack_; }
    void setMaxStack(int32_t value) { maxStack_ = value; }
    int32_t currentValue() const { return currentValue_; }
    void setCurrentValue(int32_t value) { currentValue_ = value; }

    void sliderChange();
    void clickTru();
    void clickCong();
    void clickMin();
    void clickMax();
    void clickOK();
    void denyBuyStack();

    const std::shared_ptr<platform::ui::Slider>& sliderStack() const { return sliderStack_; }
    const std::shared_ptr<platform::ui::Label>& fontCurrentStack() const { return fontCurrentStack_; }
    const std::shared_ptr<platform::ui::Button>& btnOK() const { return btnOK_; }

private:
    void showCurrent();
    void buy(int32_t amount);

    int32_t minStack_ = 0;
    int32_t maxStack_ = 0;
    int32_t currentValue_ = 0;
    std::shared_ptr<platform::ui::Slider> sliderStack_;
    std::shared_ptr<platform::ui::Label> fontCurrentStack_;
    std::shared_ptr<platform::ui::Button> btnOK_;
};

} // namespace kavo
