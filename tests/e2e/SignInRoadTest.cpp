// The sign-in road end to end: the client runs headless on the manual clock in this
// process against the test portal and the test HTTP server, driven like a person.
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/LoginView.h"
#include "lobby/ServerView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "portal/GlobalService.h"
#include "portal/model/KavoMessage.h"
#include "tests/support/Bytes.h"
#include "tests/support/NeverAcceptingListener.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <algorithm>

using namespace kavo;
using namespace kavo::test;

namespace {

// From the first screen to the pick of a server on the sheet.
std::string signInScript(const std::string& serverName) {
    return "screen LoginView\n"
           "advance 0.1\n"
           "tap id=btnSignIn_Clicked\n"
           "type id=txfUsername an\n"
           "type id=txfPassword bimat\n"
           "tap id=btnSignIn\n"
           "wait text=" +
           serverName + "\ntap text=" + serverName + "\n";
}

std::vector<uint8_t> utfField(const std::string& text) {
    std::vector<uint8_t> bytes{uint8_t(text.size() >> 8), uint8_t(text.size() & 0xFF)};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

class SignInRoad : public ClientFixture {};

TEST_F(SignInRoad, AFirstRunSignsInThroughTheFormAndTheServerChoiceAndOpensTheGameGrid) {
    // Mail kept from an earlier session of this player.
    auto earlier = std::make_shared<Player>();
    earlier->setIDDB(ClientWorld::kPlayerId);
    UIController::setMyInfo(earlier);
    UIController::restoreListMessage(UIController::readListMessage(ClientWorld::kPlayerId));
    auto kept = std::make_shared<KavoMessage>();
    kept->setFromName("ban");
    kept->setMessage("hen gap lai");
    UIController::addItemIntoListMessage(kept);
    UIController::signOutListMessage();
    UIController::setMyInfo(nullptr);

    launch();
    ASSERT_TRUE(drives(signInScript(ClientWorld::kServerName) + "screen GameView\nadvance 0.5\n"));

    ASSERT_TRUE(waitForCommand(2800));
    // connect -> 222, 1702; 220 -> 72/8, log-in 1; 3 -> 221, 72/11, 2800.
    const auto sent = portal().messages();
    std::vector<std::pair<int16_t, std::vector<uint8_t>>> road;
    for (const auto& message : sent) {
        if (message.commandId == 72 || message.commandId == 222 || message.commandId == 1702 ||
            message.commandId == 1 || message.commandId == 221 || message.commandId == 2800)
            road.push_back({message.commandId, message.commandId == 72 ? message.body : std::vector<uint8_t>{}});
    }
    const std::vector<std::pair<int16_t, std::vector<uint8_t>>> expected{{222, {}}, {1702, {}}, {72, {8}}, {1, {}},
                                                                         {221, {}}, {72, {11}}, {2800, {}}};
    ASSERT_GE(road.size(), expected.size());
    std::string sentInOrder;
    for (const auto& [command, body] : road)
        sentInOrder += " " + std::to_string(command) + (command == 72 && !body.empty() ? "/" + std::to_string(int(body[0])) : "");
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), road.begin())) << "the road's order:" << sentInOrder;

    std::vector<uint8_t> login = utfField("an");
    for (const auto& field : {utfField("bimat"), utfField(GlobalService::VERSION())})
        login.insert(login.end(), field.begin(), field.end());
    EXPECT_EQ(portal().messages(1).front().body, login);

    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.stringForKey("LoginServerName"), ClientWorld::kServerName);
    EXPECT_EQ(defaults.stringForKey("LoginServerINDEX"), "0");
    EXPECT_EQ(defaults.stringForKey("ipServer"), "127.0.0.1");
    EXPECT_EQ(defaults.intForKey("portServer"), portal().port());
    EXPECT_TRUE(defaults.boolForKey("firstTimeRun"));
    EXPECT_EQ(UIController::myInfo()->IDDB(), ClientWorld::kPlayerId);
    EXPECT_EQ(UIController::listMessageOwner(), ClientWorld::kPlayerId);
    auto mailbox = UIController::listMessage();
    ASSERT_EQ(mailbox.size(), 1u) << "the player's stored mailbox is back";
    EXPECT_EQ(mailbox.front()->message(), "hen gap lai");
}

TEST_F(SignInRoad, ARefusedSignInShowsTheServersReasonAndNoLostSignal) {
    portal().onCommand(1, [](Message&, TestPortal::Reply& reply) { reply.send(4, Bytes().utf("Sai mat khau")); });
    launch();
    ASSERT_TRUE(drives(signInScript(ClientWorld::kServerName) + "wait text=Sai mat khau\n"));
    ASSERT_TRUE(portal().waitForClientGone(kStateWait)) << "the client closes the refused connection";
    advance(1);
    EXPECT_EQ(dialogText(), "Sai mat khau");
    EXPECT_TRUE(drives("expect-not text=" + text("KAVO_lostSignal") + "\nscreen LoginView 30\n"));
    EXPECT_TRUE(portal().messages(2800).empty());
}

TEST_F(SignInRoad, ARejectedClientAndAServerCloseEndInTheConnectFailureNotice) {
    portal().onCommand(222, [](Message&, TestPortal::Reply& reply) { reply.send(220, Bytes().byte(0)); });
    launch();
    ASSERT_TRUE(drives(signInScript(ClientWorld::kServerName)));
    ASSERT_TRUE(waitForCommand(222));
    portal().closeClient();
    EXPECT_TRUE(
        drives("wait text=" + text("KAVO_connectFail") + "\nexpect-not text=" + text("KAVO_lostSignal") + "\n"));
    EXPECT_TRUE(portal().messages(1).empty()) << "no sign-in on a rejected connection";
    EXPECT_FALSE(ServerView::getInstance()->isAllowLoadUrl()) << "the one refetch of this showing was used";
    // The refetch runs on a worker thread: let it end before the process does.
    EXPECT_TRUE(platform::RunLoop::main().runUntil([] { return !ServerView::getInstance()->isRefetching(); }, 30));
}

TEST_F(SignInRoad, AFirstFailedConnectRefetchesTheServerListAndSignsIn) {
    if (!ClientWorld::get().configurationMatches()) GTEST_SKIP() << "another bundle's configuration was read first";
    storeServerList("Dead|127.0.0.1:" + std::to_string(deadLoopbackPort()));
    const std::string fetched = portalEntry("Moi");
    http().serveText("/servers.txt", fetched);
    launch();
    ASSERT_TRUE(drives(signInScript("Dead") + "screen GameView 30\nadvance 0.5\n"));
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.stringForKey("serverdata"), fetched) << "the fetched list is kept";
    EXPECT_EQ(defaults.stringForKey("LoginServerName"), "Moi");
    EXPECT_FALSE(portal().messages(1).empty());
}

// The first server never answers the connect; while its pick's overlay timer runs the
// player picks the second: the hanging connect is dropped and the second signs in.
TEST_F(SignInRoad, ASecondPickWhileTheFirstConnectHangsSignsInOnTheSecond) {
    NeverAcceptingListener silent;
    if (!silent.ready()) GTEST_SKIP() << "the kernel accepted every connection";
    storeServerList("Silent|127.0.0.1:" + std::to_string(silent.port()) + ";" + portalEntry("Second"));
    launch();
    ASSERT_TRUE(drives(signInScript("Silent") + "advance 3\n"));
    auto sheet = ServerView::getInstance();
    ASSERT_TRUE(sheet->isLoadingTimerRunning());
    const int connections = portal().connectionCount();

    sheet->selectServerAtIndex(1);
    ASSERT_TRUE(portal().waitForConnections(connections + 1, kStateWait));
    ASSERT_TRUE(drives("screen GameView 30\nadvance 0.5\n"));
    EXPECT_EQ(GlobalService::PORT(), portal().port());
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("LoginServerName"), "Second");
    ASSERT_EQ(portal().messages(1).size(), 1u) << "one sign-in, on the second server";
    EXPECT_EQ(portal().connectionCount(), connections + 1);
    EXPECT_TRUE(platform::ui::AlertView::visibleAlerts().empty()) << "the dropped connect is not a failure to tell";
}

TEST_F(SignInRoad, RegistrationConnectsToTheFirstServerOfTheListAndSends35) {
    storeServerList(portalEntry("First") + ";Other|127.0.0.1:" + std::to_string(deadLoopbackPort()));
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString("1", "LoginServerINDEX");
    launch();
    ASSERT_TRUE(drives("advance 0.1\n"
                       "tap id=btnRegister_Clicked\n"
                       "type id=txfUsername moi\n"
                       "type id=txfPassword pw1\n"
                       "type id=txfRetypePwd pw1\n"
                       "tap id=btnRegister\n"));
    ASSERT_TRUE(waitForCommand(35));
    std::vector<uint8_t> body = utfField("moi");
    const auto password = utfField("pw1");
    body.insert(body.end(), password.begin(), password.end());
    EXPECT_EQ(portal().messages(35).front().body, body);
    EXPECT_EQ(GlobalService::PORT(), portal().port());
    EXPECT_EQ(defaults.stringForKey("uname"), "") << "the log-in form remembers what it was given, not a registration";
}

TEST_F(SignInRoad, RecoveryAsksToConfirmWithCode8AndSends73Sub1) {
    launch();
    ASSERT_TRUE(drives("advance 0.1\n"
                       "tap id=lblForgetPassword\n"
                       "type id=txfUsername an\n"
                       "tap id=btnSend\n"
                       "wait text=" +
                       text("KAVO_confirmGetPassword") + "\n"));
    EXPECT_EQ(openDialogCode(), 8);
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("KAVO_FORGET_PASSWORD_USERNAME"), "an");
    ASSERT_TRUE(waitForCommand(1702)) << "connected to the configured server";
    ASSERT_TRUE(drives("tap text=" + text("KAVO_yes") + "\n"));
    ASSERT_TRUE(waitForCommand(73));
    EXPECT_EQ(portal().messages(73).front().body, std::vector<uint8_t>{1});
}

TEST_F(SignInRoad, TheLanguageButtonSwitchesEveryTextBetweenVietnameseAndEnglish) {
    launch();
    ASSERT_TRUE(drives("advance 0.1\nexpect text=Đăng nhập\ntap id=btnChangeLanguage\nexpect text=Sign in\n"
                       "expect text=Forgot password\nexpect text=Register\n"));
    auto login = std::dynamic_pointer_cast<LoginView>(KavoOnlineAppDelegate::getInstance().topViewController());
    ASSERT_TRUE(login);
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("language"), "en");
    ASSERT_TRUE(login->btnChangeLanguage()->currentBackgroundImage());
    EXPECT_EQ(login->btnChangeLanguage()->currentBackgroundImage()->name(), "tienganh.png");

    ASSERT_TRUE(drives("tap id=btnSignIn_Clicked\nexpect text=SIGN IN\nexpect text=USER NAME\ntap id=btnDelete\n"
                       "tap id=btnChangeLanguage\nexpect text=Đăng nhập\nexpect text=Quên mật khẩu\n"));
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("language"), "vi");
    EXPECT_EQ(login->btnChangeLanguage()->currentBackgroundImage()->name(), "tiengviet.png");
}

} // namespace
