// The dialogs of UIController: opening and closing them, what each button press
// does by action code, accepting an invitation, leaving a table, the end-of-game
// report and the hotline.

#include "account/ProfileView.h"
#include "account/Profile_AssetsView.h"
#include "account/TopupZelView.h"
#include "app/CustomAlertView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/PageOpener.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/TopScreen.h"
#include "app/TopupPanelLookup.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/GameView.h"
#include "lobby/LoginView.h"
#include "lobby/TableEntry.h"
#include "net/MobileClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/services/Device.h"
#include "platform/services/Pasteboard.h"
#include "platform/services/UrlOpener.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalService.h"
#include "social/MessageView.h"
#include "table/base/GameTableView.h"
#include "table/registry/GameController.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <unordered_map>

namespace kavo {

namespace {

// The context object as text: a std::string, a C string or a platform::Value.
std::string contextText(const std::any& context) {
    if (const auto* value = std::any_cast<std::string>(&context)) return *value;
    if (const auto* value = std::any_cast<const char*>(&context)) return *value ? *value : "";
    if (const auto* value = std::any_cast<platform::Value>(&context)) return value->stringValue();
    return {};
}

// The shop's entry a buy question was asked for (its id), if that is the context.
std::optional<int32_t> contextEntryId(const std::any& context) {
    if (const auto* id = std::any_cast<int32_t>(&context)) return *id;
    return std::nullopt;
}

// The friend request a dialog was opened for, if that is the context.
std::shared_ptr<KavoMessage> contextMessage(const std::any& context) {
    if (const auto* message = std::any_cast<std::shared_ptr<KavoMessage>>(&context)) return *message;
    return nullptr;
}

// The invitation a dialog was opened for, as a dictionary.
platform::Value contextDictionary(const std::any& context) {
    if (const auto* value = std::any_cast<platform::Value>(&context)) return *value;
    return {};
}

// The action of a dialog of ours; another alert has none.
DialogAction actionOf(const platform::ui::AlertView& alert) {
    const auto* dialog = dynamic_cast<const CustomAlertView*>(&alert);
    return dialog ? dialog->action() : DialogAction{};
}

// Takes every dialog of ours off the screen without running its action.
void dismissOurDialogs() {
    for (const auto& alert : platform::ui::AlertView::visibleAlerts()) {
        if (std::dynamic_pointer_cast<CustomAlertView>(alert)) alert->dismissWithClickedButtonIndex(0, true);
    }
}

// ---------------------------------------------------------------- the actions

// OK of code 1.
void acceptInvitation(const std::any& context) {
    // At some card tables the player is busy with a hand: nothing is joined.
    if (auto table = topScreenAs<GameTableView>(); table && table->holdsInvitations()) return;

    const platform::Value invitation = contextDictionary(context);
    const auto gameId = int8_t(invitation["gameid"].intValue());
    const auto roomId = int8_t(invitation["roomid"].intValue());
    const auto boardId = int8_t(invitation["boardid"].intValue());
    const std::string password = invitation["password"].stringValue();
    const auto levelRoom = uint8_t(invitation["levelRoom"].intValue());
    if (!TableEntry::opens(gameId)) return;

    // The first registered handler that accepts the game wins.
    for (const auto& handler : GlobalLogicHandler::getGameMessageHandlers()) {
        if (!handler->isGameType(gameId)) continue;
        GlobalLogicHandler::getInstance().onSetGameTypeSuccessWithGame(gameId, false);
        GameController::setLevelRoom(levelRoom);
        GlobalService::getInstance().joinBoardWithroomId(roomId, boardId, password);
        return;
    }
    UIController::startOKDlg(text("KAVO_notAllowAcceptInviting"));
}

// The table of the current game, if one is kept.
std::shared_ptr<GameTableView> currentTable() {
    return GameController::getTableView(UIController::gameType());
}

// OK of code 2.
void leaveTable(const std::any&) {
    auto table = currentTable();
    if (table && !table->leaveAfterQuestion()) return; // the table left by itself
    if (table) table->onLeftTable();
    auto& app = KavoOnlineAppDelegate::getInstance();
    if (auto nav = app.navigationController()) nav->popViewController(true);
    if (app.lblServerInfo() && app.lblServerInfo()->isHidden() && app.lblWindowTitle())
        app.lblWindowTitle()->setHidden(false);
}

// The current table's answer to a question of code 3, 13, 14, 24 or 7726.
void atCurrentTable(void (*answer)(GameTableView&)) {
    if (auto table = currentTable()) answer(*table);
}

// The mailbox the player is looking at: the pushed mailbox screen, else the shared
// panel while it is shown over a screen.
std::shared_ptr<MessageView> mailboxOnTop() {
    if (auto mailbox = topScreenAs<MessageView>()) return mailbox;
    const auto& panel = MessageView::getInstance();
    if (panel->isViewLoaded() && panel->view()->superview()) return panel;
    return nullptr;
}

GlobalService& service() {
    return GlobalService::getInstance();
}

// The action of an OK press: it is given the dialog's context.
using OkRun = std::function<void(const std::any& context)>;

// An OK action that needs no context.
OkRun plain(void (*action)()) {
    return [action](const std::any&) { action(); };
}

// An OK action the current table answers.
OkRun byTable(void (*answer)(GameTableView&)) {
    return [answer](const std::any&) { atCurrentTable(answer); };
}

// What Escape does to a one-button notice of a code: where OK only tidies up (hides a
// spinner, reloads a list) Escape answers it as a click would; where OK starts something
// the player must choose (a purchase, a top-up, leaving, an answer to another player) the
// notice waits for the click.
enum class OnEscape { Answers, WaitsForClick };

struct OkAction {
    OkRun run;
    OnEscape onEscape;
};

// OK of codes 10 and 12.
void openContextAddress(const std::any& context) {
    PageOpener::open(contextText(context));
}

constexpr OnEscape kWaits = OnEscape::WaitsForClick;
constexpr OnEscape kTidies = OnEscape::Answers;

// OK, by action code. A code without a row does nothing, so Escape answers its notice.
const std::unordered_map<int, OkAction>& okActions() {
    static const std::unordered_map<int, OkAction> table = {
        {UIController::kActionBuyAvatar,
         {[](const std::any& context) {
              if (const auto id = contextEntryId(context)) service().buyAvatarWithId(*id);
          },
          kWaits}},
        {UIController::kActionInvitation, {acceptInvitation, kWaits}},
        {UIController::kActionLeaveBoard, {leaveTable, kWaits}},
        {UIController::kActionSkipTurn, {byTable([](GameTableView& table) { table.skipTurn(); }), kWaits}},
        {UIController::kActionRecoverPassword,
         {plain([] {
              service().getSMSInfoWithKey(1);
              if (auto login = topScreenAs<LoginView>()) login->waitForRecoveryAnswer();
          }),
          kWaits}},
        {UIController::kActionTopUp,
         {plain([] {
              auto panel = TopupZelView::make(Util::changeRectFromRect({0, 0, 480, 320}));
              service().requestChargeMoneyInfo();
              if (auto top = topScreen()) top->view()->addSubview(panel);
          }),
          kWaits}},
        {UIController::kActionMoreGames, {openContextAddress, kWaits}},
        {UIController::kActionNewVersion, {openContextAddress, kWaits}},
        {UIController::kActionFriendAdded, {plain([] { service().requestFriendList(); }), kTidies}},
        {UIController::kActionDrawOffer, {byTable([](GameTableView& table) { table.answerDraw(true); }), kWaits}},
        {UIController::kActionResign, {byTable([](GameTableView& table) { table.resign(); }), kWaits}},
        {UIController::kActionCopyText,
         {[](const std::any& context) { platform::Pasteboard::general().setString(contextText(context)); }, kWaits}},
        {UIController::kActionPurchaseConfirmed,
         {plain([] {
              if (auto panel = topupPanelOnTop()) panel->completeRechargeWithApp();
          }),
          kTidies}},
        {UIController::kActionPokerObserver,
         {byTable([](GameTableView& table) { table.answerViewerQuestion(1); }), kWaits}},
        {UIController::kActionBuyItem,
         {[](const std::any& context) {
              if (const auto id = contextEntryId(context)) service().requestBuyItem(*id);
          },
          kWaits}},
        {UIController::kActionTurnOffInvites,
         {plain([] {
              auto& defaults = platform::UserDefaults::standard();
              defaults.setBool(false, "savedInviting");
              defaults.synchronize();
              UIController::setInviting(false);
          }),
          kWaits}},
        {UIController::kActionFriendRequest,
         {[](const std::any& context) {
              if (auto request = contextMessage(context))
                  service().answerFriendRequests({request->fromID()}, int8_t(2));
          },
          kWaits}},
        {UIController::kActionRemoveAllMail,
         {plain([] {
              if (auto mailbox = mailboxOnTop()) mailbox->doRemoveAllMessages();
          }),
          kWaits}},
        {UIController::kActionChooseAvatar,
         {plain([] {
              if (auto profile = topScreenAs<ProfileView>(); profile && profile->assetsView()) {
                  const int32_t avatarId = profile->assetsView()->selectedAvatarID();
                  UIController::myInfo()->setAvatar(avatarId);
                  profile->showMyAvatar();
                  service().requestChangeAvatar(avatarId);
              }
          }),
          kWaits}},
        {UIController::kActionDeleteFriend,
         {plain([] {
              auto grid = topScreenAs<GameView>();
              service().deleteFriend(grid ? grid->_selectedFriendID()
                                          : MessageView::getInstance()->_selectedFriendID());
          }),
          kWaits}},
        {UIController::kActionUndoRequest, {byTable([](GameTableView& table) { table.answerUndo(1); }), kWaits}},
    };
    return table;
}

// OK, by the dialog's action.
void okAction(const DialogAction& action) {
    const auto found = okActions().find(action.code);
    if (found != okActions().end()) found->second.run(action.context);
}

bool waitsForClick(int code) {
    const auto found = okActions().find(code);
    return found != okActions().end() && found->second.onEscape == kWaits;
}

void cancelAction(const DialogAction& action) {
    switch (action.code) {
    case UIController::kActionDrawOffer:
        atCurrentTable([](GameTableView& table) { table.answerDraw(false); });
        break;
    case UIController::kActionDisconnect:
    case UIController::kActionDisconnect2:
        MobileClient::getInstance().manualDisconnect();
        break;
    case UIController::kActionPokerObserver:
        atCurrentTable([](GameTableView& table) { table.answerViewerQuestion(0); });
        break;
    case UIController::kActionFriendRequest:
        if (auto request = contextMessage(action.context))
            GlobalService::getInstance().answerFriendRequests({request->fromID()}, int8_t(3));
        break;
    case UIController::kActionUndoRequest:
        atCurrentTable([](GameTableView& table) { table.answerUndo(-1); });
        break;
    case UIController::kActionPokerObserverNotice:
        if (auto table = topScreenAs<GameTableView>()) table->refuseViewerNotice();
        break;
    case UIController::kActionPokerBuyStack:
        if (auto table = topScreenAs<GameTableView>()) table->denyBuyStack();
        break;
    default:
        break;
    }
}

} // namespace

// ---------------------------------------------------------------- opening and closing

void UIController::showDialog(const std::string& message, const std::string& cancelTitle,
                              const std::vector<std::string>& otherTitles, DialogAction action) {
    auto dialog = CustomAlertView::make("", message, &getInstance(), cancelTitle, otherTitles);
    dialog->setAction(std::move(action));
    dialog->show();
}

void UIController::startOKDlg(const std::string& message, DialogAction action) {
    closeDialog();
    showDialog(message, "", {text("KAVO_OK")}, std::move(action));
}

void UIController::startCancelDlg(const std::string& message, DialogAction action) {
    closeDialog();
    showDialog(message, text("KAVO_cancel"), {}, std::move(action));
}

void UIController::startCancelOkDlg(const std::string& message, const std::string& cancelTitle,
                                    const std::string& okTitle, DialogAction action) {
    dismissOurDialogs();
    showDialog(message, cancelTitle, {okTitle}, std::move(action));
}

void UIController::startNilDlg(const std::string& message, DialogAction action) {
    closeDialog();
    showDialog(message, "", {}, std::move(action));
}

void UIController::startReportDlg(const MatchResultInfo& info, DialogAction action) {
    closeDialog();
    showDialog(reportText(info), "", {text("KAVO_OK")}, std::move(action));
}

std::string UIController::reportText(const MatchResultInfo& info) {
    const char* resultKey = info.result() == 0 ? "KAVO_draw" : info.result() == -1 ? "KAVO_lose" : "KAVO_won";
    const std::string line1 = info.name() + ": " + text(resultKey);
    std::string line2;
    std::string line3;
    if (info.d_exp() == 0 && info.d_money() == 0) {
        line2 = text("KAVO_noChangeMoney");
        line3 = text("KAVO_money");
    } else {
        line2 = text("KAVO_level") + (info.d_exp_percent() < 0 ? "" : "+") + std::to_string(info.d_exp_percent());
        line3 = text("KAVO_money") + (info.d_money() < 0 ? "" : "+") + Util::formatNumber(info.d_money()) +
                text("KAVO_zel") + ".";
    }
    return line1 + "\n" + line2 + "\n" + line3;
}

void UIController::closeDialog() {
    dismissOurDialogs();
}

void UIController::turnInviteOff() {
    startCancelOkDlg(text("KAVO_turnOffInviteFeature"), text("KAVO_no"), text("KAVO_yes"), {kActionTurnOffInvites});
}

std::shared_ptr<platform::ui::AlertView> UIController::currentDialog() {
    const auto alerts = platform::ui::AlertView::visibleAlerts();
    for (auto it = alerts.rbegin(); it != alerts.rend(); ++it) {
        if (std::dynamic_pointer_cast<CustomAlertView>(*it)) return *it;
    }
    return nullptr;
}

// ---------------------------------------------------------------- button presses

void UIController::clickedButtonAtIndex(platform::ui::AlertView& alert, int index) {
    const DialogAction action = actionOf(alert);
    const bool cancel = index == alert.cancelButtonIndex();
    if (cancel && action.code == kActionInvitation) {
        // Declining an invitation asks whether to stop them altogether.
        turnInviteOff();
    } else if (cancel) {
        cancelAction(action);
    } else {
        okAction(action);
    }
}

int UIController::escapeButtonIndex(platform::ui::AlertView& alert) {
    const bool oneButtonNotice = alert.numberOfButtons() == 1 && alert.cancelButtonIndex() < 0;
    return oneButtonNotice && !waitsForClick(actionOf(alert).code) ? 0 : -1;
}

void UIController::pressOk() {
    if (auto dialog = currentDialog()) dialog->pressButton(dialog->firstOtherButtonIndex());
}

void UIController::pressCancel() {
    if (auto dialog = currentDialog()) dialog->pressButton(dialog->cancelButtonIndex());
}

// ---------------------------------------------------------------- hotline

void UIController::callHotline(const std::string& number) {
    if (platform::UrlOpener::openURL("telprompt:" + number)) return;
    // This device cannot dial: the server sends the number to dial instead (72/2).
    auto& service = GlobalService::getInstance();
    if (GlobalService::isConnected()) {
        getInstance().onConnectOK();
        return;
    }
    service.setConnectOKListener(&getInstance());
    service.connect();
}

void UIController::callHotlineFromServer(const std::string& number) {
    PageOpener::open("telprompt:" + number);
}

void UIController::onConnectOK() {
    GlobalService::getInstance().getInfoWithKey(2);
}

// ---------------------------------------------------------------- device checks

int UIController::compareVersions(const std::string& a, const std::string& b) {
    auto next = [](const std::string& text, size_t& pos) {
        long value = 0;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
            value = std::min(value * 10 + (text[pos] - '0'), 1000000L);
            ++pos;
        }
        while (pos < text.size() && !std::isdigit(static_cast<unsigned char>(text[pos])))
            ++pos;
        return value;
    };
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() || j < b.size()) {
        const long x = next(a, i);
        const long y = next(b, j);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

bool UIController::checkVersionToSendSMS() {
    std::string model = platform::Device::model();
    std::transform(model.begin(), model.end(), model.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return checkVersioniOS4() && model == "iphone";
}

bool UIController::checkVersioniOS4() {
    return compareVersions(platform::Device::systemVersion(), "4.0") >= 0;
}

bool UIController::checkVersioniOS5() {
    return compareVersions(platform::Device::systemVersion(), "5.0") >= 0;
}

bool UIController::checkApStore() {
    return Resources::getInstance().configBool("AppStore") && KavoOnlineAppDelegate::switchOnSMS();
}

} // namespace kavo
