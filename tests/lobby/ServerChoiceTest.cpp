// The server choice: the list text, the sheet's rows, the pick, the sign-in after the
// connect and the one refetch of the list after a failed connect.
#include "app/KavoOnlineAppDelegate.h"
#include "lobby/LoginView.h"
#include "lobby/ServerListText.h"
#include "lobby/ServerView.h"
#include "net/IMobileClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"
#include "sdk/socialnet/SNSession.h"
#include "tests/support/Bytes.h"
#include "tests/support/StateWaits.h"
#include "tests/support/client/ClientTestSupport.h"

#include <functional>
#include <mutex>

using namespace kavo;
using namespace kavo::test;

namespace {

// Stands in for the connection: records where it connects, what is sent and closes.
class FakeSession : public IMobileClient {
public:
    bool isConnected() const override { return connected; }
    void setHandler(IMessageListener*) override {}
    bool connectToHost(const std::string& host, uint16_t port) override {
        std::lock_guard lock(mutex);
        events.push_back("connect " + host + ":" + std::to_string(port));
        connected = true;
        return true;
    }
    void sendMessage(Message message) override {
        std::lock_guard lock(mutex);
        events.push_back("send " + std::to_string(message.commandId()));
        sent.push_back(std::move(message));
    }
    void close() override {
        std::lock_guard lock(mutex);
        events.push_back("close");
        connected = false;
    }
    std::mutex mutex;
    std::vector<std::string> events;
    std::vector<Message> sent;
    bool connected = false;
};

class ServerChoice : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        GlobalService::getInstance().setSession(&session_);
    }
    void TearDown() override {
        GlobalService::getInstance().setSession(nullptr);
        ClientFixture::TearDown();
    }
    std::shared_ptr<LoginView> loginScreen() {
        return std::dynamic_pointer_cast<LoginView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    // The sheet shown over the log-in screen, as the social-network button does it
    // but in the password mode.
    std::shared_ptr<ServerView> showSheet(int kind = LoginView::kKindLogin) {
        launch();
        advance(0.1);
        auto login = loginScreen();
        login->setKindOfView(kind);
        auto sheet = ServerView::getInstance();
        login->view()->addSubview(sheet->view());
        sheet->viewDidAppear(true);
        return sheet;
    }
    static bool hasOverlay(ServerView& sheet) {
        return !sheet.view()->subviewsOfType<platform::ui::ActivityIndicatorView>().empty();
    }
    void refetch(ServerView& sheet) {
        sheet.doLoadServersFromURL();
        ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return !sheet.isRefetching(); }, kStateWait));
    }
    std::vector<std::string> names(const ServerView& sheet) {
        std::vector<std::string> result;
        for (const auto& server : sheet.listServers())
            result.push_back(server->sNAME());
        return result;
    }
    FakeSession session_;
};

TEST(ServerListTextTest, EachEntryGivesANameAHostAndAPort) {
    auto servers = ServerListText::parse("A|1.2.3.4:5000;B|h:80");
    ASSERT_EQ(servers.size(), 2u);
    EXPECT_EQ(servers[0]->sNAME(), "A");
    EXPECT_EQ(servers[0]->sIP(), "1.2.3.4");
    EXPECT_EQ(servers[0]->sPORT(), "5000");
    EXPECT_EQ(servers[1]->sNAME(), "B");
    EXPECT_EQ(servers[1]->sIP(), "h");
    EXPECT_EQ(servers[1]->sPORT(), "80");
}

TEST(ServerListTextTest, EntriesThatCannotBeSplitAreSkippedAndNothingIsTrimmed) {
    auto servers = ServerListText::parse("A|h:1;;no bar:1;no colon|x;D:1|y;E | e :2\n");
    ASSERT_EQ(servers.size(), 2u);
    EXPECT_EQ(servers[0]->sNAME(), "A");
    EXPECT_EQ(servers[1]->sNAME(), "E ");
    EXPECT_EQ(servers[1]->sIP(), " e ");
    EXPECT_EQ(servers[1]->sPORT(), "2\n") << "a line end stays in the last port";
    const std::pair<const char*, int> ports[] = {{"2\n", 2}, {"x80", 0}, {"", 0}, {"65535", 65535}, {"65536", 0}};
    for (const auto& [text, value] : ports)
        EXPECT_EQ(ServerListText::portValue(text), value) << text;
}

TEST_F(ServerChoice, AnEmptyStoredListIsReplacedByTheConfiguredListAndStored) {
    storeServerList("");
    auto sheet = showSheet();
    EXPECT_EQ(names(*sheet), std::vector<std::string>{ClientWorld::kServerName});
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("serverdata"), ClientWorld::get().defaultServerList());
    EXPECT_FALSE(hasOverlay(*sheet)) << "the overlay goes once the list is read";
    EXPECT_TRUE(sheet->isAllowLoadUrl());
    EXPECT_TRUE(drives("expect text=" + std::string(ClientWorld::kServerName) + "\nexpect id=btnDelete\n"));
}

TEST_F(ServerChoice, AStoredValueThatIsNotTextShowsTheConfiguredListWithoutStoringIt) {
    platform::UserDefaults::standard().setInt(5, "serverdata");
    auto sheet = showSheet();
    EXPECT_EQ(names(*sheet), std::vector<std::string>{ClientWorld::kServerName});
    EXPECT_EQ(platform::UserDefaults::standard().intForKey("serverdata"), 5);
}

TEST_F(ServerChoice, APickTargetsTheServerRemembersItAndConnectsWithAnOverlayOfAtMostTenSeconds) {
    storeServerList("A|h1:11;B|h2:22");
    auto sheet = showSheet();
    ASSERT_TRUE(drives("tap text=B\n"));
    EXPECT_EQ(GlobalService::IP(), "h2");
    EXPECT_EQ(GlobalService::PORT(), 22);
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.stringForKey("LoginServerName"), "B");
    EXPECT_EQ(defaults.stringForKey("LoginServerINDEX"), "1");
    EXPECT_EQ(session_.events, std::vector<std::string>{"connect h2:22"});
    EXPECT_TRUE(hasOverlay(*sheet));
    advance(9);
    EXPECT_TRUE(hasOverlay(*sheet));
    advance(1);
    EXPECT_FALSE(hasOverlay(*sheet)) << "the tenth tick removes the overlay";
    EXPECT_FALSE(sheet->isLoadingTimerRunning());

    // A second pick in the same showing closes the connection silently and connects anew.
    sheet->selectServerAtIndex(0);
    EXPECT_EQ(session_.events, (std::vector<std::string>{"connect h2:22", "close", "connect h1:11"}));
    // A refusal (10) during the sign-in ends the overlay and its ticker at once.
    Message refusal = Bytes().utf("Sai mật khẩu").message(10);
    GlobalMessageHandler::getInstance().onMessage(refusal);
    advance(0);
    EXPECT_FALSE(hasOverlay(*sheet));
    EXPECT_FALSE(sheet->isLoadingTimerRunning());
}

TEST_F(ServerChoice, TheConnectOKSignsInWithTheRememberedCredentialsInThePasswordMode) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString("an", "uname");
    defaults.setString("bimat", "password");
    auto sheet = showSheet(LoginView::kKindLogin);
    sheet->selectServerAtIndex(0);
    sheet->onConnectOK();
    platform::RunLoop::main().runPending();
    ASSERT_EQ(session_.sent.size(), 2u);
    EXPECT_EQ(session_.sent[0].commandId(), 72);
    EXPECT_EQ(session_.sent[0].data(), std::vector<uint8_t>{8});
    EXPECT_EQ(session_.sent[1].commandId(), 1);
    Message login = session_.sent[1];
    EXPECT_EQ(login.readUTF(), "an");
    EXPECT_EQ(login.readUTF(), "bimat");
    EXPECT_EQ(defaults.stringForKey("ipServer"), "127.0.0.1");
    EXPECT_EQ(defaults.intForKey("portServer"), portal().port());
}

TEST_F(ServerChoice, InTheSocialNetworkModeTheConnectOKSendsNoPassword) {
    auto sheet = showSheet(LoginView::kKindSocialNet);
    sheet->selectServerAtIndex(0);
    auto session = KavoOnlineAppDelegate::getInstance().session();
    ASSERT_TRUE(session && session->loginDialog()) << "the network's login page is shown";
    session->loginDialog()->cancel();
    EXPECT_FALSE(hasOverlay(*sheet)) << "a cancelled social-network login removes the overlay";
    sheet->onConnectOK();
    platform::RunLoop::main().runPending();
    std::vector<int16_t> sent;
    for (const auto& message : session_.sent)
        sent.push_back(message.commandId());
    EXPECT_EQ(sent, std::vector<int16_t>{72}) << "no token without an open session, and no password";
}

TEST_F(ServerChoice, ARefetchPicksTheSavedEntryAndConnectsToIt) {
    if (!ClientWorld::get().configurationMatches()) GTEST_SKIP() << "another bundle's configuration was read first";
    storeServerList("Old|o:1");
    platform::UserDefaults::standard().setString("1", "LoginServerINDEX");
    http().serveText("/servers.txt", "A|h1:1;B|h2:2;C|h3:3");
    auto sheet = showSheet();
    refetch(*sheet);
    EXPECT_FALSE(sheet->isAllowLoadUrl()) << "one refetch per showing";
    EXPECT_EQ(GlobalService::IP(), "h2");
    EXPECT_EQ(GlobalService::PORT(), 2);
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("LoginServerName"), "B");
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("serverdata"), "A|h1:1;B|h2:2;C|h3:3");
    EXPECT_EQ(session_.events.back(), "connect h2:2");
}

TEST_F(ServerChoice, ARefetchWithASavedIndexBeyondTheListTakesTheFirstEntry) {
    if (!ClientWorld::get().configurationMatches()) GTEST_SKIP() << "another bundle's configuration was read first";
    platform::UserDefaults::standard().setString("7", "LoginServerINDEX");
    http().serveText("/servers.txt", "A|h1:1;B|h2:2;C|h3:3");
    auto sheet = showSheet();
    refetch(*sheet);
    EXPECT_EQ(GlobalService::IP(), "h1");
    EXPECT_EQ(names(*sheet), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(sheet->tableView()->numberOfRows(0), 3) << "the table shows the new list";
}

TEST_F(ServerChoice, ARefetchSkipsAnEmptyLastEntryAndStopsAtOneThatCannotBeSplit) {
    if (!ClientWorld::get().configurationMatches()) GTEST_SKIP() << "another bundle's configuration was read first";
    http().serveText("/servers.txt", "A|h:1;");
    auto sheet = showSheet();
    refetch(*sheet);
    EXPECT_EQ(names(*sheet), std::vector<std::string>{"A"});

    http().serveText("/servers.txt", "A|h:1;broken;C|h:3");
    sheet->viewDidAppear(true);
    refetch(*sheet);
    EXPECT_EQ(names(*sheet), std::vector<std::string>{"A"}) << "the walk ends at the broken entry";

    // An empty entry in the middle takes no place: the saved second pick is B.
    platform::UserDefaults::standard().setString("1", "LoginServerINDEX");
    http().serveText("/servers.txt", "A|h1:1;;B|h2:2");
    sheet->viewDidAppear(true);
    refetch(*sheet);
    EXPECT_EQ(names(*sheet), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(GlobalService::IP(), "h2");
}

// Without connectivity the probe tells the player and nothing more is fetched; with
// it, a list without a usable entry is fetched, kept out, and the player told all the same.
TEST_F(ServerChoice, ARefetchWithoutAUsableAnswerKeepsTheListAndTellsTheConnectFailed) {
    if (!ClientWorld::get().configurationMatches()) GTEST_SKIP() << "another bundle's configuration was read first";
    struct Case {
        const char* what;
        std::function<void(TestHttpServer&)> serve;
        size_t fetches;
    };
    const std::vector<Case> cases{
        {"no connectivity", [](TestHttpServer& web) { web.answerStatus(503); }, 1},
        {"no usable entry", [](TestHttpServer& web) { web.serveText("/servers.txt", "nothing here"); }, 2},
    };
    for (const Case& c : cases) {
        storeServerList("Old|o:1");
        c.serve(http());
        const size_t before = http().requests().size();
        auto sheet = showSheet();
        refetch(*sheet);
        http().serveTexts();
        EXPECT_EQ(http().requests().size() - before, c.fetches) << c.what;
        EXPECT_EQ(names(*sheet), std::vector<std::string>{"Old"}) << c.what;
        EXPECT_EQ(platform::UserDefaults::standard().stringForKey("serverdata"), "Old|o:1") << c.what;
        EXPECT_TRUE(session_.events.empty()) << c.what << ": nothing to connect to";
        EXPECT_FALSE(hasOverlay(*sheet)) << c.what;
        advance(0.1);
        auto alerts = platform::ui::AlertView::visibleAlerts();
        ASSERT_EQ(alerts.size(), 1u) << c.what << ": told once";
        EXPECT_EQ(alerts.back()->message(), text("KAVO_connectFail")) << c.what;
        alerts.back()->dismissWithClickedButtonIndex(0, false);
        advance(0.1);
    }
}

TEST_F(ServerChoice, ARefetchThatNeverGetsAnAnswerTimesOutAndLeavesTheSheetUsable) {
    if (!ClientWorld::get().configurationMatches()) GTEST_SKIP() << "another bundle's configuration was read first";
    storeServerList("Old|o:1");
    http().holdConnections();
    auto sheet = showSheet();
    sheet->setRefetchTimeout(0.5);
    refetch(*sheet);
    http().serveTexts();
    EXPECT_EQ(names(*sheet), std::vector<std::string>{"Old"});
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("serverdata"), "Old|o:1");
    EXPECT_FALSE(hasOverlay(*sheet));
    advance(0.1);
    ASSERT_FALSE(platform::ui::AlertView::visibleAlerts().empty());
    EXPECT_EQ(platform::ui::AlertView::visibleAlerts().back()->message(), text("KAVO_connectFail"));
    platform::ui::AlertView::visibleAlerts().back()->dismissWithClickedButtonIndex(0, false);

    // The player picks the kept server.
    ASSERT_TRUE(drives("tap text=Old\n"));
    EXPECT_EQ(session_.events, std::vector<std::string>{"connect o:1"});
}

TEST_F(ServerChoice, TheCloseButtonSlidesTheSheetAway) {
    auto sheet = showSheet();
    EXPECT_TRUE(drives("tap id=btnDelete\nadvance 0.3\nexpect-not id=btnDelete\n"));
    EXPECT_EQ(sheet->view()->superview(), nullptr);
}

} // namespace
