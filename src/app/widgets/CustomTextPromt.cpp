#include "app/widgets/CustomTextPromt.h"

#include "app/widgets/CustomAlertBackground.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Keyboard.h"

#include <algorithm>

namespace kavo {

using namespace platform::ui;

namespace {
constexpr double kKeyboardSlideDuration = 0.3;
}

CustomTextPromt::CustomTextPromt(const std::string& title, const std::string& message, const std::string& defaultText,
                                 Callback block)
    : CustomBlockAlertView(title, message) {
    const double width = view_->bounds().width();
    textField_ = TextField::make(Rect(kFieldInset, height_, width - 2 * kFieldInset, kFieldHeight));
    textField_->setContentVerticalAlignment(ContentVerticalAlignment::Center);
    textField_->setAutocapitalizationType(AutocapitalizationType::Words);
    textField_->setBorderStyle(TextBorderStyle::RoundedRect);
    textField_->setTextAlignment(TextAlignment::Center);
    textField_->setClearButtonMode(TextFieldViewMode::WhileEditing);
    textField_->setAccessibilityIdentifier("textField");
    if (!defaultText.empty()) textField_->setText(defaultText);
    if (block) textField_->setDelegate(this);
    view_->addSubview(textField_);
    height_ += kFieldStep;
    callBack_ = std::move(block);
}

CustomTextPromt::~CustomTextPromt() {
    removeObservers();
    // The field may outlive the prompt (its maker may hold it).
    if (textField_ && textField_->delegate() == this) textField_->setDelegate(nullptr);
}

std::shared_ptr<CustomTextPromt> CustomTextPromt::promptWithTitle(const std::string& title, const std::string& message,
                                                                  const std::string& defaultText, Callback block) {
    return std::make_shared<CustomTextPromt>(title, message, defaultText, std::move(block));
}

std::shared_ptr<CustomTextPromt> CustomTextPromt::promptWithTitle(const std::string& title, const std::string& message,
                                                                  std::shared_ptr<TextField>* textField,
                                                                  Callback block) {
    auto prompt = std::make_shared<CustomTextPromt>(title, message, std::string(), std::move(block));
    if (textField) *textField = prompt->textField();
    return prompt;
}

void CustomTextPromt::show() {
    if (isShown()) return;
    auto& center = platform::NotificationCenter::defaultCenter();
    std::weak_ptr<CustomTextPromt> weak = std::static_pointer_cast<CustomTextPromt>(weak_from_this().lock());
    keyboardToken_ = center.addObserver(Keyboard::WillShowNotification, [weak](const platform::Notification& note) {
        if (auto prompt = weak.lock()) prompt->keyboardWillShow(Keyboard::frameFromUserInfo(note.userInfo));
    });
    CustomBlockAlertView::show();
    // The keyboard opens once the entrance is over.
    std::weak_ptr<TextField> field = textField_;
    focusToken_ = center.addObserver(kFinishedAnimationsNotification, [field](const platform::Notification&) {
        if (auto shown = field.lock(); shown && shown->window()) shown->becomeFirstResponder();
    });
}

void CustomTextPromt::dismissWithClickedButtonIndex(int index, bool animated) {
    auto keep = weak_from_this().lock();
    CustomBlockAlertView::dismissWithClickedButtonIndex(index, animated);
    removeObservers();
    if (textField_->isFirstResponder()) textField_->resignFirstResponder();
}

void CustomTextPromt::removeObservers() {
    auto& center = platform::NotificationCenter::defaultCenter();
    if (keyboardToken_) center.removeObserver(keyboardToken_);
    if (focusToken_) center.removeObserver(focusToken_);
    keyboardToken_ = focusToken_ = 0;
}

void CustomTextPromt::setAllowableCharacters(std::optional<std::string> characters) {
    acceptedInput_.reset();
    if (characters) acceptedInput_ = platform::toUtf32(*characters);
    textField_->setDelegate(this);
}

void CustomTextPromt::setMaxLength(int length) {
    maxLength_ = length;
    textField_->setDelegate(this);
}

void CustomTextPromt::setInputAsPassword(bool secure) {
    textField_->setSecureTextEntry(secure);
}

void CustomTextPromt::setPlaceHolder(const std::string& placeholder) {
    textField_->setPlaceholder(placeholder);
}

bool CustomTextPromt::acceptsChange(const std::string& current, size_t location, size_t length,
                                    const std::string& replacement) const {
    // The range is clamped to the text, as the field applies it.
    const size_t currentLength = platform::utf16Length(current);
    const size_t start = std::min(location, currentLength);
    const size_t removed = std::min(length, currentLength - start);
    const size_t newLength = currentLength - removed + platform::utf16Length(replacement);
    if (maxLength_ >= 1 && newLength > size_t(maxLength_)) return false;
    if (!acceptedInput_ || replacement.empty()) return true;
    // Every character must be allowed: a pasted text cannot smuggle in others.
    for (char32_t c : platform::toUtf32(replacement))
        if (acceptedInput_->find(c) == std::u32string::npos) return false;
    return true;
}

bool CustomTextPromt::shouldReturn(TextField& field) {
    (void)field;
    return callBack_ ? callBack_(*this) : false;
}

bool CustomTextPromt::shouldChangeCharacters(TextField& field, size_t location, size_t length,
                                             const std::string& replacement) {
    return acceptsChange(field.text(), location, length, replacement);
}

void CustomTextPromt::keyboardWillShow(Rect keyboardFrame) {
    const double keyboardHeight = keyboardFrame.height();
    const double screenHeight = CustomAlertBackground::sharedInstance()->bounds().height();
    // The untransformed rectangle: the entrance may still be scaling the alert.
    const double height = view_->bounds().height();
    const double top = view_->center().y - height / 2;
    if (top + height <= screenHeight - keyboardHeight) return;
    const double raisedCenterY = std::max(0.0, screenHeight - keyboardHeight - height) + height / 2;
    std::weak_ptr<View> weak = view_;
    View::animate(kKeyboardSlideDuration, 0, AnimationOptions{.allowUserInteraction = true}, [weak, raisedCenterY] {
        if (auto shown = weak.lock()) shown->setCenter({shown->center().x, raisedCenterY});
    });
}

} // namespace kavo
