#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "portal/model/User.h"

#include <memory>

namespace kavo {

// The password change sheet: old password, new password and its repetition. It sends the
// change (1003) when the new password is typed twice alike, and closes on every path, also
// whenever the keyboard goes away. The screen base makes a new one each time. Main thread only.
class ChangePassView : public CustomUIActionSheetViewController, public platform::ui::TextFieldDelegate {
public:
    static constexpr int kTagOld = 1, kTagNew = 2, kTagConfirm = 3;

    ChangePassView();
    ~ChangePassView() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    void onChangePass() { doChangePass(); }
    void onCancel() { slideOut(); }
    void keyboardWillHide();
    void textFieldDoneEditting(platform::ui::TextField& field);
    void clearText(int tag);
    void doChangePass();

    void didBeginEditing(platform::ui::TextField& field) override;
    bool shouldReturn(platform::ui::TextField& field) override;

    const std::shared_ptr<User>& userData() const { return userData_; }
    void setUserData(std::shared_ptr<User> user) { userData_ = std::move(user); }
    bool isModed() const { return isModed_; }
    const std::shared_ptr<platform::ui::TextField>& txtOldPass() const { return txtOldPass_; }
    const std::shared_ptr<platform::ui::TextField>& txtNewPass() const { return txtNewPass_; }
    const std::shared_ptr<platform::ui::TextField>& txtConfirmNewPass() const { return txtConfirmNewPass_; }

private:
    std::shared_ptr<platform::ui::Label> lblTitle_;
    std::shared_ptr<platform::ui::TextField> txtOldPass_, txtNewPass_, txtConfirmNewPass_;
    std::shared_ptr<User> userData_;
    bool isModed_ = false;
    platform::ui::Point oldOrigin_;
    platform::NotificationCenter::Token showToken_ = 0;
    platform::NotificationCenter::Token hideToken_ = 0;
};

} // namespace kavo
