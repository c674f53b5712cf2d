#include "platform/ui/AlertView.h"

#include "platform/ui/Keyboard.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Screen.h"

#include <algorithm>

namespace platform::ui {

namespace {
constexpr double kPadding = 12;
constexpr double kButtonHeight = 40;
constexpr double kGap = 8;
constexpr double kFieldHeight = 29;
} // namespace

AlertView::AlertView(const std::string& title, const std::string& message, AlertViewDelegate* delegate,
                     const std::string& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles)
    : View(Rect(0, 0, width(), 100)), title_(title), message_(message), delegate_(delegate) {
    // The panel's look lives in the view's properties, so a subclass that draws nothing
    // of its own still shows it.
    setBackgroundColor(Color::rgba(22, 34, 64, 0.94));
    layer().setCornerRadius(10);
    layer().setBorderWidth(2);
    layer().setBorderColor(Color::white(0.9));
    if (!cancelButtonTitle.empty()) {
        buttonTitles_.push_back(cancelButtonTitle);
        cancelIndex_ = 0;
    }
    for (const std::string& other : otherButtonTitles)
        buttonTitles_.push_back(other);
}

AlertView::~AlertView() = default;

std::shared_ptr<AlertView> AlertView::make(const std::string& title, const std::string& message,
                                           AlertViewDelegate* delegate, const std::string& cancelButtonTitle,
                                           const std::vector<std::string>& otherButtonTitles) {
    return std::make_shared<AlertView>(title, message, delegate, cancelButtonTitle, otherButtonTitles);
}

int AlertView::addButtonWithTitle(const std::string& title) {
    buttonTitles_.push_back(title);
    return int(buttonTitles_.size()) - 1;
}

std::string AlertView::buttonTitleAtIndex(int index) const {
    if (index < 0 || index >= numberOfButtons()) return {};
    return buttonTitles_[size_t(index)];
}

int AlertView::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i)
        if (i != cancelIndex_) return i;
    return -1;
}

int AlertView::defaultButtonIndex() const {
    const int other = firstOtherButtonIndex();
    return other >= 0 ? other : cancelIndex_;
}

void AlertView::setAlertViewStyle(AlertViewStyle style) {
    style_ = style;
    fields_.clear();
    int count = style == AlertViewStyle::Default ? 0 : style == AlertViewStyle::LoginAndPasswordInput ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        auto field = TextField::make();
        field->setBorderStyle(TextBorderStyle::RoundedRect);
        field->setFont(Font::system(16));
        bool secure =
            style == AlertViewStyle::SecureTextInput || (style == AlertViewStyle::LoginAndPasswordInput && i == 1);
        field->setSecureTextEntry(secure);
        fields_.push_back(field);
    }
}

std::shared_ptr<TextField> AlertView::textFieldAtIndex(int index) const {
    if (index < 0 || size_t(index) >= fields_.size()) return nullptr;
    return fields_[size_t(index)];
}

std::shared_ptr<Button> AlertView::buttonAtIndex(int index) const {
    if (!shown_ || index < 0 || size_t(index) >= buttons_.size()) return nullptr;
    return buttons_[size_t(index)];
}

std::vector<std::shared_ptr<AlertView>> AlertView::visibleAlerts() {
    std::vector<std::shared_ptr<AlertView>> alerts;
    for (const ViewPtr& panel : OverlayStack::panels())
        if (auto alert = std::dynamic_pointer_cast<AlertView>(panel)) alerts.push_back(alert);
    return alerts;
}

void AlertView::build() {
    removeAllSubviews();
    buttons_.clear();
    Rect screen = Screen::bounds();
    double panelWidth = std::min(width(), screen.width() - 20);
    double inner = panelWidth - 2 * kPadding;
    double y = 14;
    auto addLabel = [&](const std::string& text, const Font& font) {
        if (text.empty()) return;
        double height = font.measureWrapped(text, inner).height;
        auto label = Label::make({kPadding, y, inner, height}, text);
        label->setFont(font);
        label->setTextColor(Color::white());
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
        label->setLineBreakMode(LineBreakMode::WordWrap);
        addSubview(label);
        y += height + 6;
    };
    addLabel(title_, Font::boldSystem(17));
    addLabel(message_, Font::system(15));
    y += 4;
    for (const auto& field : fields_) {
        field->setFrame({kPadding, y, inner, kFieldHeight});
        addSubview(field);
        y += kFieldHeight + 6;
    }
    y += 4;

    std::weak_ptr<View> weak = weak_from_this();
    buttons_.resize(buttonTitles_.size());
    auto makeButton = [&](int index, const Rect& frame) {
        auto button = Button::make(frame);
        button->setTitle(buttonTitles_[size_t(index)]);
        // The player reads the bold button as the one Return presses.
        button->titleLabel()->setFont(index == defaultButtonIndex() ? Font::boldSystem(16) : Font::system(16));
        button->onTouchUpInside([weak, index] {
            if (auto alert = std::static_pointer_cast<AlertView>(weak.lock())) alert->pressButton(index);
        });
        addSubview(button);
        buttons_[size_t(index)] = button;
    };
    int count = numberOfButtons();
    if (count == 2) {
        // Two buttons share a row in index order (the cancel button, when there is one, left).
        double half = (inner - kGap) / 2;
        makeButton(0, {kPadding, y, half, kButtonHeight});
        makeButton(1, {kPadding + half + kGap, y, half, kButtonHeight});
        y += kButtonHeight + kGap;
    } else {
        // A column: the other buttons in order, the cancel button last.
        for (int i = 0; i < count; ++i) {
            if (i == cancelIndex_) continue;
            makeButton(i, {kPadding, y, inner, kButtonHeight});
            y += kButtonHeight + kGap;
        }
        if (cancelIndex_ >= 0 && cancelIndex_ < count) {
            makeButton(cancelIndex_, {kPadding, y, inner, kButtonHeight});
            y += kButtonHeight + kGap;
        }
    }
    double height = y + kPadding - kGap;
    // Centred, and above the keyboard when the alert takes text.
    double room = screen.height() - (fields_.empty() ? 0 : Keyboard::height());
    double top = std::max(10.0, (room - height) / 2);
    setFrame({screen.midX() - panelWidth / 2, top, panelWidth, height});
}

void AlertView::show() {
    if (shown_) return;
    auto keep = weak_from_this().lock();
    if (!keep) return; // an alert must be held by a shared pointer to be shown
    build();
    shown_ = true;
    if (delegate_) delegate_->willPresent(*this);
    OverlayStack::push(keep, Color::black().withAlpha(0.4));
    if (!fields_.empty()) fields_.front()->becomeFirstResponder();
    if (delegate_ && shown_) delegate_->didPresent(*this);
}

void AlertView::dismissWithClickedButtonIndex(int index, bool) {
    if (!shown_ || dismissing_) return;
    auto keep = weak_from_this().lock();
    dismissing_ = true;
    if (delegate_) delegate_->willDismissWithButtonIndex(*this, index);
    OverlayStack::remove(this);
    shown_ = false;
    if (delegate_) delegate_->didDismissWithButtonIndex(*this, index);
    dismissing_ = false;
}

void AlertView::pressButton(int index) {
    if (!shown_ || dismissing_ || index < 0 || index >= numberOfButtons()) return;
    auto keep = weak_from_this().lock();
    if (delegate_) delegate_->clickedButtonAtIndex(*this, index);
    // The delegate may have dismissed the alert itself already.
    dismissWithClickedButtonIndex(index, true);
}

} // namespace platform::ui
