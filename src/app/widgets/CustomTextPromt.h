#pragma once

#include "app/widgets/CustomBlockAlertView.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/TextField.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kavo {

// A block alert with one text field. The keyboard opens when the entrance ends and the
// alert moves up out of its way. The return key asks the callback; typing can be limited
// to a set of characters and to a length.
class CustomTextPromt : public CustomBlockAlertView, public platform::ui::TextFieldDelegate {
public:
    using Callback = std::function<bool(CustomTextPromt&)>;

    static constexpr double kFieldInset = 12;
    static constexpr double kFieldHeight = 25;
    static constexpr double kFieldStep = 30;

    CustomTextPromt(const std::string& title, const std::string& message, const std::string& defaultText,
                    Callback block);
    ~CustomTextPromt() override;

    static std::shared_ptr<CustomTextPromt> promptWithTitle(const std::string& title, const std::string& message,
                                                            const std::string& defaultText, Callback block = {});
    // No default text; the field comes back through `textField`.
    static std::shared_ptr<CustomTextPromt> promptWithTitle(const std::string& title, const std::string& message,
                                                            std::shared_ptr<platform::ui::TextField>* textField,
                                                            Callback block = {});

    void show() override;
    void dismissWithClickedButtonIndex(int index, bool animated) override;

    const std::shared_ptr<platform::ui::TextField>& textField() const { return textField_; }
    const Callback& callBack() const { return callBack_; }
    void setCallBack(Callback block) { callBack_ = std::move(block); }

    // Only these characters may be typed (nothing: any). Makes the prompt the field's delegate.
    void setAllowableCharacters(std::optional<std::string> characters);
    // 0 or less: no limit. Makes the prompt the field's delegate.
    void setMaxLength(int length);
    void setInputAsPassword(bool secure);
    void setPlaceHolder(const std::string& placeholder);

    // Whether a change of the field's UTF-16 range to `replacement` is allowed: the length
    // after it must stay within the limit, and every character of the replacement must be
    // allowed (a deletion always is).
    bool acceptsChange(const std::string& current, size_t location, size_t length,
                       const std::string& replacement) const;

    // TextFieldDelegate
    bool shouldReturn(platform::ui::TextField& field) override;
    bool shouldChangeCharacters(platform::ui::TextField& field, size_t location, size_t length,
                                const std::string& replacement) override;

    // The keyboard is about to show with this frame: moves the alert above it.
    void keyboardWillShow(platform::ui::Rect keyboardFrame);

private:
    void removeObservers();

    std::shared_ptr<platform::ui::TextField> textField_;
    Callback callBack_;
    std::optional<std::u32string> acceptedInput_;
    int maxLength_ = 0;
    platform::NotificationCenter::Token keyboardToken_ = 0;
    platform::NotificationCenter::Token focusToken_ = 0;
};

} // namespace kavo
