#include "account/ShopView.h"
#include "account/TopupActions.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/PageOpener.h"
#include "app/RememberedLogin.h"
#include "app/Resources.h"
#include "app/SMSDelegate.h"
#include "app/Text.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/GameView.h"
#include "lobby/LoginView.h"
#include "lobby/LoginView_SubRegisterView.h"
#include "lobby/ServerListText.h"
#include "lobby/ServerView.h"
#include "platform/foundation/TextFormat.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"

#include <any>

// Main-thread twins of the connection and sign-in replies.

namespace kavo {

namespace {

bool loginScreenOnTop() {
    return topScreenAs<LoginView>() != nullptr;
}

// The server choice, when it has been made and shown at least once (nullptr otherwise:
// asking for it must not build it).
std::shared_ptr<ServerView> loadedServerSheet() {
    auto sheet = ServerView::getInstance();
    return sheet->isViewLoaded() ? sheet : nullptr;
}

// The sheet's overlay goes and the sheet slides out.
void hideLoadingOnServerView() {
    if (auto sheet = loadedServerSheet()) {
        Util::hideLoadingOnView(sheet->view());
        sheet->slideOut();
    }
}

// A connection that ends away from the log-in screen goes back to it. The server choice
// was a step of the sign-in that is over now: it goes too, so the player finds the form he
// signed in with (filled only when he asked to be remembered), never a server one tap away
// from signing him in again.
void popToRootScreen() {
    if (const auto& nav = KavoOnlineAppDelegate::getInstance().navigationController())
        nav->popToRootViewController(true);
    if (auto sheet = loadedServerSheet(); sheet && sheet->view()->superview()) hideLoadingOnServerView();
}

// "KAVO_syntaxSMS1": the text to send and where to.
std::string smsSyntax(const std::string& body, const std::string& to) {
    return platform::formatText(text("KAVO_syntaxSMS1"), {body, to});
}

} // namespace

void GlobalLogicHandler::loginSuccess() {
    KAVO_ASSERT_MAIN_THREAD();
    RememberedLogin::signInAttemptEnded();
    UIController::closeDialog();
    const auto& nav = KavoOnlineAppDelegate::getInstance().navigationController();
    if (!nav) {
        platform::log("loginSuccess: no navigation controller");
        return;
    }
    nav->pushViewController(std::make_shared<GameView>(), true);
    TopupActions::resendPendingReceipts();
}

void GlobalLogicHandler::loginFailWithReason(const std::string& reason) {
    RememberedLogin::signInAttemptEnded();
    showAlertViewWithMessage(reason);
}

void GlobalLogicHandler::connectFail(const std::string& text) {
    KAVO_ASSERT_MAIN_THREAD();
    if (loginScreenOnTop()) {
        auto sheet = loadedServerSheet();
        // While the server choice is up, the first failure of its showing reloads the
        // list from its address and tries again instead of telling the player.
        if (sheet && sheet->isAllowLoadUrl() && sheet->view()->window()) {
            sheet->doLoadServersFromURL();
            Util::hideLoadingOnView(sheet->view());
            return;
        }
        if (sheet) Util::hideLoadingOnView(sheet->view());
    } else {
        popToRootScreen();
    }
    // Not before the retry above: it is the same attempt and signs in with the stored password.
    RememberedLogin::signInAttemptEnded();
    showAlertViewWithMessage(text);
}

void GlobalLogicHandler::disconnected(const std::string& lostSignalText) {
    KAVO_ASSERT_MAIN_THREAD();
    RememberedLogin::signInAttemptEnded();
    if (loginScreenOnTop()) {
        hideLoadingOnServerView();
    } else {
        popToRootScreen();
    }
    if (!lostSignalText.empty()) showAlertViewWithMessage(lostSignalText);
}

void GlobalLogicHandler::setMoneyError(const std::string& error) {
    KAVO_ASSERT_MAIN_THREAD();
    // A refusal names no account: the log-in forms stay as the player filled them (a
    // refused registration never takes the sign-in form's place). During the sign-in it
    // ends the server choice's overlay too.
    if (auto sheet = loadedServerSheet()) sheet->hideLoading();
    showAnswerToWaits(error);
}

void GlobalLogicHandler::showVersion(const std::string& info, const std::string& url) {
    KAVO_ASSERT_MAIN_THREAD();
    const Resources& resources = Resources::getInstance();
    UIController::startCancelOkDlg(info, resources.textWithKey("KAVO_cancel"), resources.textWithKey("KAVO_download"),
                                   {UIController::kActionNewVersion, url});
}

// ---------------------------------------------------------------- registration and recovery

void GlobalLogicHandler::onRegisterInfoWithUsername(const std::string& username, bool avail, const std::string& prefix,
                                                    const std::string& to) {
    platform::runOnMainThread([this, username, avail, prefix, to] { showRegisterAnswer(username, avail, prefix, to); });
}

void GlobalLogicHandler::showRegisterAnswer(const std::string& username, bool avail, const std::string& prefix,
                                            const std::string& to) {
    KAVO_ASSERT_MAIN_THREAD();
    UIController::closeDialog();
    auto login = topScreenAs<LoginView>();
    if (login && login->logSubRegisterView()) Util::hideLoadingOnView(login->logSubRegisterView());
    if (!avail) {
        showAlertViewWithMessage(text("KAVO_gameIDAlreadyUsed"));
        return;
    }
    // The account is opened: it is the one the log-in form remembers from now on (a name
    // taken or refused above never replaces the remembered one).
    if (!username.empty())
        RememberedLogin::rememberNewAccount(
            username, platform::UserDefaults::standard().stringForKey(GlobalService::kRegisterPasswordKey));
    if (login) login->setUserNameAndPasswordFromCache(username);
    // The store build registers without a text message (the recovery answer tests the
    // same switch the other way round).
    if (UIController::checkApStore()) return;
    if (UIController::checkVersionToSendSMS()) {
        const SMSDelegate delegate(SMSDelegate::kModeRegistration);
        GlobalService::getInstance().sendSMSWithData(prefix, std::vector<std::string>{to},
                                                     [delegate, prefix, to](platform::SmsResult result) {
                                                         delegate.messageComposeDidFinish(result, prefix, to);
                                                     });
        return;
    }
    UIController::startCancelOkDlg(smsSyntax(prefix, to), text("KAVO_cancel"), text("KAVO_copy"),
                                   {UIController::kActionCopyText, prefix});
}

void GlobalLogicHandler::onGetSMSSyntaxWithSubId(int8_t subId, const std::string& data, const std::string& address) {
    if (subId != 1) return;
    platform::runOnMainThread([] {
        if (auto login = topScreenAs<LoginView>()) login->endRecoveryWait();
    });
    const std::string body = data.substr(0, data.find('?')) +
                             platform::UserDefaults::standard().stringForKey("KAVO_FORGET_PASSWORD_USERNAME");
    if (!UIController::checkApStore()) return;
    if (UIController::checkVersionToSendSMS()) {
        GlobalService::getInstance().sendSMSWithData(body, address);
        return;
    }
    platform::runOnMainThread([this, message = smsSyntax(body, address)] { onGetSMSSyntax(message); });
}

void GlobalLogicHandler::onGetSMSSyntax(const std::string& message) {
    KAVO_ASSERT_MAIN_THREAD();
    showAlertViewWithMessage(message);
}

// ---------------------------------------------------------------- social-network log-in and name

void GlobalLogicHandler::onInvalidLoginSN() {
    showAlertViewWithMessage(text("KAVO_errRegister"));
}

void GlobalLogicHandler::onCreateKavoAccount() {
    platform::runOnMainThread([this] { createKavoAcccount(); });
}

void GlobalLogicHandler::createKavoAcccount() {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto login = topScreenAs<LoginView>()) {
        login->btnRegister_Clicked();
        login->setIsRegisterWithSN(true);
    }
    showAlertViewWithMessage(text("KAVO_loginSNSuccess"));
}

void GlobalLogicHandler::onUpdateUsername(const std::string& name) {
    // The delay runs on the main thread's loop, whatever thread the reply came on.
    platform::runOnMainThread(
        [this, name] { platform::performAfterDelay(0.5, [this, name] { updateUsername(name); }); });
}

void GlobalLogicHandler::updateUsername(const std::string& name) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto grid = topScreenAs<GameView>()) grid->setUsernameWithName(name);
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(UIController::myInfo()->name(), "KAVO_LOGIN_USERNAME_SUCCESS");
    defaults.synchronize();
}

// ---------------------------------------------------------------- server information (72)

void GlobalLogicHandler::onGetInfoWithSubId(int subId, const std::string& info) {
    switch (subId) {
    case 2:
        platform::runOnMainThread([info] { UIController::callHotlineFromServer(info); });
        break;
    case 3:
        platform::runOnMainThread([this, info] { showInfo(info); });
        break;
    case 8:
        if (auto on = smsSwitchFromInfo(info, GlobalService::VERSION()))
            platform::runOnMainThread([on = *on] { KavoOnlineAppDelegate::setSwitchOnSMS(on); });
        break;
    case 11:
        // The server choice reads the stored list on the main thread; it changes there.
        platform::runOnMainThread([info] { updateServers(info); });
        break;
    case 12:
        platform::runOnMainThread([this, info] { showLink(info); });
        break;
    case 13:
        platform::runOnMainThread([this, info] { showInfoEventTopup(info); });
        break;
    default:
        // 1 (tell-a-friend) and 6 (event) show nothing; the others are not used.
        break;
    }
}

std::optional<bool> GlobalLogicHandler::smsSwitchFromInfo(const std::string& info, const std::string& version) {
    std::optional<bool> on;
    for (std::string_view piece : ServerListText::entries(info)) {
        if (piece.size() >= 2 && piece.substr(0, 2) == "1-") on = piece.substr(2) == version;
    }
    return on;
}

void GlobalLogicHandler::updateServers(const std::string& list) {
    KAVO_ASSERT_MAIN_THREAD();
    platform::log("updateServers: " + list);
    if (ServerListText::parse(list).empty()) return;
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(list, ServerView::kServerDataKey);
    defaults.synchronize();
}

void GlobalLogicHandler::showInfo(const std::string& info) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto grid = topScreenAs<GameView>()) {
        grid->set_infoMoreGames(info);
        grid->doShowMoreGames();
    }
}

void GlobalLogicHandler::showLink(const std::string& url) {
    KAVO_ASSERT_MAIN_THREAD();
    if (auto top = topScreen(); top && top->isViewLoaded()) Util::hideLoadingOnView(top->view());
    PageOpener::open(url);
}

void GlobalLogicHandler::showInfoEventTopup(const std::string& info) {
    KAVO_ASSERT_MAIN_THREAD();
    if (const auto& shop = ShopView::getInstance()) shop->updateThongTinSuDung(info);
}

bool GlobalMessageHandler::isLoginScreenOnTop() const {
    return loginScreenOnTop();
}

} // namespace kavo
