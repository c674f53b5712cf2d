#pragma once

#include "app/widgets/EmoticonText.h"
#include "platform/ui/Image.h"
#include "platform/ui/KeyInputView.h"

#include <memory>
#include <optional>
#include <string>

namespace kavo {

class CustomTextField;

// What the owner of an emoticon text field hears (each call is optional).
class CustomTextFieldOwner {
public:
    virtual ~CustomTextFieldOwner() = default;
    // A touch started editing.
    virtual void beginEdit(CustomTextField& field) { (void)field; }
    // The return key ended editing.
    virtual void endEditing(CustomTextField& field) { (void)field; }
};

// A minimal key-input view that draws what is typed with emoticon codes as pictures, in
// bold black over the "textbox400.png" picture (stretched over the whole field). No caret, selection or placeholder;
// the secure-entry trait does not mask the text. A touch starts editing (the keyboard comes up); return ends it and
// tells the owner; nothing limits or filters the text.
class CustomTextField : public platform::ui::KeyInputView {
public:
    explicit CustomTextField(platform::ui::Rect frame = {});
    static std::shared_ptr<CustomTextField> make(platform::ui::Rect frame = {});

    // The typed text; nothing when empty.
    std::optional<std::string> typedText() const;
    // The typed text ("" when empty), for automation and callers that want a string.
    std::string text() const override { return text_; }
    void setText(const std::string& text);

    CustomTextFieldOwner* parentViewController() const { return parentViewController_; }
    void setParentViewController(CustomTextFieldOwner* owner) { parentViewController_ = owner; }
    bool isBecomeFirstResponder() const { return isBecomeFirstResponder_; }
    const EmoticonTable& emoticons() const { return xDictEmotions_; }
    void setEmoticons(EmoticonTable table) { xDictEmotions_ = std::move(table); }

    bool hasText() const override { return !text_.empty(); }
    // "\n" ends editing; any other text is appended.
    void insertText(const std::string& text) override;
    // Removes the last character (a whole UTF-8 sequence); nothing on an empty text.
    void deleteBackward() override;
    void touchesBegan(const std::vector<platform::ui::Touch>& touches) override;
    bool resignFirstResponder() override;

    // The background picture, then the text from (10, middle).
    void draw(platform::ui::GraphicsContext& context) override;
    const platform::ui::ImagePtr& backgroundImage() const { return background_; }

private:
    std::string text_;
    platform::ui::Point xLastpos_;
    EmoticonTable xDictEmotions_;
    CustomTextFieldOwner* parentViewController_ = nullptr;
    bool isBecomeFirstResponder_ = false;
    platform::ui::ImagePtr background_;
};

} // namespace kavo
