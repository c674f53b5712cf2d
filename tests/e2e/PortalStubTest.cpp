// The local portal stub (tools/portal-stub) as a person uses it: the client signs in on
// it and reaches a game's board list; the user "banned" is refused with a reason.
#include "app/UIController.h"
#include "platform/foundation/HttpClient.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "portal/GlobalLogicHandler.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/client/ClientTestSupport.h"

using namespace kavo;
using namespace kavo::test;

namespace {

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
