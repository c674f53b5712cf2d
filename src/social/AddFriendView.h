#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"

#include <memory>

namespace kavo {

// The sheet where the player types another player's name to ask them as a friend. It
// only starts the search by name (names longer than 3 UTF-16 units); the logic handler
// finishes the request when the answer comes. The messages screen keeps one. Main
// thread only.
class AddFriendView : public CustomUIActionSheetViewController {
public:
    static constexpr size_t kMinLength = 4;

    AddFriendView();
    ~AddFriendView() override;

    void viewDidLoad() override;
    // Slides in, empties the field and gives it the keyboard.
    void viewWillAppear(bool animated) override;
    void keyboardWillShow();
    void keyboardWillHide();
    // The OK button (which Return in the field presses): closes, then searches the name or
    // says it is too short.
    void doAddFriend();
    void onCancel();

    const std::shared_ptr<platform::ui::TextField>& txtName() const { return txtName_; }
    const std::shared_ptr<platform::ui::Label>& lblTitle() const { return lblTitle_; }

private:
    void movePanelTo(double y);
    bool isShown() const;

    std::shared_ptr<platform::ui::TextField> txtName_;
    std::shared_ptr<platform::ui::Label> lblTitle_;
    std::shared_ptr<platform::ui::Button> btnCancel_, btnAccept_;
    platform::NotificationCenter::Token showToken_ = 0, hideToken_ = 0;
};

} // namespace kavo
