#pragma once

#include "app/widgets/CustomTextField.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace kavo {

// The private chat panel inside the player profile: the conversation with one friend.
// It owns its text field: typing lifts the panel above the keyboard.
class ChatView : public platform::ui::View, public CustomTextFieldOwner {
public:
    explicit ChatView(platform::ui::Rect frame = {});
    static std::shared_ptr<ChatView> make(platform::ui::Rect frame);

    // The friend this conversation is with.
    const std::string& friendName() const { return friendName_; }
    void setFriendName(std::string name) { friendName_ = std::move(name); }

    // Typing starts: unless already editing, marks itself editing and moves the panel
    // up (130 points on a phone, 300 on a tablet) so the keyboard does not cover it.
    void beginEdit(CustomTextField& sender) override;
    // The return key: the panel moves back down.
    void endEditing(CustomTextField& sender) override;
    bool isEditing() const { return isEditing_; }

    // How far the panel moves up while typing.
    static double editLift();

private:
    std::string friendName_;
    bool isEditing_ = false;
};

} // namespace kavo
