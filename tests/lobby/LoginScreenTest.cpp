// The log-in screen and its three forms, and the sign-in answers that reach them.
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/LoginView.h"
#include "lobby/LoginView_SubForgotPwdView.h"
#include "lobby/LoginView_SubLoginView.h"
#include "lobby/LoginView_SubRegisterView.h"
#include "lobby/ServerView.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Image.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalService.h"
#include "tests/support/Sockets.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <any>
#include <functional>
#include <string>
#include <vector>

using namespace kavo;
using namespace kavo::test;

namespace {

class LoginScreen : public ClientFixture {
protected:
    std::shared_ptr<LoginView> login() {
        return std::dynamic_pointer_cast<LoginView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    // Launched, with the first texts set.
    std::shared_ptr<LoginView> ready() {
        launch();
        advance(0.1);
        return login();
    }
    static std::string shownAlert() {
        auto alerts = platform::ui::AlertView::visibleAlerts();
        return alerts.empty() ? std::string() : alerts.back()->message();
    }
    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
};

TEST_F(LoginScreen, TheFirstTextsComeOnALaterTurnOfTheRunLoopNotInsideTheLoad) {
    launch();
    auto screen = login();
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen->isScreenSet());
    EXPECT_EQ(screen->lblSignIn()->text(), "");
    advance(0.001);
    EXPECT_TRUE(screen->isScreenSet());
    EXPECT_EQ(screen->lblSignIn()->text(), text("KAVO_login"));
    EXPECT_EQ(screen->lblForgetPassword()->text(), text("KAVO_ForgotPwd") + " ???");
    EXPECT_EQ(screen->lblVersion()->text(), text("KAVO_Version") + ": " + GlobalService::VERSION());
    EXPECT_EQ(screen->lblCallSupport()->text(), text("KAVO_LoginScreen_CallSupport") + " 19001234");
}

TEST_F(LoginScreen, AfterALanguageChangeTheRecoveryLabelShowsThePlainText) {
    auto screen = ready();
    screen->changeLanguage();
    EXPECT_EQ(screen->lblForgetPassword()->text(), text("KAVO_ForgotPwd"));
}

TEST_F(LoginScreen, EachFormIsMadeOnceAndReusedWithItsControlsBuiltOnce) {
    auto screen = ready();
    screen->btnSignIn_Clicked();
    auto form = screen->logSubLoginView();
    ASSERT_TRUE(form);
    const size_t controls = form->mainView()->subviews().size();
    form->doCloseThisView();
    screen->btnSignIn_Clicked();
    EXPECT_EQ(screen->logSubLoginView(), form);
    EXPECT_EQ(form->mainView()->subviews().size(), controls) << "opening again builds nothing new";
    EXPECT_EQ(screen->kindOfView(), LoginView::kKindLogin);

    screen->btnRegister_Clicked();
    auto registration = screen->logSubRegisterView();
    screen->btnRegister_Clicked();
    EXPECT_EQ(screen->logSubRegisterView(), registration);
    EXPECT_FALSE(screen->isRegisterWithSN());
}

TEST_F(LoginScreen, ANewInstallationOpensTheLogInFormWithTheRememberSwitchOn) {
    auto screen = ready();
    screen->btnSignIn_Clicked();
    auto form = screen->logSubLoginView();
    EXPECT_TRUE(form->switchAutoLogin()->isOn());
    EXPECT_TRUE(defaults().boolForKey("firstTimeRun"));
    EXPECT_TRUE(defaults().boolForKey("savednextLogin"));
}

// The switch remembers the name and password and fills them in; it does not sign in by itself.
TEST_F(LoginScreen, TheRememberSwitchIsCaptionedForWhatItDoesInEachLanguage) {
    const struct {
        const char* language;
        const char* caption;
    } cases[] = {{"vi", "Ghi nhớ đăng nhập"}, {"en", "Remember me"}};
    for (const auto& c : cases) {
        Resources::getInstance().setCurrentLanguage(c.language);
        Resources::getInstance().loadLanguage();
        EXPECT_EQ(text("KAVO_AutoLogin"), c.caption) << c.language;
    }
    auto screen = ready();
    EXPECT_TRUE(drives("advance 0.1\ntap id=btnSignIn_Clicked\nexpect text=Remember me\n"));
}

// The captions of the sign-in and the registration form read at one size in each
// language: the size at which the longest fits, never the short "MẬT KHẨU" twice as large
// as "TÊN ĐĂNG NHẬP".
TEST_F(LoginScreen, EachFormsCaptionsReadAtOneSizeInEachLanguage) {
    struct Form {
        const char* name;
        std::function<LoginSubForm*(LoginView&)> open;
        std::vector<int> captions;
    };
    const Form forms[] = {{"sign in",
                           [](LoginView& s) {
                               s.btnSignIn_Clicked();
                               return static_cast<LoginSubForm*>(s.logSubLoginView().get());
                           },
                           {LoginView_SubLoginView::kTagNick, LoginView_SubLoginView::kTagPwd}},
                          {"register",
                           [](LoginView& s) {
                               s.btnRegister_Clicked();
                               return static_cast<LoginSubForm*>(s.logSubRegisterView().get());
                           },
                           {LoginView_SubRegisterView::kTagNick, LoginView_SubRegisterView::kTagPwd,
                            LoginView_SubRegisterView::kTagRetype}}};
    auto screen = ready();
    for (const Form& f : forms) {
        for (const char* language : {"vi", "en", "vi"}) {
            SCOPED_TRACE(std::string(f.name) + " " + language);
            Resources::getInstance().setCurrentLanguage(language);
            LoginSubForm* form = f.open(*screen);
            ASSERT_TRUE(form);
            std::vector<double> sizes;
            for (const int tag : f.captions) {
                const auto* caption = dynamic_cast<const platform::ui::Label*>(form->mainView()->viewWithTag(tag));
                ASSERT_TRUE(caption) << tag;
                sizes.push_back(caption->fittedFont().size());
            }
            EXPECT_EQ(sizes, std::vector<double>(sizes.size(), sizes[0]));
            form->doCloseThisView();
        }
    }
}

// Each form's main button ("ĐĂNG NHẬP", "ĐĂNG KÝ", "GỬI" and their English) draws its title
// on the picture's red face, off its rounded rim (a fifth of its height from each side), on
// the phone and the tablet, in each language.
TEST_F(LoginScreen, EachFormsMainButtonTitleStaysOnTheButtonsFace) {
    for (const auto idiom : {platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet}) {
        platform::ui::Screen::setIdiom(idiom);
        auto screen = ready();
        for (const char* language : {"vi", "en"}) {
            Resources::getInstance().setCurrentLanguage(language);
            screen->btnSignIn_Clicked();
            screen->btnRegister_Clicked();
            screen->showForgotPwd();
            for (const LoginSubForm* form : {static_cast<const LoginSubForm*>(screen->logSubLoginView().get()),
                                             static_cast<const LoginSubForm*>(screen->logSubRegisterView().get()),
                                             static_cast<const LoginSubForm*>(screen->logSubForgotPwdView().get())}) {
                const auto& button = form->defaultButton();
                ASSERT_TRUE(button);
                button->layoutIfNeeded();
                const auto& title = *button->titleLabel();
                SCOPED_TRACE(std::string(language) + " \"" + title.text() + "\"");
                const double rim = button->bounds().height() / 5;
                const platform::ui::Rect drawn = title.convertRect(title.bounds(), button.get());
                EXPECT_GE(drawn.minX(), rim);
                EXPECT_LE(drawn.maxX(), button->bounds().width() - rim);
                ASSERT_EQ(title.displayLines().size(), 1u);
                EXPECT_LE(title.fittedFont().measure(title.displayLines()[0]).width, drawn.width()) << "drawn whole";
            }
        }
        platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone);
    }
}

TEST_F(LoginScreen, RememberedCredentialsFillTheFormEachTimeItOpens) {
    defaults().setBool(true, "firstTimeRun");
    defaults().setBool(true, "savednextLogin");
    defaults().setString("an", "uname");
    defaults().setString("bimat", "password");
    auto screen = ready();
    screen->btnSignIn_Clicked();
    auto form = screen->logSubLoginView();
    EXPECT_EQ(form->txfUsername()->text(), "an");
    EXPECT_EQ(form->txfPassword()->text(), "bimat");
    form->txfUsername()->setText("other");
    form->doCloseThisView();
    screen->btnSignIn_Clicked();
    EXPECT_EQ(form->txfUsername()->text(), "an") << "the remembered name comes back";
}

TEST_F(LoginScreen, WithTheSwitchOffLogInStoresTheCredentialsEmptiesTheFieldsAndOpensTheServerChoice) {
    launch();
    ASSERT_TRUE(drives("advance 0.1\ntap id=btnSignIn_Clicked\ntap id=switchAutoLogin\n"
                       "type id=txfUsername an\ntype id=txfPassword bimat\ntap id=btnSignIn\n"
                       "wait text=" +
                       std::string(ClientWorld::kServerName) + "\n"));
    auto form = login()->logSubLoginView();
    EXPECT_EQ(form->txfUsername()->text(), "");
    EXPECT_EQ(form->txfPassword()->text(), "");
    EXPECT_EQ(defaults().stringForKey("uname"), "an");
    EXPECT_EQ(defaults().stringForKey("password"), "bimat");
    EXPECT_FALSE(defaults().boolForKey("savednextLogin"));
    EXPECT_EQ(ServerView::getInstance()->view()->superview(), form.get());
    EXPECT_TRUE(form->isLoginTimerRunning());
    advance(10);
    EXPECT_FALSE(form->isLoginTimerRunning()) << "the log-in timer ends after ten ticks";
}

TEST_F(LoginScreen, ClearingThePasswordAlsoClearsTheStoredPassword) {
    defaults().setString("an", "uname");
    defaults().setString("bimat", "password");
    launch();
    ASSERT_TRUE(drives("advance 0.1\ntap id=btnSignIn_Clicked\ntap id=btnClose_Clicked#2\n"));
    EXPECT_EQ(defaults().stringForKey("password"), "");
    EXPECT_EQ(defaults().stringForKey("uname"), "an");
    EXPECT_TRUE(login()->logSubLoginView()->txfPassword()->isFirstResponder());
}

TEST_F(LoginScreen, EmptyFieldsShowTheWarningAndOpenNoServerChoice) {
    launch();
    ASSERT_TRUE(drives("advance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername an\ntap id=btnSignIn\n"
                       "wait text=" +
                       text("KAVO_LottoGeneralWarning") + "\n"));
    EXPECT_EQ(openDialogCode(), -1);
    EXPECT_FALSE(ServerView::getInstance()->isViewLoaded() && ServerView::getInstance()->view()->superview());
}

TEST_F(LoginScreen, TheKeyboardRaisesThePanelOnceAndLowersItAgain) {
    auto screen = ready();
    screen->btnSignIn_Clicked();
    auto form = screen->logSubLoginView();
    const double restY = form->mainView()->center().y;
    auto& center = platform::NotificationCenter::defaultCenter();
    center.post(platform::ui::Keyboard::WillShowNotification);
    center.post(platform::ui::Keyboard::WillShowNotification);
    EXPECT_TRUE(form->isEdit());
    EXPECT_DOUBLE_EQ(form->mainView()->center().y, restY - 80) << "raised once, at once on the phone";
    center.post(platform::ui::Keyboard::WillHideNotification);
    advance(0.6);
    EXPECT_FALSE(form->isEdit());
    EXPECT_DOUBLE_EQ(form->mainView()->center().y, restY);

    // Closing a raised form lowers it at once, so it opens at rest next time.
    center.post(platform::ui::Keyboard::WillShowNotification);
    form->doCloseThisView();
    EXPECT_DOUBLE_EQ(form->mainView()->center().y, restY);
    EXPECT_EQ(form->superview(), nullptr);
}

TEST_F(LoginScreen, AFormThatIsNotShownStaysInPlaceWhenTheKeyboardComes) {
    auto screen = ready();
    screen->btnSignIn_Clicked();
    auto form = screen->logSubLoginView();
    const double restY = form->mainView()->center().y;
    form->doCloseThisView();
    screen->btnRegister_Clicked();
    platform::NotificationCenter::defaultCenter().post(platform::ui::Keyboard::WillShowNotification);
    EXPECT_DOUBLE_EQ(form->mainView()->center().y, restY);
    EXPECT_TRUE(screen->logSubRegisterView()->isEdit());
}

TEST_F(LoginScreen, TheNameAndPasswordCaptionsEndBeforeTheirFieldsOnBothForms) {
    auto screen = ready();
    screen->btnSignIn_Clicked();
    screen->btnRegister_Clicked();
    for (const platform::ui::ViewPtr& panel :
         {screen->logSubLoginView()->mainView(), screen->logSubRegisterView()->mainView()}) {
        // The fields start at x 108: a caption that ran on under its field was cut there.
        for (auto [tag, y] : {std::pair{103, 114.0}, std::pair{104, 148.0}}) {
            platform::ui::View* caption = panel->viewWithTag(tag);
            ASSERT_TRUE(caption);
            EXPECT_EQ(caption->frame(), platform::ui::Rect(12, y, 92, 34)) << "caption " << tag;
        }
    }
}

class FormsWithoutServer : public LoginScreen {
protected:
    // Registration and recovery connect by themselves: the two servers are local
    // listeners that never accept, so nothing answers and nothing leaves this machine.
    void SetUp() override {
        LoginScreen::SetUp();
        first_ = listenOnLoopback(firstPort_);
        second_ = listenOnLoopback(secondPort_);
        storeServerList("First|127.0.0.1:" + std::to_string(firstPort_) +
                        ";Second|127.0.0.1:" + std::to_string(secondPort_));
    }

    uint16_t firstPort_ = 0;
    uint16_t secondPort_ = 0;
    Fd first_;
    Fd second_;
};

TEST_F(FormsWithoutServer, RegistrationRefusesAnEmptyNameAndDifferentPasswords) {
    launch();
    ASSERT_TRUE(drives("advance 0.1\ntap id=btnRegister_Clicked\ntype id=txfPassword a\ntap id=btnRegister\n"
                       "wait text=" +
                       text("KAVO_InputInfo") + "\ntap text=" + text("KAVO_OK") + "\n" +
                       "type id=txfUsername moi\ntype id=txfRetypePwd b\ntap id=btnRegister\n"
                       "wait text=" +
                       text("KAVO_RetypePassInvalid") + "\ntap text=" + text("KAVO_OK") + "\n"));
    EXPECT_NE(GlobalService::PORT(), int(firstPort_)) << "nothing connected";
    EXPECT_EQ(GlobalService::getInstance().getConnectOKListener(), nullptr);
}

TEST_F(FormsWithoutServer, RegistrationWithTwoEmptyPasswordsGoesToTheFirstServer) {
    auto screen = ready();
    screen->btnRegister_Clicked();
    auto form = screen->logSubRegisterView();
    form->txfUsername()->setText("moi");
    form->onRegister();
    EXPECT_EQ(GlobalService::IP(), "127.0.0.1");
    EXPECT_EQ(GlobalService::PORT(), int(firstPort_));
    EXPECT_EQ(form->listServers().size(), 2u);
    GlobalService::getInstance().setConnectOKListener(nullptr);
}

TEST_F(FormsWithoutServer, RecoveryGoesToTheServerThatLastAcceptedTheClient) {
    defaults().setString("127.0.0.1", "ipServer");
    defaults().setInt(secondPort_, "portServer");
    auto screen = ready();
    screen->showForgotPwd();
    auto form = screen->logSubForgotPwdView();
    form->txfUsername()->setText("an");
    form->onForgotPwd();
    EXPECT_EQ(GlobalService::IP(), "127.0.0.1");
    EXPECT_EQ(GlobalService::PORT(), int(secondPort_));
    EXPECT_EQ(openDialogCode(), UIController::kActionRecoverPassword);
    EXPECT_EQ(shownAlert(), text("KAVO_confirmGetPassword"));
    GlobalService::getInstance().setConnectOKListener(nullptr);
}

TEST_F(FormsWithoutServer, RecoveryWithoutANameOnlyWarns) {
    auto screen = ready();
    screen->showForgotPwd();
    screen->logSubForgotPwdView()->onForgotPwd();
    advance(0.1);
    EXPECT_EQ(shownAlert(), text("KAVO_LottoGeneralWarning"));
    EXPECT_EQ(GlobalService::getInstance().getConnectOKListener(), nullptr);
}

TEST_F(LoginScreen, AcceptingARecoveryRemembersTheNameAndAsksWithCode8) {
    auto screen = ready();
    screen->acceptForgotPassword("an");
    EXPECT_EQ(defaults().stringForKey("KAVO_FORGET_PASSWORD_USERNAME"), "an");
    EXPECT_EQ(openDialogCode(), 8);
}

// ---------------------------------------------------------------- sign-in answers

TEST_F(LoginScreen, AConnectFailureElsewhereReturnsToTheLogInScreenWithTheNotice) {
    auto screen = ready();
    KavoOnlineAppDelegate::getInstance().navigationController()->pushViewController(
        std::make_shared<KavoViewController>(), false);
    GlobalLogicHandler::getInstance().onConnectFail();
    advance(1);
    EXPECT_EQ(login(), screen);
    EXPECT_EQ(shownAlert(), text("KAVO_connectFail"));
}

TEST_F(LoginScreen, TheServerAskingForAnAccountOpensTheRegistrationBoundToTheSocialNetwork) {
    auto screen = ready();
    GlobalLogicHandler::getInstance().onCreateKavoAccount();
    advance(0.1);
    ASSERT_TRUE(screen->logSubRegisterView());
    EXPECT_EQ(screen->logSubRegisterView()->superview(), screen->view().get());
    EXPECT_TRUE(screen->isRegisterWithSN());
    EXPECT_EQ(shownAlert(), text("KAVO_loginSNSuccess"));
}

TEST_F(LoginScreen, ANewVersionNoticeKeepsTheAddressForTheDownloadButton) {
    ready();
    GlobalLogicHandler::getInstance().onVersionWithInfo("Phien ban moi", "kavo.example/tai");
    advance(0.1);
    EXPECT_EQ(openDialogCode(), 12);
    EXPECT_EQ(std::any_cast<std::string>(openDialogAction().context), "http://kavo.example/tai");
    EXPECT_EQ(shownAlert(), "Phien ban moi");
}

TEST(SmsSwitchInfo, TheLastVersionPieceDecides) {
    EXPECT_EQ(GlobalLogicHandler::smsSwitchFromInfo("1-1.0.0", "1.0.0"), true);
    EXPECT_EQ(GlobalLogicHandler::smsSwitchFromInfo("1-1.0.0;2-x;1-0.9", "1.0.0"), false);
    EXPECT_EQ(GlobalLogicHandler::smsSwitchFromInfo("1-0.9;1-1.0.0", "1.0.0"), true);
    EXPECT_EQ(GlobalLogicHandler::smsSwitchFromInfo("2-1.0.0;1", "1.0.0"), std::nullopt);
}

TEST_F(LoginScreen, AServerListUpdateWithoutAUsableEntryIsIgnored) {
    GlobalLogicHandler::updateServers("A|h:1");
    EXPECT_EQ(defaults().stringForKey("serverdata"), "A|h:1");
    GlobalLogicHandler::updateServers("");
    GlobalLogicHandler::updateServers("junk");
    EXPECT_EQ(defaults().stringForKey("serverdata"), "A|h:1");
}

// ---------------------------------------------------------------- pictures

class LoginScreenShots : public LoginScreen, public ::testing::WithParamInterface<platform::ui::Idiom> {};

TEST_P(LoginScreenShots, TheScreenAndTheLogInFormAreDrawnForThisDevice) {
    platform::ui::Screen::setIdiom(GetParam());
    const std::string device = GetParam() == platform::ui::Idiom::Tablet ? "tablet" : "phone";
    auto screen = ready();
    const std::string first = "login-" + device + ".png";
    ASSERT_TRUE(platform::render::Renderer::writeScreenshot(first));
    screen->btnSignIn_Clicked();
    advance(0.5);
    const std::string form = "login-form-" + device + ".png";
    ASSERT_TRUE(platform::render::Renderer::writeScreenshot(form));
    auto image = platform::ui::Image::fromFile(first);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), GetParam() == platform::ui::Idiom::Tablet ? 1024 : 480);
}

INSTANTIATE_TEST_SUITE_P(Devices, LoginScreenShots,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
