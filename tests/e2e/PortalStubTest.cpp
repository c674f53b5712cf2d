// The local portal stub (tools/portal-stub) as a person uses it: the client signs in on
// it and reaches a game's board list; the user "banned" is refused with a reason.
#include "app/UIController.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/CoTuongView.h"
#include "platform/foundation/HttpClient.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "portal/GlobalLogicHandler.h"
#include "table/ChessPlayer.h"
#include "table/GameController.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>

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

// scripts/cotuong.drive on the manual clock: the stub is listed as "Stub" here and each
// of the script's pauses also moves the clock.
std::string chineseChessScript() {
    const char* source = std::getenv("KAVO_SOURCE_DIR");
    std::ifstream file(std::string(source ? source : ".") + "/scripts/cotuong.drive");
    std::string script;
    for (std::string line; std::getline(file, line);) {
        // A pause lets the stub's replies arrive (real time) and the screens animate (clock).
        if (line.rfind("sleep ", 0) == 0) line += "\nadvance " + line.substr(6);
        for (size_t at; (at = line.find("Kavo Local")) != std::string::npos;)
            line.replace(at, 10, "Stub");
        script += line + "\n";
    }
    return script;
}

TEST_F(PortalStub, ThePlayerSitsAtAChineseChessBoardStartsAndMovesAndTheStubAnswers) {
    const std::string script = chineseChessScript();
    ASSERT_NE(script.find("tap id=btnStart"), std::string::npos) << "the script was read";
    launch();
    auto result = drive(script);
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    auto table = GameController::getCoTuongView();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->black(), "khach") << "the player moves first and plays black";
    EXPECT_TRUE(table->board()->getUnitAtPoint(4, 2)) << "my cannon moved to the centre file";
    // The stub player answers a second after my move.
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            advance(0.1);
            return table->turn() == UIController::myInfo()->IDDB();
        },
        10))
        << "the stub player's reply came back";
    advance(0.5);
    EXPECT_EQ(table->board()->getAllPieces().size(), 31u) << "its first allowed move takes a piece";
}

} // namespace
