// The local portal stub (tools/portal-stub) as a person uses it: the client signs in on
// it and reaches a game's board list; the user "banned" is refused with a reason.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "platform/foundation/HttpClient.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalLogicHandler.h"
#include "tests/support/Sockets.h"
#include "tests/support/client/ClientTestSupport.h"

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

using namespace kavo;
using namespace kavo::test;

namespace {

// The stub on two free ports, stopped with the object.
class StubProcess {
public:
    StubProcess() : port_(deadLoopbackPort()), httpPort_(deadLoopbackPort()) {
        const std::string port = std::to_string(port_);
        const std::string httpPort = std::to_string(httpPort_);
        const char* argv[] = {KAVO_PORTAL_STUB, "--port", port.c_str(), "--http-port", httpPort.c_str(), nullptr};
        if (posix_spawn(&pid_, KAVO_PORTAL_STUB, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = 0;
    }
    ~StubProcess() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    // Waits (at most 5 s) until the stub's pages answer.
    bool ready() const {
        for (int i = 0; i < 100 && pid_ > 0; ++i) {
            if (connectToLoopback(httpPort_).valid()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    uint16_t port() const { return port_; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(httpPort_) + path; }

private:
    uint16_t port_;
    uint16_t httpPort_;
    pid_t pid_ = 0;
};

class PortalStub : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
    }
    std::string signIn(const std::string& user) {
        return "screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername " + user +
               "\ntype id=txfPassword 123\ntap id=btnSignIn\nwait text=Stub\ntap text=Stub\n";
    }
    StubProcess stub_;
};

TEST_F(PortalStub, ServesTheServerListAndItsPages) {
    auto list = platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/servers.txt")));
    EXPECT_EQ(list.status, 200);
    EXPECT_EQ(list.body, "Kavo Local|127.0.0.1:" + std::to_string(stub_.port()));
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/event.html"))).status, 200);
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/guide.html"))).status, 200);
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/other"))).status, 404);
}

TEST_F(PortalStub, AnyPlayerSignsInAndReachesTheBoardListOfAGame) {
    launch();
    auto result =
        drive(signIn("khach") + "screen GameView 10\nadvance 0.5\ntap id=btnTLMN\nscreen BoardView 10\nadvance 0.5\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    EXPECT_TRUE(
        platform::RunLoop::main().runUntil([] { return GlobalLogicHandler::getInstance().boardList().size() == 6; }, 5))
        << "the stub's six boards arrive";
    EXPECT_EQ(UIController::gameType(), 3);
}

TEST_F(PortalStub, TheUserBannedIsRefusedWithAReason) {
    launch();
    auto result = drive(signIn("banned") + "wait contains=This account is locked 10\nscreen LoginView 1\n");
    EXPECT_TRUE(result.ok) << result.message << "\n" << log();
}

} // namespace

namespace {

TEST_F(PortalStub, RankingsProfileAndTransferAreServed) {
    launch();
    auto result =
        drive(signIn("khach") + "screen GameView 10\nadvance 0.5\ntap id=doShowLeaderboard\nscreen LeaderboardView 10\n"
                                "advance 0.5\nwait text=an 10\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
    result = drive("advance 0.5\ntap id=doShowProfileView\nscreen ProfileView 10\nadvance 0.5\n"
                   "wait text=khach 10\ntap id=btnItems\nadvance 0.1\nwait text=Cáo / Fox 10\n"
                   "tap id=showTransferZel\nadvance 0.5\ntype id=txtName binh\ntype id=txtMoney 20000\n"
                   "tap id=btnOK\nadvance 0.5\nwait contains=Sent to binh 10\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    EXPECT_EQ(UIController::myInfo()->money(), 1000000 - 20000) << "the stub keeps the player's money";
}

} // namespace

namespace {

TEST_F(PortalStub, LotteryPasswordAndAFriendsProfileAreServed) {
    launch();
    auto result = drive(signIn("khach") +
                        "screen GameView 10\nadvance 0.5\ntap id=showLottoSubView\nadvance 0.5\n"
                        "wait contains=Draw 10\ntype id=txfNumber 42\ntype id=txfMoney 600\ntap id=clickBuyLotto\n"
                        "wait contains=Bought 10\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    UIController::closeDialog();
    result = drive("advance 0.5\nwait text=42 : 600 ZEL 10\ntap id=slideOut\nadvance 0.5\nwait text=an 10\n"
                   "tap text=an\nadvance 0.5\nwait contains=Zel 10\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    result =
        drive("tap id=doClose\nadvance 0.5\ntap id=clickSetting\nadvance 0.5\ntap text=" + text("KAVO_ChangePassword") +
              "\nadvance 0.5\ntype id=txtOldPass 123\ntype id=txtNewPass 456\ntype id=txtConfirmNewPass 456\n"
              "tap id=onChangePass\nwait text=" +
              text("KAVO_changePassSuccess") + " 10\n");
    EXPECT_TRUE(result.ok) << result.message << "\n" << log();
}

} // namespace
