#pragma once

#include "lobby/LoginSubForm.h"
#include "portal/IConnectOKListener.h"

#include <memory>

namespace kavo {

// The password-recovery form: a user name. It connects to the server that last
// accepted the client and asks the player to confirm the recovery
// (UIController::kActionRecoverPassword).
class LoginView_SubForgotPwdView : public LoginSubForm, public IConnectOKListener {
public:
    static constexpr const char* kForgetPasswordUsernameKey = "KAVO_FORGET_PASSWORD_USERNAME";
    static constexpr int kTagSend = 103;

    explicit LoginView_SubForgotPwdView(platform::ui::Rect frame = {});
    ~LoginView_SubForgotPwdView() override;

    void refreshScreen() override;
    // The send button (which Return in the field presses).
    void btnSend_Clicked();
    void onForgotPwd();
    // The clear button: empties the field and focuses it.
    void closeBtn_Clicked();
    // IConnectOKListener: nothing is sent on this road.
    void onConnectOK() override;

    const std::shared_ptr<platform::ui::TextField>& txfUsername() const { return txfUsername_; }
    const std::shared_ptr<platform::ui::Button>& btnSend() const { return btnSend_; }

protected:
    void buildControls() override;

private:
    std::shared_ptr<platform::ui::TextField> txfUsername_;
    std::shared_ptr<platform::ui::Button> btnSend_;
};

} // namespace kavo
