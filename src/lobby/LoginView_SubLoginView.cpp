#include "lobby/LoginView_SubLoginView.h"

#include "app/MailboxReadAhead.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/ServerView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::TextAlignment;

namespace {

platform::UserDefaults& defaults() {
    return platform::UserDefaults::standard();
}

} // namespace

LoginView_SubLoginView::LoginView_SubLoginView(platform::ui::Rect frame) : LoginSubForm(frame) {
    setAccessibilityIdentifier("logSubLoginView");
}

LoginView_SubLoginView::~LoginView_SubLoginView() {
    stopLoginTimer();
}

void LoginView_SubLoginView::buildControls() {
    addLabel(rect(90, 20, 157, 37), kTagTitle, Font::boldSystem(fontSize(18, 30)), Color::yellow(),
             TextAlignment::Center, "lblTitle");
    addSeparator(0, 60);
    auto instruction = addLabel(rect(12, 69, 321, 28), kTagInstruction, Font::boldSystem(fontSize(10, 20)),
                                kInstructionColor, TextAlignment::Left, "lblInstruction");
    instruction->setNumberOfLines(3);
    addSeparator(10, 105);

    const Font caption = Font::boldSystem(fontSize(15, 30));
    addLabel(rect(12, 114, 92, 34), kTagNick, caption, Color::white(), TextAlignment::Left, "lblNick");
    txfUsername_ = addField(rect(108, 114, 216, 34), rect(108, 116, 182, 30), fontSize(15, 28), "txfUsername");
    txfUsername_->setReturnKeyType(platform::ui::ReturnKeyType::Next);
    // A name typed that is not the remembered player's: what is read ahead for him is
    // dropped at once (a read under way stops), and read again if his name comes back.
    txfUsername_->addTarget(platform::ui::ControlEvent::EditingDidEnd,
                            [this] { MailboxReadAhead::shared().startFor(txfUsername_->text()); });
    addImageButton(rect(290, 117, 29, 27), "close_button", 1, "btnClose_Clicked", [this] { btnClose_Clicked(1); });

    addLabel(rect(12, 148, 92, 34), kTagPwd, caption, Color::white(), TextAlignment::Left, "lblPwd");
    txfPassword_ = addField(rect(108, 148, 216, 34), rect(108, 152, 182, 30), fontSize(15, 28), "txfPassword");
    txfPassword_->setSecureTextEntry(true);
    txfPassword_->setReturnKeyType(platform::ui::ReturnKeyType::Done);
    addImageButton(rect(290, 151, 29, 27), "close_button", 2, "btnClose_Clicked", [this] { btnClose_Clicked(2); });

    switchAutoLogin_ = platform::ui::Switch::make(rect(108, 190, 79, 20));
    switchAutoLogin_->setAccessibilityIdentifier("switchAutoLogin");
    switchAutoLogin_->addTarget(platform::ui::ControlEvent::ValueChanged, [this] { switchChanged(); });
    mainView()->addSubview(switchAutoLogin_);
    addLabel(rect(195, 190, 129, 21), kTagAutoLogin, Font::boldSystem(fontSize(13, 26)), Color::white(),
             TextAlignment::Left, "lblAutoLogin");

    btnSignIn_ =
        addMainButton(rect(206, 229, 106, 35), kTagSignIn, fontSize(15, 24), "btnSignIn", [this] { doLogin(); });
}

void LoginView_SubLoginView::refreshScreen() {
    Resources::getInstance().loadLanguage();
    setTaggedText(kTagTitle, "KAVO_login", true);
    setTaggedText(kTagInstruction, "KAVO_Login_InstructScript", false);
    setTaggedText(kTagNick, "KAVO_nick", true);
    setTaggedText(kTagPwd, "KAVO_pwd", true);
    matchCaptionSizes({kTagNick, kTagPwd}, Font::boldSystem(fontSize(15, 30)));
    setTaggedText(kTagAutoLogin, "KAVO_AutoLogin", false);
    setTaggedText(kTagSignIn, "KAVO_login", true);
}

// Every opening: a new installation starts with the switch on; remembered credentials
// fill the fields.
void LoginView_SubLoginView::didOpen() {
    if (!defaults().boolForKey(kFirstTimeRunKey)) {
        defaults().setBool(true, kFirstTimeRunKey);
        defaults().setBool(true, kSavedNextLoginKey);
        switchAutoLogin_->setOn(true);
    }
    const bool remember = defaults().boolForKey(kSavedNextLoginKey);
    if (remember) {
        txfUsername_->setText(defaults().stringForKey(kUnameKey));
        txfPassword_->setText(defaults().stringForKey(kPasswordKey));
    }
    switchAutoLogin_->setOn(remember);
    defaults().synchronize();
}

double LoginView_SubLoginView::keyboardLift() const {
    return isPad() ? 200 : 80;
}

bool LoginView_SubLoginView::animatesRaise() const {
    // The phone raises the panel at once, the tablet animates it.
    return isPad();
}

// ---------------------------------------------------------------- actions

void LoginView_SubLoginView::doLogin() {
    onLogin();
}

void LoginView_SubLoginView::onLogin() {
    endEditing();
    if (txfPassword_->text().empty() || txfUsername_->text().empty()) {
        UIController::showNotice(Resources::getInstance().textWithKey("KAVO_LottoGeneralWarning"));
        return;
    }
    // The name sent is the one that signs in: his stored mailbox is read meanwhile (and
    // one read for another name is dropped).
    MailboxReadAhead::shared().startFor(txfUsername_->text());
    savedInfos();

    timerCount_ = 0;
    stopLoginTimer();
    std::weak_ptr<View> weak = weak_from_this();
    timerLogin_ = platform::Timer::scheduled(1.0, true, [weak] {
        if (auto form = std::dynamic_pointer_cast<LoginView_SubLoginView>(weak.lock())) form->setTimeCount();
    });

    // The sign-in follows from the pick on the server choice.
    auto sheet = ServerView::getInstance();
    addSubview(sheet->view());
    sheet->viewDidAppear(true);
}

void LoginView_SubLoginView::setTimeCount() {
    ++timerCount_;
    if (timerCount_ < kLoginTicks) return;
    Util::hideLoadingOnView(self());
    timerCount_ = 0;
    stopLoginTimer();
}

void LoginView_SubLoginView::stopLoginTimer() {
    if (timerLogin_) timerLogin_->invalidate();
    timerLogin_.reset();
}

void LoginView_SubLoginView::btnClose_Clicked(int tag) {
    if (tag == 1) {
        txfUsername_->setText("");
        txfUsername_->becomeFirstResponder();
    } else if (tag == 2) {
        txfPassword_->setText("");
        txfPassword_->becomeFirstResponder();
    }
    savedInfos();
}

void LoginView_SubLoginView::switchChanged() {
    defaults().setBool(switchAutoLogin_->isOn(), kSavedNextLoginKey);
    defaults().synchronize();
}

void LoginView_SubLoginView::savedInfos() {
    defaults().setString(txfUsername_->text(), kUnameKey);
    defaults().setString(txfPassword_->text(), kPasswordKey);
    if (switchAutoLogin_->isOn()) {
        defaults().setBool(true, kSavedNextLoginKey);
    } else {
        // The stored values stay for the sign-in that follows; only the screen forgets.
        defaults().setBool(false, kSavedNextLoginKey);
        txfUsername_->setText("");
        txfPassword_->setText("");
    }
    defaults().synchronize();
}

void LoginView_SubLoginView::fillAccount(const std::string& name, const std::string& password) {
    txfUsername_->setText(name);
    txfPassword_->setText(password);
}

// Return in the name moves on to the password; in the password (the last field) it signs
// in, as every form's last field presses its main button.
bool LoginView_SubLoginView::shouldReturn(platform::ui::TextField& field) {
    if (&field != txfUsername_.get()) return true;
    txfPassword_->becomeFirstResponder();
    return false;
}

} // namespace kavo
