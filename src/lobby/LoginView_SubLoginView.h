#pragma once

#include "lobby/LoginSubForm.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Switch.h"

#include <memory>

namespace kavo {

// The log-in form: user name, password and the remember switch. It remembers the
// credentials in the user defaults and opens the server choice, whose pick connects
// and signs in with them.
class LoginView_SubLoginView : public LoginSubForm {
public:
    static constexpr const char* kUnameKey = "uname";
    static constexpr const char* kPasswordKey = "password";
    static constexpr const char* kSavedNextLoginKey = "savednextLogin";
    static constexpr const char* kFirstTimeRunKey = "firstTimeRun";
    static constexpr int kTagNick = 103;
    static constexpr int kTagPwd = 104;
    static constexpr int kTagAutoLogin = 105;
    static constexpr int kTagSignIn = 106;
    static constexpr int kLoginTicks = 10;

    explicit LoginView_SubLoginView(platform::ui::Rect frame);
    ~LoginView_SubLoginView() override;

    void refreshScreen() override;
    // The main button (which Return in the password presses).
    void doLogin();
    void onLogin();
    // The clear buttons: tag 1 the user name, tag 2 the password; then savedInfos.
    void btnClose_Clicked(int tag);
    void switchChanged();
    // Stores the typed credentials and the switch (the fields are emptied on screen
    // when the switch is off).
    void savedInfos();
    // Shows that account in the fields, in place of what they held (a registration's new
    // account, which the server's answer has already made the remembered one).
    void fillAccount(const std::string& name, const std::string& password);
    void setTimeCount();
    // Empty: kept for the screen's callers.
    void textFieldDidBeginEditing() {}

    const std::shared_ptr<platform::ui::TextField>& txfUsername() const { return txfUsername_; }
    const std::shared_ptr<platform::ui::TextField>& txfPassword() const { return txfPassword_; }
    const std::shared_ptr<platform::ui::Switch>& switchAutoLogin() const { return switchAutoLogin_; }
    const std::shared_ptr<platform::ui::Button>& btnSignIn() const { return btnSignIn_; }
    int timerCount() const { return timerCount_; }
    bool isLoginTimerRunning() const { return bool(timerLogin_); }

    // TextFieldDelegate: return moves on (user name) or logs in (password).
    bool shouldReturn(platform::ui::TextField& field) override;

protected:
    void buildControls() override;
    void didOpen() override;
    double keyboardLift() const override;
    bool animatesRaise() const override;

private:
    void stopLoginTimer();

    std::shared_ptr<platform::ui::TextField> txfUsername_;
    std::shared_ptr<platform::ui::TextField> txfPassword_;
    std::shared_ptr<platform::ui::Switch> switchAutoLogin_;
    std::shared_ptr<platform::ui::Button> btnSignIn_;
    std::shared_ptr<platform::Timer> timerLogin_;
    int timerCount_ = 0;
};

} // namespace kavo
