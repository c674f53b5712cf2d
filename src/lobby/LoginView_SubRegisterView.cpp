#include "lobby/LoginView_SubRegisterView.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/MailboxReadAhead.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/LoginView.h"
#include "lobby/ServerView.h"
#include "net/MobileClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::TextAlignment;

LoginView_SubRegisterView::LoginView_SubRegisterView(platform::ui::Rect frame) : LoginSubForm(frame) {
    setAccessibilityIdentifier("logSubRegisterView");
}

LoginView_SubRegisterView::~LoginView_SubRegisterView() {
    if (GlobalService::getInstance().getConnectOKListener() == this)
        GlobalService::getInstance().setConnectOKListener(nullptr);
}

void LoginView_SubRegisterView::buildControls() {
    addLabel(rect(90, 20, 157, 37), kTagTitle, Font::boldSystem(fontSize(18, 30)), Color::yellow(),
             TextAlignment::Center, "lblTitle");
    addSeparator(0, 60);
    auto instruction = addLabel(rect(12, 69, 321, 28), kTagInstruction, Font::boldSystem(fontSize(10, 20)),
                                kInstructionColor, TextAlignment::Left, "lblInstruction");
    instruction->setNumberOfLines(3);
    addSeparator(10, 105);

    const Font caption = Font::boldSystem(fontSize(15, 26));
    const double fieldSize = fontSize(15, 26);
    addLabel(rect(12, 114, 92, 34), kTagNick, caption, Color::white(), TextAlignment::Left, "lblNick");
    txfUsername_ = addField(rect(108, 114, 216, 34), rect(108, 120, 182, 30), fieldSize, "txfUsername");
    txfUsername_->setReturnKeyType(platform::ui::ReturnKeyType::Next);
    addImageButton(rect(295, 118, 29, 27), "close_button", 1, "btnClose_Clicked", [this] { btnClose_Clicked(1); });

    addLabel(rect(12, 148, 92, 34), kTagPwd, caption, Color::white(), TextAlignment::Left, "lblPwd");
    txfPassword_ = addField(rect(108, 148, 216, 34), rect(108, 152, 182, 30), fieldSize, "txfPassword");
    txfPassword_->setSecureTextEntry(true);
    txfPassword_->setReturnKeyType(platform::ui::ReturnKeyType::Next);
    addImageButton(rect(295, 151, 29, 27), "close_button", 2, "btnClose_Clicked", [this] { btnClose_Clicked(2); });

    // Shrinks, then takes its second line, like the other captions: a fixed two lines
    // cut the longer translation short.
    addLabel(rect(12, 173, 93, 44), kTagRetype, caption, Color::white(), TextAlignment::Left, "lblRetypePwd");
    txfRetypePwd_ = addField(rect(108, 183, 216, 34), rect(108, 187, 182, 30), fieldSize, "txfRetypePwd");
    txfRetypePwd_->setSecureTextEntry(true);
    txfRetypePwd_->setReturnKeyType(platform::ui::ReturnKeyType::Done);
    addImageButton(rect(295, 186, 29, 27), "close_button", 3, "btnClose_Clicked", [this] { btnClose_Clicked(3); });

    btnRegister_ =
        addMainButton(rect(206, 229, 106, 35), kTagRegister, fontSize(15, 24), "btnRegister", [this] { doRegister(); });
}

void LoginView_SubRegisterView::refreshScreen() {
    Resources::getInstance().loadLanguage();
    setTaggedText(kTagTitle, "KAVO_register", true);
    setTaggedText(kTagInstruction, "KAVO_Register_InstructScript", false);
    setTaggedText(kTagNick, "KAVO_nick", true);
    setTaggedText(kTagPwd, "KAVO_pwd", true);
    setTaggedText(kTagRetype, "KAVO_reTypePass", true);
    matchCaptionSizes({kTagNick, kTagPwd, kTagRetype}, Font::boldSystem(fontSize(15, 26)));
    setTaggedText(kTagRegister, "KAVO_register", true);
}

void LoginView_SubRegisterView::didOpen() {
    MailboxReadAhead::shared().drop();
}

// ---------------------------------------------------------------- actions

void LoginView_SubRegisterView::doRegister() {
    onRegister();
}

void LoginView_SubRegisterView::showWarning(const std::string& key) {
    UIController::showNotice(Resources::getInstance().textWithKey(key));
}

void LoginView_SubRegisterView::onRegister() {
    endEditing();
    Util::showLoadingOnView(self());
    if (txfUsername_->text().empty()) {
        showWarning("KAVO_InputInfo");
        Util::hideLoadingOnView(self());
        return;
    }
    // Only the two passwords are compared: two empty passwords pass.
    if (txfPassword_->text() != txfRetypePwd_->text()) {
        showWarning("KAVO_RetypePassInvalid");
        Util::hideLoadingOnView(self());
        return;
    }
    detectInfos();
    if (listServers_.empty()) {
        Util::hideLoadingOnView(self());
        return;
    }
    GlobalService& service = GlobalService::getInstance();
    if (GlobalService::isConnected() || service.connectStatus() == MobileClient::kStatusConnecting)
        ServerView::closeConnectionSilently();
    // Always the first server of the list, whatever was picked before.
    ServerView::useServer(*listServers_.front());
    service.setConnectOKListener(this);
    service.connect();
    // The spinner stays until the server's answer; a server that never gives one leaves
    // the player on this form, told so.
    Util::boundLoadingOnView(self());
}

void LoginView_SubRegisterView::detectInfos() {
    listServers_ = ServerListText::parse(ServerView::storedServerListText());
}

void LoginView_SubRegisterView::onConnectOK() {
    // The listener was cleared by whoever called; the fields are read on the main thread.
    std::weak_ptr<View> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        auto form = std::dynamic_pointer_cast<LoginView_SubRegisterView>(weak.lock());
        if (!form) return;
        GlobalService& service = GlobalService::getInstance();
        const std::string user = form->txfUsername_->text();
        const std::string password = form->txfPassword_->text();
        auto top = KavoOnlineAppDelegate::getInstance().topViewController();
        auto* login = dynamic_cast<LoginView*>(top.get());
        if (login && login->isRegisterWithSN()) {
            service.requestRegisterWithUsername(user, password,
                                                platform::UserDefaults::standard().stringForKey(kAccessTokenKey));
        } else {
            service.requestRegisterWithUsername(user, password);
        }
    });
}

void LoginView_SubRegisterView::btnClose_Clicked(int tag) {
    std::shared_ptr<platform::ui::TextField> field;
    if (tag == 1) field = txfUsername_;
    if (tag == 2) field = txfPassword_;
    if (tag == 3) field = txfRetypePwd_;
    if (!field) return;
    field->setText("");
    field->becomeFirstResponder();
}

// Return moves on from the name to the password and to its repetition; in the repetition
// (the last field) it registers, as every form's last field presses its main button.
bool LoginView_SubRegisterView::shouldReturn(platform::ui::TextField& field) {
    const auto& next = &field == txfUsername_.get()   ? txfPassword_
                       : &field == txfPassword_.get() ? txfRetypePwd_
                                                      : nullptr;
    if (!next) return true;
    next->becomeFirstResponder();
    return false;
}

} // namespace kavo
