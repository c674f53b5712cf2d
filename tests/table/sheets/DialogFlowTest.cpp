#include "app/SMSDelegate.h"
#include "app/UIController.h"
#include "games/baucua/BauCuaView.h"
#include "games/caorua/CaoRuaView.h"
#include "games/maubinh/MauBinhView.h"
#include "games/phom/PhomNewView.h"
#include "games/poker/PokerView.h"
#include "games/tienlen/TienLenView.h"
#include "net/Message.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/UrlOpener.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"
#include "table/registry/GameController.h"
#include "tests/support/client/OpenDialog.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

using Dialogs = TableTest;

// An invitation as the reply dispatcher hands it on.
void invite(int8_t gameId, const std::string& text = "Join me at Tien Len", int8_t level = 1) {
    GlobalLogicHandler::getInstance().onInvitedJoinBoardWithGameId(gameId, 4, 6, "pw", text, level, 900);
}

template <class View> std::shared_ptr<View> tableAt(int8_t room, int8_t board) {
    auto table = std::make_shared<View>();
    table->setRoomId(room);
    table->setBoardId(board);
    GameController::setTableView(table);
    return table;
}

// ---------------------------------------------------------------- invitations

TEST_F(Dialogs, InvitationInTheLobbyAsksWithItsText) {
    invite(3);
    runMainThread();
    EXPECT_EQ(dialogText(), "Join me at Tien Len");
    EXPECT_EQ(openDialogCode(), UIController::kActionInvitation);
    EXPECT_EQ(UIController::kindOfDialog(), 1);
    drive("expect text=Cancel\nexpect text=OK");
}

TEST_F(Dialogs, AcceptedInvitationChoosesTheGameAndJoinsTheBoard) {
    invite(3, "Come", int8_t(200));
    runMainThread();
    press("OK");
    EXPECT_EQ(UIController::gameType(), 3);
    EXPECT_EQ(GameController::getLevelRoom(), 200); // the level byte is unsigned
    EXPECT_TRUE(client.sentOnce(8, Bytes().byte(4).byte(6).utf("pw").data()));
    EXPECT_EQ(UIController::currentDialog(), nullptr);
    EXPECT_EQ(UIController::kindOfDialog(), 0);
    EXPECT_TRUE(GlobalMessageHandler::getInstance().gameMessageHandler()->isGameType(3));
}

TEST_F(Dialogs, InvitationToAGameWithoutAHandlerIsRefusedWithANotice) {
    invite(6);
    runMainThread();
    press("OK");
    EXPECT_EQ(dialogText(), text("KAVO_notAllowAcceptInviting"));
    EXPECT_EQ(openDialogCode(), UIController::kActionNone);
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(Dialogs, AcceptingWhileACardTableIsOnTopDoesNothing) {
    invite(5);
    runMainThread();
    push(tableAt<PhomNewView>(1, 1));
    press("OK");
    EXPECT_TRUE(client.sent().empty());
    EXPECT_EQ(UIController::currentDialog(), nullptr);
    EXPECT_EQ(UIController::kindOfDialog(), 0);
}

TEST_F(Dialogs, DecliningAnInvitationAsksWhetherToStopThem) {
    invite(3);
    runMainThread();
    press("Cancel");
    EXPECT_EQ(dialogText(), text("KAVO_turnOffInviteFeature"));
    EXPECT_EQ(openDialogCode(), UIController::kActionTurnOffInvites);
    EXPECT_EQ(UIController::kindOfDialog(), 0);
    press("No");
    EXPECT_TRUE(UIController::inviting());
    EXPECT_EQ(openDialogCode(), UIController::kActionNone);
}

TEST_F(Dialogs, InvitationWhileAtATableOrSwitchedOffIsNotAsked) {
    push(tableAt<CaoRuaView>(1, 1));
    invite(3);
    runMainThread();
    EXPECT_EQ(UIController::currentDialog(), nullptr);
    EXPECT_EQ(UIController::kindOfDialog(), 0);

    KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
    runMainThread();
    UIController::setInviting(false);
    invite(3);
    runMainThread();
    EXPECT_EQ(UIController::currentDialog(), nullptr);
}

// ---------------------------------------------------------------- leaving a table

TEST_F(Dialogs, LeavingACardTableSendsTheLeaveAndPopsIt) {
    auto table = tableAt<TienLenView>(2, 3);
    push(table);
    // I am ready: leaving asks first.
    auto me = playerRecord<Player>(7, "", 0, 0, 1);
    UIController::setMyInfo(me);
    table->setupPlayersWithRoom(2, 3, 8, 100, {me});
    auto& app = KavoOnlineAppDelegate::getInstance();
    app.lblServerInfo()->setHidden(true);
    app.lblWindowTitle()->setHidden(true);
    UIController::setGameType(3);
    table->doLeaveBoard();
    EXPECT_EQ(dialogText(), text("KAVO_doYouWantExit"));
    press("OK");
    EXPECT_TRUE(client.sentOnce(15, {2, 3}));
    EXPECT_NE(top(), table);
    EXPECT_FALSE(app.lblWindowTitle()->isHidden());
    EXPECT_EQ(openDialogCode(), UIController::kActionNone);
}

TEST_F(Dialogs, LeavingATableOutsideAGameNeedsNoQuestion) {
    auto table = tableAt<TienLenView>(2, 3);
    push(table);
    table->doLeaveBoard();
    EXPECT_EQ(UIController::currentDialog(), nullptr);
    EXPECT_TRUE(client.sentOnce(15, {2, 3}));
    EXPECT_NE(top(), table);
}

TEST_F(Dialogs, LeavingPokerLetsTheTableLeaveAndLeavesTheTitleAlone) {
    auto table = tableAt<PokerView>(5, 1);
    push(table);
    table->startUpdateAction(0.1);
    auto& app = KavoOnlineAppDelegate::getInstance();
    app.lblServerInfo()->setHidden(true);
    app.lblWindowTitle()->setHidden(true);
    UIController::setGameType(4);
    UIController::startCancelOkDlg("Leave?", "No", "Yes", {UIController::kActionLeaveBoard});
    press("Yes");
    EXPECT_TRUE(client.sentOnce(15, {5, 1}));
    EXPECT_NE(top(), table);
    EXPECT_EQ(table->updateTimer(), nullptr);
    EXPECT_TRUE(app.lblWindowTitle()->isHidden());
    EXPECT_EQ(UIController::currentDialog(), nullptr);
}

TEST_F(Dialogs, LeavingMauBinhAndBauCuaClearsTheirTables) {
    auto maubinh = tableAt<MauBinhView>(1, 2);
    push(maubinh);
    maubinh->startUpdateAction(0.1);
    UIController::setGameType(16);
    UIController::startOKDlg("Leave", {UIController::kActionLeaveBoard});
    press("OK");
    EXPECT_TRUE(client.sentOnce(15, {1, 2}));
    EXPECT_EQ(maubinh->clearCount(), 1);
    EXPECT_EQ(maubinh->updateTimer(), nullptr);

    client.clear();
    auto baucua = tableAt<BauCuaView>(3, 4);
    push(baucua);
    UIController::setGameType(18);
    UIController::startOKDlg("Leave", {UIController::kActionLeaveBoard});
    press("OK");
    EXPECT_TRUE(client.sentOnce(15, {3, 4}));
    EXPECT_EQ(baucua->clearCount(), 1);
    EXPECT_NE(top(), baucua);
}

// ---------------------------------------------------------------- opening and closing

TEST_F(Dialogs, ANewQuestionReplacesTheOneOnScreenWithoutRunningIt) {
    UIController::startCancelOkDlg("First", "No", "Yes", {UIController::kActionFriendAdded});
    UIController::startCancelOkDlg("Second", "No", "Yes", {UIController::kActionRecoverPassword});
    EXPECT_EQ(platform::ui::AlertView::visibleAlerts().size(), 1u);
    EXPECT_EQ(dialogText(), "Second");
    press("Yes");
    EXPECT_TRUE(client.sentOnce(73, {1}));
    EXPECT_EQ(client.commands(), std::vector<int16_t>{73});
}

TEST_F(Dialogs, ClosingADialogRunsNoAction) {
    UIController::startCancelOkDlg("Question", "No", "Yes", {UIController::kActionRecoverPassword});
    UIController::closeDialog();
    EXPECT_EQ(UIController::currentDialog(), nullptr);
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(Dialogs, NoticesOfTheLogicHandlerAndTheSmsComposerAreOneButtonDialogs) {
    UIController::startOKDlg("Added", {UIController::kActionFriendAdded});
    GlobalLogicHandler::getInstance().showAlertViewWithMessage("Server says hi");
    runMainThread();
    EXPECT_EQ(dialogText(), "Server says hi");
    EXPECT_EQ(openDialogCode(), UIController::kActionNone);
    press("OK");
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(Dialogs, TheSmsComposersResultIsToldInANotice) {
    SMSDelegate request(SMSDelegate::kModeRequest);
    request.messageComposeDidFinish(platform::SmsResult::Cancelled, "body", "8100");
    runMainThread();
    EXPECT_EQ(dialogText(), text("KAVO_cancelSendMessage"));
    EXPECT_EQ(openDialogCode(), UIController::kActionNone);
}

// ---------------------------------------------------------------- end-of-game report

MatchResultInfo result(int8_t outcome, int32_t exp, int32_t percent, int32_t money) {
    MatchResultInfo info;
    info.setName("an");
    info.setResult(outcome);
    info.setD_exp(exp);
    info.setD_exp_percent(percent);
    info.setD_money(money);
    return info;
}

TEST_F(Dialogs, ReportNamesTheOutcomeTheLevelAndMoneyChangesInAOneButtonDialog) {
    EXPECT_EQ(UIController::reportText(result(-1, 0, 0, 0)).substr(0, 8), "an: Lost");
    EXPECT_EQ(UIController::reportText(result(1, 0, 0, 0)).substr(0, 7), "an: Won");
    EXPECT_EQ(UIController::reportText(result(2, 0, 0, 0)).substr(0, 7), "an: Won");
    EXPECT_EQ(UIController::reportText(result(1, 10, 5, 12000)), "an: Won\nLevel+5\nMoney+12,000Zel.");
    EXPECT_EQ(UIController::reportText(result(-1, -3, -2, -500)), "an: Lost\nLevel-2\nMoney-500Zel.");
    UIController::startReportDlg(result(0, 0, 0, 0));
    EXPECT_EQ(dialogText(), "an: Draw\nNo change\nMoney");
    EXPECT_EQ(UIController::currentDialog()->numberOfButtons(), 1);
}

// ---------------------------------------------------------------- hotline and checks

// This machine cannot dial: the player reads the number to call instead.
TEST_F(Dialogs, NumberFromTheServerIsDialledOrShown) {
    UIController::callHotlineFromServer("19001234");
    auto opened = platform::UrlOpener::opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].url, "telprompt:19001234");
    EXPECT_EQ(dialogText(), "Call support 19001234");
}

// A link the server sends (information 12, a top-up page) opens outside the client; here no
// browser takes it, and the player reads so with its address.
TEST_F(Dialogs, ALinkFromTheServerThatNothingHereOpensIsToldWithItsAddress) {
    Message link(72);
    link.writeByte(12);
    link.writeUTF("http://example.invalid/topup");
    GlobalMessageHandler::getInstance().onMessage(link);
    platform::RunLoop::main().runPending();
    auto opened = platform::UrlOpener::opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].url, "http://example.invalid/topup");
    EXPECT_EQ(dialogText(), "This computer cannot open http://example.invalid/topup");
}

TEST_F(Dialogs, VersionsCompareByNumbers) {
    EXPECT_EQ(UIController::compareVersions("4.10", "4.9"), 1);
    EXPECT_EQ(UIController::compareVersions("4.0", "4"), 0);
    EXPECT_EQ(UIController::compareVersions("3.2.1", "4.0"), -1);
    EXPECT_TRUE(UIController::checkVersionToSendSMS()); // an iPhone on 6.1
    EXPECT_TRUE(UIController::checkVersioniOS5());
}

} // namespace
} // namespace kavo::test
