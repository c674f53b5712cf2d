// The shared table sheets against the local portal stub: a person signed in on it
// opens a table's invitation tabs and gift sheet and sees the stub's lists, and a
// gift given to a player at the table comes back as the gift reply, from its giver, who
// paid its price.
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/menuGift.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/client/ClientTestSupport.h"

using namespace kavo;
using namespace kavo::test;

namespace {

class TableSheetsOnTheStub : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
    }
    // Signs in and sits at board 1 of Tien Len from the board list, beside the stub's
    // players; the one the sheets act on is lan, seated there.
    std::shared_ptr<TienLenView> seatAtATable() {
        launch();
        EXPECT_TRUE(
            drives("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername khach\n"
                   "type id=txfPassword 123\ntap id=btnSignIn\nwait text=Stub\ntap text=Stub\n"
                   "screen GameView 30\nadvance 0.5\ntap id=btnTLMN\nscreen BoardView 30\nadvance 0.5\n"
                   "wait text=100 zel 30\ntap text=100 zel\nscreen TienLenView 30\nadvance 1.5\nwait text=lan 30\n"));
        auto table = topScreenAs<TienLenView>();
        if (!table) return table;
        for (const auto& player : table->players())
            if (player && player->name() == "lan") table->setCurrentControlPlayer(player);
        return table;
    }
    StubProcess stub_;
};

TEST_F(TableSheetsOnTheStub, BothInvitationTabsShowTheStubsPlayers) {
    auto table = seatAtATable();
    ASSERT_TRUE(table);
    GlobalService::getInstance().requestWaitingList();
    table->openSheet(table->inviteView());
    EXPECT_TRUE(drives("wait text=lan 30\nwait text=39.500.000 30\ntap id=btnFriend\nwait text=an 30\n"
                       "expect-not text=binh\nexpect-not text=chi\n"));
}

TEST_F(TableSheetsOnTheStub, TheGiftSheetListsTheCatalogueAndAGiftComesBack) {
    auto table = seatAtATable();
    ASSERT_TRUE(table);
    table->showGiftView();
    ASSERT_TRUE(drives("wait text=Hoa 30\nwait id=gift4102 30\ntap text=Bánh\nwait id=gift4201 30\n"
                       "tap id=gift4203\ntap id=btnTang\n"));
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            advance(0.5);
            return !table->lastGiftText().empty();
        },
        kStateWait))
        << log();
    EXPECT_EQ(table->lastGiftText(), "khach -> lan #4203") << "from its giver, to the player at the table";
    EXPECT_TRUE(
        platform::RunLoop::main().runUntil([] { return UIController::myInfo()->money() == 1000000 - 3000; }, 30))
        << "the giver paid its price: " << UIController::myInfo()->money();
}

} // namespace
