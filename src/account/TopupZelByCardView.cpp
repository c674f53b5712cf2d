#include "account/TopupZelByCardView.h"

#include "account/ShopWidgets.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Responder.h"
#include "portal/GlobalService.h"

#include <vector>

namespace kavo {

namespace ui = platform::ui;

namespace {

// How far the form rises for the keyboard, and how long that takes.
double raiseBy() {
    return Util::isPad() ? 160 : 80;
}
constexpr double kRaiseSeconds = 0.5;

} // namespace

TopupZelByCardView::TopupZelByCardView(ui::Rect frame) : ui::View(frame) {
    setAccessibilityIdentifier("TopupZelByCardView");
}

namespace {
// Every form still alive, the shop's and the top-up panels'.
std::vector<std::weak_ptr<TopupZelByCardView>>& liveForms() {
    static std::vector<std::weak_ptr<TopupZelByCardView>> forms;
    return forms;
}
} // namespace

std::shared_ptr<TopupZelByCardView> TopupZelByCardView::make(ui::Rect frame) {
    auto form = std::make_shared<TopupZelByCardView>(frame);
    form->setUIScreen();
    auto& forms = liveForms();
    std::erase_if(forms, [](const auto& weak) { return weak.expired(); });
    forms.push_back(form);
    return form;
}

void TopupZelByCardView::topUpAccepted() {
    // A card goes through once: no form keeps its serial and code on screen after that.
    for (const auto& weak : liveForms()) {
        if (auto form = weak.lock()) {
            form->txfSeriesNumber_->setText("");
            form->txfPinCode_->setText("");
        }
    }
}

namespace {
std::shared_ptr<TopupZelByCardView>& sharedForm() {
    static std::shared_ptr<TopupZelByCardView> form;
    return form;
}
} // namespace

const std::shared_ptr<TopupZelByCardView>& TopupZelByCardView::getInstance() {
    auto& form = sharedForm();
    if (!form) form = make(Util::changeRectFromRect({0, 0, 480, 320}));
    return form;
}

void TopupZelByCardView::resetForTesting() {
    if (auto& form = sharedForm()) form->removeFromSuperview();
    sharedForm().reset();
}

void TopupZelByCardView::setUIScreen() {
    const bool pad = Util::isPad();
    btnBG_ = shopui::dimmingButton(bounds(), "btnBG", [this] { hideThisView(); });
    addSubview(btnBG_);
    mainView_ = ui::View::make(pad ? ui::Rect{89, 189, 810, 388} : ui::Rect{42, 79, 380, 162});
    mainView_->setAccessibilityIdentifier("mainView");
    mainView_->addSubview(shopui::image(mainView_->bounds(), "img_TopupZel_ContentBackground.png"));
    const double s = pad ? 2 : 1;
    auto scale = [s](ui::Rect r) { return ui::Rect{r.x() * s, r.y() * s, r.width() * s, r.height() * s}; };
    for (const auto& [frame, key] : {std::pair{scale({12, 20, 64, 21}), "KAVO_SeriesNumber"},
                                     std::pair{scale({12, 52, 64, 21}), "KAVO_CardCode"}}) {
        auto name = shopui::label(frame, "", shopui::fontSize(12), ui::Color::white());
        texts_.text(name, key);
        mainView_->addSubview(name);
    }
    auto field = [&](ui::Rect frame, const char* identifier, ui::ReturnKeyType returnKey) {
        mainView_->addSubview(shopui::image(scale(frame), "img_TopupZel_TextFieldBackground.png"));
        auto input = ui::TextField::make(scale(frame));
        input->setAccessibilityIdentifier(identifier);
        input->setTextColor(ui::Color::white());
        input->setFont(ui::Font::boldSystem(pad ? 28 : 14));
        input->setTextAlignment(ui::TextAlignment::Center);
        input->setReturnKeyType(returnKey);
        input->setDelegate(this);
        mainView_->addSubview(input);
        return input;
    };
    txfSeriesNumber_ = field({84, 20, 276, 24}, "txfSeriesNumber", ui::ReturnKeyType::Next);
    txfPinCode_ = field({84, 52, 276, 24}, "txfPinCode", ui::ReturnKeyType::Done);
    btnTopup_ = shopui::button(pad ? ui::Rect{290, 267, 230, 71} : ui::Rect{136, 112, 108, 30}, "btnTopup",
                               "button_red_normal.png", "", [this] { doTopup(); });
    texts_.title(btnTopup_, "KAVO_recharge");
    btnTopup_->titleLabel()->setFont(ui::Font::boldSystem(pad ? 28 : 14));
    mainView_->addSubview(btnTopup_);
    addSubview(mainView_);
}

void TopupZelByCardView::didMoveToSuperview() {
    if (superview()) texts_.apply();
}

void TopupZelByCardView::raise() {
    // Without an on-screen keyboard the form stays put, so a click meant for one field
    // never lands in the other.
    if (isEdit_ || !ui::Keyboard::exists()) return;
    isEdit_ = true;
    auto content = mainView_;
    const ui::Point to{content->center().x, content->center().y - raiseBy()};
    ui::View::animate(kRaiseSeconds, 0, {.curve = ui::AnimationCurve::EaseOut},
                      [content, to] { content->setCenter(to); });
}

void TopupZelByCardView::lower() {
    isEdit_ = false;
    auto content = mainView_;
    const ui::Point to{content->center().x, content->center().y + raiseBy()};
    ui::View::animate(kRaiseSeconds, 0, {.curve = ui::AnimationCurve::EaseOut},
                      [content, to] { content->setCenter(to); });
}

void TopupZelByCardView::didBeginEditing(ui::TextField&) {
    raise();
}

// Return in the serial moves on to the code.
bool TopupZelByCardView::shouldReturn(ui::TextField& field) {
    if (&field == txfSeriesNumber_.get()) txfPinCode_->becomeFirstResponder();
    return true;
}

void TopupZelByCardView::doTopup() {
    txfSeriesNumber_->resignFirstResponder();
    txfPinCode_->resignFirstResponder();
    if (isEdit_) lower();
    const std::string serial = txfSeriesNumber_->text();
    const std::string code = txfPinCode_->text();
    if (serial.empty() || code.empty()) {
        UIController::showNotice(kavo::text("KAVO_LottoGeneralWarning"));
        return;
    }
    if (!channel_) {
        platform::log("card top-up: no card channel chosen; nothing sent");
        return;
    }
    GlobalService::getInstance().sendChargeMoney(*channel_, serial, code);
}

void TopupZelByCardView::hideThisView() {
    if (isEdit_) {
        txfSeriesNumber_->resignFirstResponder();
        txfPinCode_->resignFirstResponder();
        lower();
        return;
    }
    removeFromSuperview();
}

} // namespace kavo
