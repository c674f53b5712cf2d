#include "lobby/UICustomSlider.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Path.h"

#include <algorithm>
#include <cmath>

namespace kavo {

namespace ui = platform::ui;

namespace {
constexpr int kLastTableStep = int(kBetPriceTable.size()) - 1;
} // namespace

UICustomSlider::UICustomSlider(ui::Rect frame, ui::ImagePtr thumb, float thumbHeight, ui::Size thumbSize,
                               ui::ImagePtr colorImg, int minValue, int maxValue, int updateValue)
    : ui::Control(frame), colorImg_(std::move(colorImg)), thumbHeight_(thumbHeight), thumbSize_(thumbSize),
      updateValue_(std::max(1, updateValue)) {
    minStep_ = std::clamp(minValue, 0, kLastTableStep);
    maxValue_ = std::clamp(maxValue, minStep_, kLastTableStep);
    maxStep_ = maxValue_;
    step_ = minStep_;
    setBackgroundColor(ui::Color::clear());
    thumbView_ = ui::ImageView::make(ui::Rect(0, 0, thumbSize_.width, thumbHeight_));
    thumbView_->setImage(std::move(thumb));
    thumbView_->setContentMode(ui::ContentMode::ScaleToFill);
    thumbView_->setAccessibilityIdentifier("sliderThumb");
    addSubview(thumbView_);
    placeThumb();
}

std::shared_ptr<UICustomSlider> UICustomSlider::initWithFrame(ui::Rect frame, ui::ImagePtr thumb, float thumbHeight,
                                                              ui::Size thumbSize, ui::ImagePtr colorImg, int minValue,
                                                              int maxValue, int updateValue) {
    return std::make_shared<UICustomSlider>(frame, std::move(thumb), thumbHeight, thumbSize, std::move(colorImg),
                                            minValue, maxValue, updateValue);
}

void UICustomSlider::setValueTextField(const std::shared_ptr<ui::TextField>& field) {
    valueTextField_ = field;
    // An amount of nothing is the field's grey hint, not its text: a "0" there would stay in
    // front of what the player types ("0300").
    if (field) field->setPlaceholder("0");
}

void UICustomSlider::setValue(int step) {
    step_ = std::clamp(step, minStep_, maxStep_);
    placeThumb();
    writeAmount();
}

void UICustomSlider::setMaxValueWithMoney(int32_t money) {
    maxStep_ = std::clamp(highestStepForMoney(money), minStep_, maxValue_);
    // A list's limit comes with a server's answer, which may come while the player types an
    // amount into the field: the thumb takes the limit, what he typed stays.
    if (auto field = valueTextField_.lock(); field && field->isEditing()) {
        step_ = std::clamp(step_, minStep_, maxStep_);
        placeThumb();
        return;
    }
    setValue(step_);
}

int32_t UICustomSlider::getMaxMoneyValue() const {
    return priceOfStep(maxStep_);
}

int32_t UICustomSlider::priceOfStep(int step) {
    if (step < 0 || step > kLastTableStep) return 0;
    return kBetPriceTable[size_t(step)];
}

int UICustomSlider::highestStepForMoney(int64_t money) {
    int best = 0;
    for (int step = 0; step <= kLastTableStep; ++step) {
        if (kBetPriceTable[size_t(step)] <= money) best = step;
    }
    return best;
}

double UICustomSlider::trackLeft() const {
    return thumbSize_.width / 2;
}

double UICustomSlider::trackRight() const {
    return std::max(trackLeft(), bounds().width() - thumbSize_.width / 2);
}

double UICustomSlider::xForStep(int step) const {
    if (maxStep_ <= minStep_) return trackLeft();
    const double share = double(std::clamp(step, minStep_, maxStep_) - minStep_) / double(maxStep_ - minStep_);
    return trackLeft() + share * (trackRight() - trackLeft());
}

int UICustomSlider::stepForX(double x) const {
    if (maxStep_ <= minStep_ || trackRight() <= trackLeft()) return minStep_;
    const double share = (x - trackLeft()) / (trackRight() - trackLeft());
    const int step = minStep_ + int(std::lround(share * double(maxStep_ - minStep_)));
    return std::clamp(step, minStep_, maxStep_);
}

void UICustomSlider::placeThumb() {
    thumbView_->setCenter({xForStep(step_), bounds().height() / 2});
    setNeedsDisplay();
}

void UICustomSlider::writeAmount() {
    const int32_t amount = priceOfStep(step_);
    if (auto field = valueTextField_.lock()) field->setText(amount == 0 ? std::string() : std::to_string(amount));
}

void UICustomSlider::follow(double x) {
    const int step = stepForX(x);
    // A move counts once it covers updateValue steps (or reaches an end).
    if (std::abs(step - step_) < updateValue_ && step != minStep_ && step != maxStep_) return;
    if (step == step_) return;
    setValue(step);
    sendActions(ui::ControlEvent::ValueChanged);
}

void UICustomSlider::beginTracking(ui::Point location) {
    follow(location.x);
}

void UICustomSlider::continueTracking(ui::Point location) {
    follow(location.x);
}

void UICustomSlider::endTracking(ui::Point location, bool /*inside*/) {
    follow(location.x);
}

void UICustomSlider::layoutSubviews() {
    placeThumb();
}

void UICustomSlider::draw(ui::GraphicsContext& context) {
    // The track: a thin bar along the steps, a tick at each step, and the chosen part
    // filled (with the colour picture when one was given).
    const double midY = bounds().height() / 2;
    const double barHeight = std::max(4.0, bounds().height() / 6);
    const ui::Rect bar(trackLeft(), midY - barHeight / 2, trackRight() - trackLeft(), barHeight);
    context.setFillColor(ui::Color::white(0.25, 0.9));
    context.fillRect(bar);
    const ui::Rect chosen(bar.x(), bar.y(), xForStep(step_) - bar.x(), barHeight);
    if (colorImg_) {
        context.drawImage(colorImg_, chosen);
    } else {
        context.setFillColor(ui::Color::rgba(240, 190, 40));
        context.fillRect(chosen);
    }
    context.setStrokeColor(ui::Color::white(0.9));
    context.setLineWidth(1);
    for (int step = minStep_; step <= maxStep_; ++step) {
        const double x = xForStep(step);
        context.drawLine({x, midY - barHeight}, {x, midY + barHeight});
    }
}

} // namespace kavo
