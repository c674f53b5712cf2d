#pragma once

#include "platform/ui/Font.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextInputTraits.h"

#include <cstddef>
#include <memory>
#include <string>

namespace platform::ui {

class TextView;

// Asked and told about a text view's editing; every call has a default that allows.
class TextViewDelegate {
public:
    virtual ~TextViewDelegate() = default;
    virtual bool shouldBeginEditing(TextView& view) { return (void)view, true; }
    virtual void didBeginEditing(TextView& view) { (void)view; }
    virtual bool shouldEndEditing(TextView& view) { return (void)view, true; }
    virtual void didEndEditing(TextView& view) { (void)view; }
    // The UTF-16 range being replaced.
    virtual bool shouldChangeText(TextView& view, size_t location, size_t length, const std::string& replacement) {
        return (void)view, (void)location, (void)length, (void)replacement, true;
    }
    virtual void didChange(TextView& view) { (void)view; }
};

// Scrolling text of several lines. When editable, a tap makes it the first responder and
// typed text (the return key included) is added at the end.
class TextView : public ScrollView, public TextInputTraits {
public:
    explicit TextView(Rect frame = {});
    static std::shared_ptr<TextView> make(Rect frame = {});

    std::string text() const override { return text_; }
    void setText(const std::string& text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    Color textColor() const { return textColor_; }
    void setTextColor(Color color);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment);
    bool isEditable() const { return editable_; }
    void setEditable(bool editable);
    TextViewDelegate* delegate() const { return textDelegate_; }
    void setDelegate(TextViewDelegate* delegate) { textDelegate_ = delegate; }
    bool isEditing() const { return isFirstResponder(); }

    bool replaceCharacters(size_t location, size_t length, const std::string& replacement);

    bool canBecomeFirstResponder() const override { return editable_; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isTextInput() const override { return true; }
    void insertText(const std::string& text) override;
    void deleteBackward() override;
    void pressReturn() override { insertText("\n"); }
    bool hasText() const override { return !text_.empty(); }

    void touchesEnded(const std::vector<Touch>& touches) override;
    void layoutSubviews() override;
    void draw(GraphicsContext& context) override;

    static constexpr double margin() { return 8; }

private:
    void textChanged();

    std::string text_;
    Font font_ = Font::system(17);
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::Left;
    bool editable_ = true;
    TextViewDelegate* textDelegate_ = nullptr;
};

} // namespace platform::ui
