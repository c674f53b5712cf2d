// Poker, chess, Caro, Bau Cua and Tetris from the game grid: each lists its boards with its
// seat class, and every way into one of their tables (a board of the list, a locked board,
// play now, a board by its number, a new board, an invitation) tells the player at once, in
// his language, that the game cannot be played in this version, asks the server nothing and
// leaves no wait behind; a join at a game the client plays that the server refuses still
// shows the server's refusal.
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/BoardView.h"
#include "platform/foundation/TextFormat.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"
#include "table/base/GameTableView.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace kavo::test {
namespace {

class SeatedGameLists : public ClientFixture, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        Resources::getInstance().setCurrentLanguage(GetParam());
        Resources::getInstance().loadLanguage();
        acceptGameChoices(portal());
        // An open board (room 1, board 5, stake 1000, two of four seats taken) and a locked one.
        answerBoardList(portal(), 100000,
                        {{1, 5, false, 1000, 1000000, false, 2, 4}, {1, 6, true, 2000, 1000000, false, 1, 4}});
    }
    static std::shared_ptr<BoardView> boardView() {
        return std::dynamic_pointer_cast<BoardView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    // An amount as the interface language groups it.
    static std::string grouped(const char* english) {
        std::string amount = english;
        if (GetParam() == std::string("vi")) std::replace(amount.begin(), amount.end(), ',', '.');
        return amount;
    }
    // The requests that would ask for a table: a join (8, or poker's 1900), play now (28,
    // poker's 1901), a new board (2702). Read once the portal has a request sent after the
    // road's (29, the friend list), so that one sent before it has arrived too.
    size_t tableRequests() {
        GlobalService::getInstance().requestFriendList();
        EXPECT_TRUE(waitForCommand(29));
        size_t count = 0;
        for (int16_t command : {8, 28, 1900, 1901, 2702})
            count += portal().messages(command).size();
        return count;
    }
};

TEST_P(SeatedGameLists, EveryWayIntoATableOfAGameNotPlayedHereSaysSoAtOnce) {
    struct Game {
        const char* gridButton;
        bool belowTheFold;
        int seatClass;
        int8_t type;
        const char* titleKey;
    };
    const Game games[] = {
        {"btnPoker", true, 3, 4, "KAVO_poker"},    {"btnCoVua", false, 0, 9, "KAVO_coVua"},
        {"btnCaro", true, 0, 1, "KAVO_caro"},      {"btnGameBauCua", false, 2, 18, "KAVO_BauCua"},
        {"btnXepGach", true, 0, 8, "KAVO_tetris"},
    };
    const char* roads[] = {"tap text=", "tap text=", "tap id=btnPlayNow", "tap id=btnGotoBoard",
                           "tap id=btnCreateBoard"};
    ASSERT_TRUE(signInByReply());
    advance(0.4);
    for (const Game& game : games) {
        SCOPED_TRACE(game.gridButton);
        const std::string notice = platform::formatText(text("KAVO_gameNotInThisVersion"), {text(game.titleKey)});
        const std::string scroll = game.belowTheFold ? "drag id=scrollView 0 -300\nadvance 1\n" : "";
        ASSERT_TRUE(drives(scroll + "tap id=" + game.gridButton +
                           "\nscreen BoardView 30\nadvance 0.4\nwait text=" + grouped("1,000") + " zel"));
        EXPECT_EQ(BoardView::type(), game.seatClass) << "the boards are listed";
        for (size_t road = 0; road < std::size(roads); ++road) {
            std::string tap = roads[road];
            if (road == 0) tap += grouped("1,000") + " zel";
            if (road == 1) tap += grouped("2,000") + " zel"; // the locked board
            SCOPED_TRACE(tap);
            portal().clearMessages();
            ASSERT_TRUE(drives(tap + "\n"));
            // At once: the clock has not moved since the tap.
            EXPECT_EQ(dialogText(), notice);
            EXPECT_EQ(tableRequests(), 0u) << "nothing asked of the server";
            ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\nadvance 3\n"));
            EXPECT_EQ(dialogText(), "") << "no wait ran out behind the notice";
            ASSERT_TRUE(boardView()) << "no sheet or table opened";
            EXPECT_TRUE(boardView()->viewList()->isUserInteractionEnabled());
        }
        KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
        advance(0.1);

        // An invitation to one of its boards, accepted on the grid.
        portal().clearMessages();
        ASSERT_TRUE(portal().sendToClient(
            Bytes().byte(game.type).byte(1).byte(5).utf("").utf("lan mời bạn").byte(0).int32(7001).message(74)));
        ASSERT_TRUE(drives("wait text=lan mời bạn 30\ntap text=" + text("KAVO_OK") + "\n"));
        EXPECT_EQ(dialogText(), notice);
        EXPECT_EQ(tableRequests(), 0u);
        ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\nadvance 3\n"));
        EXPECT_EQ(dialogText(), "");
    }

    // Tien Len opens its tables: the join is sent, and the server's refusal reads as it is.
    portal().onCommand(8, [](Message&, TestPortal::Reply& reply) { reply.send(10, Bytes().utf("Bàn đã đủ người")); });
    ASSERT_TRUE(
        drives("drag id=scrollView 0 300\nadvance 1\ntap id=btnTLMN\nscreen BoardView 30\nadvance 0.4\nwait text=" +
               grouped("1,000") + " zel\ntap text=" + grouped("1,000") + " zel\nwait text=Bàn đã đủ người 30\n"));
    EXPECT_FALSE(portal().messages(8).empty());
    ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\nadvance 3\n"));
    EXPECT_EQ(dialogText(), "") << "the refusal ended the join's wait";
}

INSTANTIATE_TEST_SUITE_P(Languages, SeatedGameLists, ::testing::Values("vi", "en"));

} // namespace
} // namespace kavo::test
