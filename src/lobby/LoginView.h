#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "portal/IConnectOKListener.h"

#include <memory>
#include <string>

namespace kavo {

class LoginView_SubForgotPwdView;
class LoginView_SubLoginView;
class LoginView_SubRegisterView;

// The first screen and the root of the navigation stack: the ways in (log-in with user
// name and password, registration, password recovery, the social network), the
// language switch, the support hotline and the version. The forms are views it adds
// over itself, made on first use and kept; the server choice is added over it for the
// social-network log-in. It records which way in was taken (kindOfView), which the
// server choice reads to decide how to sign in. Main thread only.
class LoginView : public KavoViewController, public IConnectOKListener {
public:
    // kindOfView: the log-in form was opened / the social-network log-in started.
    static constexpr int kKindLogin = 201;
    static constexpr int kKindSocialNet = 204;
    static constexpr const char* kLanguageKey = "language";

    LoginView();
    ~LoginView() override;

    int kindOfView() const { return kindOfView_; }
    void setKindOfView(int kind) { kindOfView_ = kind; }
    bool isRegisterWithSN() const { return isRegisterWithSN_; }
    void setIsRegisterWithSN(bool value) { isRegisterWithSN_ = value; }

    // ---- life cycle
    void layoutForPhone() override;
    void layoutForTablet() override;
    // Schedules the first setUIScreen for a later run-loop turn.
    void viewDidLoad() override;
    // The log-in form is the way in and out: no back button.
    bool hidesBackButton() const override { return true; }
    // Gives the resources the bitmap font's picture.
    void viewDidAppear(bool animated) override;
    // True once the first setUIScreen has run.
    bool isScreenSet() const { return screenSet_; }

    // ---- texts
    // Loads the language table and sets every text and the language button's picture.
    void setUIScreen();
    // The same texts in the new language (the recovery label without " ???").
    void changeLanguage();

    // ---- actions
    void btnSignIn_Clicked();
    void btnRegister_Clicked();
    void clickLoginSN();
    void doChangeLanguage();
    void showForgotPwd();
    // The hotline label: a notice on a tablet, a call on a phone.
    void callSupport();
    // Stores the name for the recovery and asks to confirm it (action code 8).
    void acceptForgotPassword(const std::string& username);
    // The recovery form waits for the server's recovery text under a spinner that gives up
    // after the usual bound, and the answer ends the wait.
    void waitForRecoveryAnswer();
    void endRecoveryWait();
    void clickLoginGameCenter() {}
    void onSaveLogin() {}
    // Asks for information text 8.
    void onConnectOK() override;
    // A registration the server opened: the sign-in form shows in place of the registration
    // form, filled with the new account (its name, and the password the registration
    // stored), so the player sees he has it and signs in with the form's button.
    void setUserNameAndPasswordFromCache(const std::string& registeredName);
    // Kept for the logic handler and the forms; they do nothing.
    void onForgotPassword() {}
    void hideLoading() {}
    void login() {}
    void savedInfos() {}
    void onLoginSN() {}

    // Flips `view` from the left over `seconds` and remembers the button.
    void doFlipAnimationWithView(const platform::ui::ViewPtr& view, double seconds,
                                 const std::shared_ptr<platform::ui::Button>& button);
    // A frame of half the size at the origin, then centred on the point.
    static void setViewProperties(platform::ui::View& view, platform::ui::Point center, platform::ui::Size size);

    // A touch on the hotline or the recovery label.
    void touchesBegan(const std::vector<platform::ui::Touch>& touches) override;

    // ---- the forms (nullptr until first opened)
    const std::shared_ptr<LoginView_SubLoginView>& logSubLoginView() const { return logSubLoginView_; }
    const std::shared_ptr<LoginView_SubRegisterView>& logSubRegisterView() const { return logSubRegisterView_; }
    const std::shared_ptr<LoginView_SubForgotPwdView>& logSubForgotPwdView() const { return logSubForgotPwdView_; }

    // ---- controls
    const std::shared_ptr<platform::ui::Label>& lblForgetPassword() const { return lblForgetPassword_; }
    const std::shared_ptr<platform::ui::Label>& lblCallSupport() const { return lblCallSupport_; }
    const std::shared_ptr<platform::ui::Label>& lblVersion() const { return lblVersion_; }
    const std::shared_ptr<platform::ui::Label>& lblSignIn() const { return lblSignIn_; }
    const std::shared_ptr<platform::ui::Button>& btnChangeLanguage() const { return btnChangeLanguage_; }

private:
    void buildLayout();
    // The texts both setUIScreen and changeLanguage set.
    void setTexts(const std::string& forgotPasswordText);
    // The full-screen frame the forms take.
    static platform::ui::Rect formFrame();

    int kindOfView_ = 0;
    bool isRegisterWithSN_ = false;
    bool screenSet_ = false;
    std::shared_ptr<LoginView_SubLoginView> logSubLoginView_;
    std::shared_ptr<LoginView_SubRegisterView> logSubRegisterView_;
    std::shared_ptr<LoginView_SubForgotPwdView> logSubForgotPwdView_;

    std::shared_ptr<platform::ui::ImageView> imgLogo_;
    std::shared_ptr<platform::ui::Label> lblIDNURO_;
    std::shared_ptr<platform::ui::Label> lblForgetPassword_;
    std::shared_ptr<platform::ui::Label> lblSocialNet_;
    std::shared_ptr<platform::ui::Label> lblSignIn_;
    std::shared_ptr<platform::ui::Label> lblSignUp_;
    std::shared_ptr<platform::ui::Label> lblVersion_;
    std::shared_ptr<platform::ui::Label> lblOR_;
    std::shared_ptr<platform::ui::Label> lblLanguage_;
    std::shared_ptr<platform::ui::Label> lblUseNURO_;
    std::shared_ptr<platform::ui::Label> lblCallSupport_;
    std::shared_ptr<platform::ui::Button> btnChangeLanguage_;
    std::shared_ptr<platform::ui::Button> btnLoginSN_;
    std::shared_ptr<platform::ui::Button> btnSignIn_;
    std::shared_ptr<platform::ui::Button> btnRegister_;
    std::shared_ptr<platform::ui::Button> selectedBtn_;
    std::shared_ptr<platform::Timer> setUpTimer_;
};

} // namespace kavo
