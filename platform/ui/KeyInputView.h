#pragma once

#include "platform/ui/TextInputTraits.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>
#include <string>

namespace platform::ui {

// A view that takes key input without showing a field: it can become the first responder
// (the keyboard comes up) and receives typed text and backspaces, which subclasses handle
// by overriding insertText/deleteBackward (or through the handlers). The return key
// arrives as insertText("\n"). A touch makes it first responder unless a subclass takes
// touches itself.
class KeyInputView : public View, public TextInputTraits {
public:
    explicit KeyInputView(Rect frame = {});
    static std::shared_ptr<KeyInputView> make(Rect frame = {});

    void setInsertTextHandler(std::function<void(const std::string&)> handler) { insertHandler_ = std::move(handler); }
    void setDeleteBackwardHandler(std::function<void()> handler) { deleteHandler_ = std::move(handler); }

    bool canBecomeFirstResponder() const override { return true; }
    bool isTextInput() const override { return true; }
    void insertText(const std::string& text) override;
    void deleteBackward() override;
    void pressReturn() override { insertText("\n"); }
    bool hasText() const override { return false; }

    void touchesBegan(const std::vector<Touch>& touches) override;

private:
    std::function<void(const std::string&)> insertHandler_;
    std::function<void()> deleteHandler_;
};

} // namespace platform::ui
