#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/Font.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextInputTraits.h"

#include <cstddef>
#include <memory>
#include <string>

namespace platform::ui {

class TextField;

// Asked and told about a field's editing; every call has a default that allows.
// Ranges are in UTF-16 units, as the field counts them (an emoji is two units).
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool shouldBeginEditing(TextField& field) { return (void)field, true; }
    virtual void didBeginEditing(TextField& field) { (void)field; }
    virtual bool shouldEndEditing(TextField& field) { return (void)field, true; }
    virtual void didEndEditing(TextField& field) { (void)field; }
    virtual bool shouldChangeCharacters(TextField& field, size_t location, size_t length,
                                        const std::string& replacement) {
        return (void)field, (void)location, (void)length, (void)replacement, true;
    }
    virtual bool shouldClear(TextField& field) { return (void)field, true; }
    virtual bool shouldReturn(TextField& field) { return (void)field, true; }
};

enum class TextBorderStyle { None, Line, Bezel, RoundedRect };
enum class TextFieldViewMode { Never, WhileEditing, UnlessEditing, Always };

// A one-line text input. A tap makes it the first responder (the keyboard comes up) and
// editing begins; typed text is added at the end, backspace removes the last character.
// Each change is first offered to the delegate's shouldChangeCharacters with its UTF-16
// range, then sends EditingChanged. The return key asks shouldReturn; when that allows,
// EditingDidEndOnExit is sent, and a field with actions for that event then resigns.
// Resigning sends EditingDidEnd and didEndEditing: the end of the edit, however the field
// loses the focus (another field or a picker takes it, Escape, the field leaving the window
// or a view around it hiding, the window losing the keyboard focus). Setting the text from
// code sends nothing. The field shows its text (bullets when secure) or its placeholder in
// grey, and a caret at the end while editing.
class TextField : public Control, public TextInputTraits {
public:
    explicit TextField(Rect frame = {});
    static std::shared_ptr<TextField> make(Rect frame = {});

    std::string text() const override { return text_; }
    void setText(const std::string& text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(const std::string& placeholder);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    Color textColor() const { return textColor_; }
    void setTextColor(Color color);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment);
    TextBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TextBorderStyle style);
    TextFieldViewMode clearButtonMode() const { return clearButtonMode_; }
    void setClearButtonMode(TextFieldViewMode mode);
    bool clearsOnBeginEditing() const { return clearsOnBeginEditing_; }
    void setClearsOnBeginEditing(bool clears) { clearsOnBeginEditing_ = clears; }
    const ImagePtr& background() const { return background_; }
    void setBackground(ImagePtr image);

    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }

    bool isEditing() const { return editing_; }

    // Replaces the UTF-16 units [location, location + length) as typing would: asks the
    // delegate, then changes the text and sends EditingChanged. False when refused.
    bool replaceCharacters(size_t location, size_t length, const std::string& replacement);
    // Empties the field as its clear button does (asks shouldClear).
    bool clearText();

    // What the field shows: the text, or bullets for secure entry.
    std::string displayText() const;
    bool isClearButtonVisible() const;
    Rect clearButtonRect() const;
    Rect textRect() const;

    // Responder
    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isTextInput() const override { return true; }
    void insertText(const std::string& text) override;
    void deleteBackward() override;
    void pressReturn() override;
    bool hasText() const override { return !text_.empty(); }

    void draw(GraphicsContext& context) override;

protected:
    void endTracking(Point location, bool inside) override;
    void textInputTraitsChanged() override { setNeedsDisplay(); }

private:
    std::string text_;
    std::string placeholder_;
    Font font_ = Font::system(17);
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::Left;
    TextBorderStyle borderStyle_ = TextBorderStyle::None;
    TextFieldViewMode clearButtonMode_ = TextFieldViewMode::Never;
    bool clearsOnBeginEditing_ = false;
    ImagePtr background_;
    TextFieldDelegate* delegate_ = nullptr;
    bool editing_ = false;
};

// The UTF-16 length of the last character of `text` together with the combining marks
// after it (what one backspace removes); 0 for empty text.
size_t utf16LengthOfLastCharacter(const std::string& text);

} // namespace platform::ui
