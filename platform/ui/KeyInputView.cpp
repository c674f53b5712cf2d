#include "platform/ui/KeyInputView.h"

namespace platform::ui {

KeyInputView::KeyInputView(Rect frame) : View(frame) {}

std::shared_ptr<KeyInputView> KeyInputView::make(Rect frame) {
    return std::make_shared<KeyInputView>(frame);
}

void KeyInputView::insertText(const std::string& text) {
    if (insertHandler_) insertHandler_(text);
}

void KeyInputView::deleteBackward() {
    if (deleteHandler_) deleteHandler_();
}

void KeyInputView::touchesBegan(const std::vector<Touch>&) {
    if (!isFirstResponder()) becomeFirstResponder();
}

} // namespace platform::ui
