#include "lobby/LoginView.h"

#include "app/MailboxReadAhead.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/LoginView_SubForgotPwdView.h"
#include "lobby/LoginView_SubLoginView.h"
#include "lobby/LoginView_SubRegisterView.h"
#include "lobby/ServerView.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Image.h"
#include "portal/GlobalService.h"

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::Rect;
using platform::ui::TextAlignment;

namespace {

std::shared_ptr<platform::ui::Label> makeLabel(Rect frame, double size, bool bold, Color color, TextAlignment alignment,
                                               const std::string& identifier) {
    auto label = platform::ui::Label::make(frame);
    const double points = size * Util::iPad();
    label->setFont(bold ? Font::boldSystem(points) : Font::system(points));
    label->setTextColor(color);
    label->setTextAlignment(alignment);
    label->setBackgroundColor(Color::clear());
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(8);
    label->setAccessibilityIdentifier(identifier);
    return label;
}

// A wide button with a picture behind a label that carries its text.
std::shared_ptr<platform::ui::Button> makeTextButton(Rect frame, const platform::ui::ImagePtr& background,
                                                     const std::shared_ptr<platform::ui::Label>& label,
                                                     const std::string& identifier) {
    auto button = platform::ui::Button::make(frame);
    button->setBackgroundImage(background);
    button->setAccessibilityIdentifier(identifier);
    label->setFrame(Rect{{0, 0}, frame.size});
    button->addSubview(label);
    return button;
}

std::string languageButtonImage(bool vietnamese) {
    return vietnamese ? "tiengviet.png" : "tienganh.png";
}

} // namespace

LoginView::LoginView() = default;

LoginView::~LoginView() {
    if (setUpTimer_) setUpTimer_->invalidate();
    if (GlobalService::getInstance().getConnectOKListener() == this)
        GlobalService::getInstance().setConnectOKListener(nullptr);
}

Rect LoginView::formFrame() {
    return Util::isPad() ? Rect{0, 0, 1024, 768} : Rect{0, 0, 480, 320};
}

// ---------------------------------------------------------------- layout

void LoginView::layoutForPhone() {
    buildLayout();
}

void LoginView::layoutForTablet() {
    buildLayout();
}

void LoginView::buildLayout() {
    const auto& root = view();
    root->setBackgroundColor(Color::clear());

    imgLogo_ = platform::ui::ImageView::make(scaled({176, 12, 128, 56}));
    imgLogo_->setImage(Util::getImageWithName("kavo.png"));
    root->addSubview(imgLogo_);

    lblUseNURO_ = makeLabel(scaled({40, 76, 400, 24}), 15, true, Color::white(), TextAlignment::Center, "lblUseNURO");
    root->addSubview(lblUseNURO_);

    const auto buttonPicture = Util::getImageWithName("t_img_btnDangKy_DangNhap.png");
    lblSignIn_ = makeLabel({}, 16, true, Color::white(), TextAlignment::Center, "lblSignIn");
    btnSignIn_ = makeTextButton(scaled({70, 106, 160, 42}), buttonPicture, lblSignIn_, "btnSignIn_Clicked");
    btnSignIn_->onTouchUpInside([this] { btnSignIn_Clicked(); });
    root->addSubview(btnSignIn_);

    lblSignUp_ = makeLabel({}, 16, true, Color::white(), TextAlignment::Center, "lblSignUp");
    btnRegister_ = makeTextButton(scaled({250, 106, 160, 42}), buttonPicture, lblSignUp_, "btnRegister_Clicked");
    btnRegister_->onTouchUpInside([this] { btnRegister_Clicked(); });
    root->addSubview(btnRegister_);

    // The recovery and hotline labels answer touches (touchesBegan).
    lblForgetPassword_ =
        makeLabel(scaled({70, 154, 160, 20}), 13, false, Color::yellow(), TextAlignment::Center, "lblForgetPassword");
    lblForgetPassword_->setUserInteractionEnabled(true);
    root->addSubview(lblForgetPassword_);
    lblIDNURO_ =
        makeLabel(scaled({250, 154, 160, 20}), 12, false, Color::lightGray(), TextAlignment::Center, "lblIDNURO");
    root->addSubview(lblIDNURO_);

    lblOR_ = makeLabel(scaled({190, 180, 100, 20}), 13, true, Color::white(), TextAlignment::Center, "lblOR");
    root->addSubview(lblOR_);

    lblSocialNet_ = makeLabel({}, 14, true, Color::white(), TextAlignment::Center, "lblSocialNet");
    btnLoginSN_ = makeTextButton(
        scaled({140, 204, 200, 40}),
        platform::ui::Image::filled(int(200 * Util::iPadX()), int(40 * Util::iPadY()), Color::rgba(59, 89, 152)),
        lblSocialNet_, "btnLoginSN");
    lblSocialNet_->setFrame(scaled({36, 0, 160, 40}));
    auto snIcon = platform::ui::ImageView::make(scaled({6, 5, 30, 30}));
    snIcon->setImage(Util::getImageWithName("i_img_menu_socialnetwork.png"));
    btnLoginSN_->addSubview(snIcon);
    btnLoginSN_->onTouchUpInside([this] { clickLoginSN(); });
    root->addSubview(btnLoginSN_);

    lblLanguage_ = makeLabel(scaled({6, 288, 94, 22}), 12, false, Color::white(), TextAlignment::Right, "lblLanguage");
    root->addSubview(lblLanguage_);
    btnChangeLanguage_ = platform::ui::Button::make(scaled({104, 286, 40, 26}));
    btnChangeLanguage_->setAccessibilityIdentifier("btnChangeLanguage");
    btnChangeLanguage_->setBackgroundImage(Util::getImageWithName(languageButtonImage(Util::isVN())));
    btnChangeLanguage_->onTouchUpInside([this] { doChangeLanguage(); });
    root->addSubview(btnChangeLanguage_);
    lblCallSupport_ =
        makeLabel(scaled({150, 288, 190, 22}), 12, false, Color::white(), TextAlignment::Center, "lblCallSupport");
    lblCallSupport_->setUserInteractionEnabled(true);
    root->addSubview(lblCallSupport_);
    lblVersion_ =
        makeLabel(scaled({345, 288, 129, 22}), 11, false, Color::lightGray(), TextAlignment::Right, "lblVersion");
    root->addSubview(lblVersion_);
}

// ---------------------------------------------------------------- life cycle

void LoginView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    // The first texts come on a later turn of the run loop, never inside viewDidLoad.
    std::weak_ptr<ViewController> weak = weak_from_this();
    setUpTimer_ = platform::Timer::scheduled(0.00001, false, [weak] {
        if (auto screen = std::dynamic_pointer_cast<LoginView>(weak.lock())) screen->setUIScreen();
    });
}

void LoginView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    Resources::getInstance().setImgFont(Util::getImageWithName("font_kavo.png"));
    // The player who signed in last is the likely one: his stored mailbox is read while he
    // fills the form and picks the server.
    MailboxReadAhead::shared().startForRemembered();
}

void LoginView::setUIScreen() {
    Resources::getInstance().loadLanguage();
    setTexts(text("KAVO_ForgotPwd") + " ???");
    btnChangeLanguage_->setBackgroundImage(Util::getImageWithName(languageButtonImage(Util::isVN())));
    screenSet_ = true;
}

void LoginView::changeLanguage() {
    Resources::getInstance().loadLanguage();
    setTexts(text("KAVO_ForgotPwd"));
}

void LoginView::setTexts(const std::string& forgotPasswordText) {
    const Resources& resources = Resources::getInstance();
    lblSocialNet_->setText(text("KAVO_LogInWithSocialNet"));
    lblForgetPassword_->setText(forgotPasswordText);
    lblIDNURO_->setText(text("KAVO_WhatIsNUROID"));
    lblVersion_->setText(text("KAVO_Version") + ": " + GlobalService::VERSION());
    lblLanguage_->setText(text("KAVO_LanguageLoginScreen"));
    lblSignIn_->setText(text("KAVO_login"));
    lblSignUp_->setText(text("KAVO_register"));
    lblCallSupport_->setText(text("KAVO_LoginScreen_CallSupport") + " " + resources.configString("Hotline"));
    lblUseNURO_->setText(text("KAVO_UseNUROID"));
    lblOR_->setText(platform::toUpper(text("KAVO_Text_OR")));
}

// ---------------------------------------------------------------- the ways in

void LoginView::btnSignIn_Clicked() {
    kindOfView_ = kKindLogin;
    if (!logSubLoginView_) {
        logSubLoginView_ = std::make_shared<LoginView_SubLoginView>(formFrame());
        logSubLoginView_->setBackgroundColor(Color::clear());
    }
    logSubLoginView_->setUIScreen();
    view()->addSubview(logSubLoginView_);
}

void LoginView::btnRegister_Clicked() {
    isRegisterWithSN_ = false;
    if (!logSubRegisterView_) {
        logSubRegisterView_ = std::make_shared<LoginView_SubRegisterView>(formFrame());
        logSubRegisterView_->setBackgroundColor(Color::clear());
    }
    logSubRegisterView_->setUIScreen();
    view()->addSubview(logSubRegisterView_);
}

void LoginView::showForgotPwd() {
    if (!logSubForgotPwdView_) {
        logSubForgotPwdView_ = std::make_shared<LoginView_SubForgotPwdView>();
        logSubForgotPwdView_->setFrame(formFrame());
    }
    logSubForgotPwdView_->setUIScreen();
    view()->addSubview(logSubForgotPwdView_);
}

void LoginView::setUserNameAndPasswordFromCache(const std::string& registeredName) {
    if (logSubRegisterView_) logSubRegisterView_->doCloseThisView();
    btnSignIn_Clicked();
    logSubLoginView_->fillAccount(registeredName,
                                  platform::UserDefaults::standard().stringForKey(GlobalService::kRegisterPasswordKey));
}

void LoginView::clickLoginSN() {
    kindOfView_ = kKindSocialNet;
    auto sheet = ServerView::getInstance();
    view()->addSubview(sheet->view());
    sheet->viewDidAppear(true);
}

void LoginView::acceptForgotPassword(const std::string& username) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(username, LoginView_SubForgotPwdView::kForgetPasswordUsernameKey);
    defaults.synchronize();
    UIController::startCancelOkDlg(text("KAVO_confirmGetPassword"), text("KAVO_no"), text("KAVO_yes"),
                                   {UIController::kActionRecoverPassword});
}

void LoginView::waitForRecoveryAnswer() {
    if (!logSubForgotPwdView_ || !logSubForgotPwdView_->superview()) return;
    Util::showLoadingOnView(logSubForgotPwdView_);
    Util::boundLoadingOnView(logSubForgotPwdView_);
}

void LoginView::endRecoveryWait() {
    if (logSubForgotPwdView_) Util::hideLoadingOnView(logSubForgotPwdView_);
}

void LoginView::onConnectOK() {
    GlobalService::getInstance().getInfoWithKey(8);
}

// ---------------------------------------------------------------- language and hotline

void LoginView::doChangeLanguage() {
    Resources& resources = Resources::getInstance();
    const bool wasVietnamese = resources.currentLanguage() == "vi";
    const std::string code = wasVietnamese ? "en" : "vi";
    btnChangeLanguage_->setBackgroundImage(Util::getImageWithName(languageButtonImage(!wasVietnamese)));
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(code, kLanguageKey);
    defaults.synchronize();
    resources.setCurrentLanguage(code);
    std::weak_ptr<ViewController> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        if (auto screen = std::dynamic_pointer_cast<LoginView>(weak.lock())) screen->changeLanguage();
    });
}

void LoginView::callSupport() {
    const std::string hotline = Resources::getInstance().configString("Hotline");
    if (Util::isPad()) {
        UIController::showNotice(text("KAVO_callHelp") + " " + hotline);
    } else {
        UIController::callHotline(hotline);
    }
}

void LoginView::touchesBegan(const std::vector<platform::ui::Touch>& touches) {
    if (touches.empty()) return;
    const platform::ui::View* touched = touches.front().view;
    if (touched && touched == lblCallSupport_.get()) {
        callSupport();
    } else if (touched && touched == lblForgetPassword_.get()) {
        showForgotPwd();
    }
}

// ---------------------------------------------------------------- animation helpers

void LoginView::doFlipAnimationWithView(const platform::ui::ViewPtr& flipped, double seconds,
                                        const std::shared_ptr<platform::ui::Button>& button) {
    Resources::getInstance().loadLanguage();
    platform::ui::View::beginAnimations("LeftFlip");
    platform::ui::View::setAnimationDuration(seconds);
    platform::ui::View::setAnimationCurve(platform::ui::AnimationCurve::EaseOut);
    platform::ui::View::setAnimationTransition(platform::ui::TransitionOptions::FlipFromLeft, flipped.get());
    platform::ui::View::commitAnimations();
    selectedBtn_ = button;
}

void LoginView::setViewProperties(platform::ui::View& target, platform::ui::Point center, platform::ui::Size size) {
    target.setFrame(Rect{0, 0, size.width / 2, size.height / 2});
    target.setCenter(center);
}

} // namespace kavo
