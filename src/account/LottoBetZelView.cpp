#include "account/LottoBetZelView.h"

#include "account/LottoInput.h"
#include "app/Resources.h"
#include "app/Util.h"
#include "app/widgets/CustomUIFont.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "table/sheets/menuCuoc.h"

namespace kavo {

namespace ui = platform::ui;

LottoBetZelView::LottoBetZelView(ui::Rect frame) : ui::View(frame) {}

LottoBetZelView::~LottoBetZelView() {
    if (txfBetZel_) txfBetZel_->setDelegate(nullptr);
}

std::shared_ptr<LottoBetZelView> LottoBetZelView::make(ui::Rect frame) {
    auto entry = std::make_shared<LottoBetZelView>(frame);
    entry->setUIScreen();
    return entry;
}

void LottoBetZelView::setUIScreen() {
    const bool pad = Util::isPad();
    setAccessibilityIdentifier("betZelView");
    auto dim = ui::Button::make(bounds());
    dim->setAccessibilityIdentifier("hideBetZelView");
    dim->setBackgroundColor(ui::Color::black());
    dim->setAlpha(0.8);
    dim->onTouchUpInside([this] { hideBetZelView(); });
    addSubview(dim);
    auto title = CustomUIFont::labelWithFrame(
        scaled({189, 50, 102, 21}), Resources::getInstance().textWithKey("KAVO_dat_cuoc"), "sea.png", pad ? 30 : 17);
    addSubview(title);
    auto fieldBackground = ui::ImageView::make(scaled({102, 83, 277, 25}));
    fieldBackground->setImage(Util::getImageWithName("i_img_LottoSubView_TextFieldBackground.png"));
    addSubview(fieldBackground);
    txfBetZel_ = ui::TextField::make(scaled({102, 83, 277, 25}));
    txfBetZel_->setAccessibilityIdentifier("txfBetZel");
    txfBetZel_->setTextAlignment(ui::TextAlignment::Center);
    txfBetZel_->setTextColor(ui::Color::white());
    txfBetZel_->setFont(ui::Font::boldSystem(pad ? 28 : 15));
    txfBetZel_->setReturnKeyType(ui::ReturnKeyType::Done);
    txfBetZel_->setKeyboardType(ui::KeyboardType::NumberPad);
    txfBetZel_->setDelegate(this);
    addSubview(txfBetZel_);
    auto ball = ui::ImageView::make(scaled({387, 75, 40, 40}));
    ball->setImage(Util::getImageWithName("i_img_LottoSubView_NonselectedNumbers.png"));
    addSubview(ball);
    lblNumber_ = CustomUIFont::labelWithFrame(scaled({387, 72, 40, 40}), "", "sea.png", pad ? 28 : 15);
    lblNumber_->setAccessibilityIdentifier("lblNumber");
    addSubview(lblNumber_);
    numberToolbar_ = ui::Toolbar::make(scaled({80, 120, 320, 50}));
    numberToolbar_->setBarStyle(ui::BarStyle::Black);
    numberToolbar_->setItems(
        {ui::BarButtonItem::withSystemItem(ui::BarButtonSystemItem::FlexibleSpace),
         ui::BarButtonItem::withSystemItem(ui::BarButtonSystemItem::Done, [this] { doneWithNumberPad(); })});
    numberToolbar_->setHidden(true);
    addSubview(numberToolbar_);
}

void LottoBetZelView::setNumber(int32_t number) {
    lblNumber_->setString(std::to_string(number));
}

void LottoBetZelView::setTextFieldBecomeFirstResponder() {
    txfBetZel_->becomeFirstResponder();
}

void LottoBetZelView::didBeginEditing(ui::TextField& /*field*/) {
    numberToolbar_->setHidden(false);
}

bool LottoBetZelView::shouldChangeCharacters(ui::TextField& /*field*/, size_t /*location*/, size_t /*length*/,
                                             const std::string& replacement) {
    return LottoInput::acceptsReplacement(replacement);
}

bool LottoBetZelView::shouldReturn(ui::TextField& /*field*/) {
    std::weak_ptr<ui::View> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        if (auto self = std::static_pointer_cast<LottoBetZelView>(weak.lock())) self->doneWithNumberPad();
    });
    return true;
}

void LottoBetZelView::close() {
    txfBetZel_->setText("");
    txfBetZel_->resignFirstResponder();
    numberToolbar_->setHidden(true);
    removeFromSuperview();
}

void LottoBetZelView::doneWithNumberPad() {
    // Not over a screen any more: a confirmation already closed it.
    if (!superview()) return;
    menuCuoc::doSaveSetMoney(txfBetZel_->text());
    close();
}

void LottoBetZelView::hideBetZelView() {
    close();
}

} // namespace kavo
