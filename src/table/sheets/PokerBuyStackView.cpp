#include "table/sheets/PokerBuyStackView.h"

#include "app/Text.h"
#include "app/Util.h"
#include "table/base/ActionController.h"
#include "table/base/GameTableView.h"
#include "table/sheets/SheetPanel.h"

#include <algorithm>
#include <cmath>

namespace kavo {

PokerBuyStackView::PokerBuyStackView() : CustomUIActionSheetViewController("PokerBuyStackView") {}

void PokerBuyStackView::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {80, 60, 320, 200}, text("KAVO_buyStack"));
    setActionSheetView(panel);
    fontCurrentStack_ = SheetPanel::addLabel(*panel, {110, 34, 100, 24}, "fontCurrentStack", "");
    fontCurrentStack_->setTextAlignment(platform::ui::TextAlignment::Center);
    SheetPanel::addButton(*panel, {10, 66, 40, 30}, "clickTru", "-", [this] { clickTru(); });
    sliderStack_ = platform::ui::Slider::make(Util::changeRectFromRect({56, 66, 208, 30}));
    sliderStack_->setAccessibilityIdentifier("sliderStack");
    sliderStack_->addTarget(platform::ui::ControlEvent::ValueChanged, [this] { sliderChange(); });
    panel->addSubview(sliderStack_);
    SheetPanel::addButton(*panel, {270, 66, 40, 30}, "clickCong", "+", [this] { clickCong(); });
    SheetPanel::addButton(*panel, {10, 110, 140, 32}, "clickMin", "Min", [this] { clickMin(); });
    SheetPanel::addButton(*panel, {170, 110, 140, 32}, "clickMax", "Max", [this] { clickMax(); });
    btnOK_ = SheetPanel::addButton(*panel, {10, 154, 140, 32}, "btnOK", text("KAVO_OK"), [this] { clickOK(); });
    setDefaultButton(btnOK_);
    SheetPanel::addButton(*panel, {170, 154, 140, 32}, "denyBuyStack", text("KAVO_cancel"), [this] { denyBuyStack(); });
    currentValue_ = minStack_;
    sliderStack_->setMinimumValue(minStack_);
    sliderStack_->setMaximumValue(maxStack_);
    sliderStack_->setValue(currentValue_);
    showCurrent();
}

void PokerBuyStackView::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    const auto track = Util::getImageWithName("p_stack_keo_ngang.png");
    sliderStack_->setMinimumTrackImage(track);
    sliderStack_->setMaximumTrackImage(track);
    sliderStack_->setMinimumValue(minStack_);
    sliderStack_->setMaximumValue(maxStack_);
    currentValue_ = minStack_;
    sliderStack_->setValue(currentValue_);
    showCurrent();
}

void PokerBuyStackView::showCurrent() {
    if (fontCurrentStack_) fontCurrentStack_->setText(Util::formatNumber(currentValue_));
}

void PokerBuyStackView::sliderChange() {
    currentValue_ = int32_t(std::trunc(sliderStack_->value()));
    showCurrent();
}

void PokerBuyStackView::clickTru() {
    currentValue_ = std::max(currentValue_ - 1000, minStack_);
    sliderStack_->setValue(currentValue_);
    showCurrent();
}

void PokerBuyStackView::clickCong() {
    currentValue_ = std::min(currentValue_ + 1000, maxStack_);
    sliderStack_->setValue(currentValue_);
    showCurrent();
}

void PokerBuyStackView::buy(int32_t amount) {
    if (auto table = ActionController::currentTable()) table->buyStack(amount);
    slideOut();
}

void PokerBuyStackView::clickMin() {
    buy(minStack_);
}

void PokerBuyStackView::clickMax() {
    buy(maxStack_);
}

void PokerBuyStackView::clickOK() {
    buy(currentValue_);
}

void PokerBuyStackView::denyBuyStack() {
    slideOut();
    if (auto table = ActionController::currentTable()) table->denyBuyStack();
}

} // namespace kavo
