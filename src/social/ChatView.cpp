#include "social/ChatView.h"

#include "app/Util.h"

namespace kavo {

ChatView::ChatView(platform::ui::Rect frame) : platform::ui::View(frame) {}

std::shared_ptr<ChatView> ChatView::make(platform::ui::Rect frame) {
    return std::make_shared<ChatView>(frame);
}

double ChatView::editLift() {
    return Util::isPad() ? 300 : 130;
}

void ChatView::beginEdit(CustomTextField& /*sender*/) {
    if (isEditing_) return;
    isEditing_ = true;
    auto frame = this->frame();
    frame.origin.y -= editLift();
    setFrame(frame);
}

void ChatView::endEditing(CustomTextField& /*sender*/) {
    if (!isEditing_) return;
    isEditing_ = false;
    auto frame = this->frame();
    frame.origin.y += editLift();
    setFrame(frame);
}

} // namespace kavo
