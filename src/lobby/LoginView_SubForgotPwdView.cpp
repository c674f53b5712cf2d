#include "lobby/LoginView_SubForgotPwdView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/ServerView.h"
#include "net/MobileClient.h"
#include "platform/foundation/UserDefaults.h"
#include "portal/GlobalService.h"

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::TextAlignment;

LoginView_SubForgotPwdView::LoginView_SubForgotPwdView(platform::ui::Rect frame) : LoginSubForm(frame) {
    setAccessibilityIdentifier("logSubForgotPwdView");
}

LoginView_SubForgotPwdView::~LoginView_SubForgotPwdView() {
    if (GlobalService::getInstance().getConnectOKListener() == this)
        GlobalService::getInstance().setConnectOKListener(nullptr);
}

void LoginView_SubForgotPwdView::buildControls() {
    addLabel(rect(70, 15, 210, 37), kTagTitle, Font::boldSystem(fontSize(18, 30)), Color::yellow(),
             TextAlignment::Center, "lblTitle");
    addSeparator(0, 60);
    auto instruction = addLabel(rect(52, 70, 228, 33), kTagInstruction, Font::boldSystem(fontSize(10, 20)),
                                kInstructionColor, TextAlignment::Left, "lblInstruction");
    instruction->setNumberOfLines(3);
    txfUsername_ = addField(rect(58, 110, 216, 34), rect(58, 117, 216, 34), fontSize(15, 28), "txfUsername");
    txfUsername_->setReturnKeyType(platform::ui::ReturnKeyType::Send);
    addImageButton(rect(240, 113, 29, 27), "close_button.png", 0, "closeBtn_Clicked", [this] { closeBtn_Clicked(); });
    btnSend_ =
        addMainButton(rect(113, 170, 106, 35), kTagSend, fontSize(15, 24), "btnSend", [this] { btnSend_Clicked(); });
}

void LoginView_SubForgotPwdView::refreshScreen() {
    Resources::getInstance().loadLanguage();
    setTaggedText(kTagTitle, "KAVO_ForgotPwd", true);
    setTaggedText(kTagInstruction, "KAVO_FotgotPwdScript", true);
    setTaggedText(kTagSend, "KAVO_send", true);
}

void LoginView_SubForgotPwdView::btnSend_Clicked() {
    onForgotPwd();
}

void LoginView_SubForgotPwdView::onForgotPwd() {
    endEditing();
    const std::string user = txfUsername_->text();
    if (user.empty()) {
        UIController::showNotice(Resources::getInstance().textWithKey("KAVO_LottoGeneralWarning"));
        return;
    }
    // The server that last accepted the client, else the configured one.
    auto& defaults = platform::UserDefaults::standard();
    if (!defaults.objectForKey(ServerView::kIpServerKey).isNull()) {
        GlobalService::setIP(defaults.stringForKey(ServerView::kIpServerKey));
        GlobalService::setPORT(defaults.intForKey(ServerView::kPortServerKey));
    } else {
        const Resources& resources = Resources::getInstance();
        GlobalService::setIP(resources.configString("Server"));
        GlobalService::setPORT(resources.configInt("Port"));
    }
    GlobalService& service = GlobalService::getInstance();
    if (GlobalService::isConnected() || service.connectStatus() == MobileClient::kStatusConnecting)
        ServerView::closeConnectionSilently();
    service.setConnectOKListener(this);
    service.connect();

    defaults.setString(user, kForgetPasswordUsernameKey);
    defaults.synchronize();
    // The OK press runs action 8, which asks the server for the recovery text.
    const Resources& resources = Resources::getInstance();
    UIController::startCancelOkDlg(resources.textWithKey("KAVO_confirmGetPassword"), resources.textWithKey("KAVO_no"),
                                   resources.textWithKey("KAVO_yes"), {UIController::kActionRecoverPassword});
}

void LoginView_SubForgotPwdView::onConnectOK() {
    // Nothing is sent on this road: the confirmation dialog asks.
}

void LoginView_SubForgotPwdView::closeBtn_Clicked() {
    txfUsername_->setText("");
    txfUsername_->becomeFirstResponder();
}

} // namespace kavo
