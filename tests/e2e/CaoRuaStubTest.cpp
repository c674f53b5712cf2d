// scripts/caorua.drive against the local portal stub, on the manual clock: the stub
// seats the player at its six-place Cao Rua table, buzzes back, deals a hand, turns
// the stub players' cards and reveals every hand.
#include "games/caorua/CaoRuaView.h"
#include "table/GameController.h"
#include "table/TienLenPlayer.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>

namespace kavo::test {
namespace {

// The script with the stub listed as "Stub" and each pause also moving the clock.
std::string caoRuaScript() {
    const char* source = std::getenv("KAVO_SOURCE_DIR");
    std::ifstream file(std::string(source ? source : ".") + "/scripts/caorua.drive");
    std::string script;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("sleep ", 0) == 0) line += "\nadvance " + line.substr(6);
        if (const auto at = line.find("Kavo Local"); at != std::string::npos) line.replace(at, 10, "Stub");
        script += line + "\n";
    }
    return script;
}

class CaoRuaStub : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
    }
    StubProcess stub_;
};

TEST_F(CaoRuaStub, TheScriptPlaysAHandAtTheSixPlaceTable) {
    const std::string script = caoRuaScript();
    ASSERT_NE(script.find("tap id=btnCaoRua"), std::string::npos) << "the script was read";
    launch();
    auto result = drive(script);
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    auto table = GameController::getCaoRuaView();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->seats(), (std::array<int, 6>{0, 1, 2, 3, 4, 5}));
    int seated = 0;
    for (const auto& player : table->players())
        seated += player->IDDB() != -1 ? 1 : 0;
    EXPECT_EQ(seated, 4) << "the player and three stub players";
    auto lan = std::dynamic_pointer_cast<TienLenPlayer>(table->playerWithId(4001));
    ASSERT_TRUE(lan && lan->cards());
    for (const auto& card : *lan->cards())
        EXPECT_NE(card->cardView().accessibilityIdentifier(), "cardBack") << "the reveal showed lan's hand";
    EXPECT_FALSE(table->peek().isPeeking()) << "the peek ended with the stub's echo";
    EXPECT_EQ(table->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_start"))
        << "continue brought the owner's start back";
}

} // namespace
} // namespace kavo::test
