// scripts/tienlen.drive against the portal stub, headless on the manual clock: the
// player sits, starts, is dealt and opens with the three of spades; the card lands on
// the table and the stub's players answer.
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "platform/runtime/RunLoop.h"
#include "table/CardView.h"
#include "table/GameController.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>

namespace kavo::test {
namespace {

// The script as scripts/run plays it, with each pause also moving the manual clock and
// the stub listed as "Stub".
std::string tienLenScript() {
    const char* source = std::getenv("KAVO_SOURCE_DIR");
    std::ifstream file(std::string(source ? source : ".") + "/scripts/tienlen.drive");
    std::string script;
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("sleep ", 0) == 0) line += "\nadvance " + line.substr(6);
        for (size_t at; (at = line.find("Kavo Local")) != std::string::npos;)
            line.replace(at, 10, "Stub");
        script += line + "\n";
    }
    return script;
}

class TienLenStub : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
    }
    StubProcess stub_;
};

TEST_F(TienLenStub, ThePlayerOpensWithTheThreeOfSpadesAndTheStubPlaysOn) {
    const std::string script = tienLenScript();
    ASSERT_NE(script.find("tap id=btnFire"), std::string::npos) << "the script was read";
    launch();
    auto result = drive(script);
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    auto table = GameController::getTienLenView();
    ASSERT_TRUE(table);
    std::vector<int> hand;
    for (const auto& card : table->myHand())
        hand.push_back(card->cardID());
    EXPECT_EQ(hand.size(), 12u) << "the three of spades left my hand";
    EXPECT_EQ(std::count(hand.begin(), hand.end(), 0), 0);
    // The stub's players answer, a second apart, until the turn comes back to me.
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            advance(0.1);
            return table->currentPlayer() == UIController::myInfo()->IDDB();
        },
        10))
        << "the turn came back";
    ASSERT_FALSE(table->currentCards().empty()) << "a stub player's cards lie on the table";
}

} // namespace
} // namespace kavo::test
