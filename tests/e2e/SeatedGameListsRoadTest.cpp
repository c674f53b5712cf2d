// Poker, chess, Caro, Bau Cua and Tetris from the game grid: each lists its boards with
// its seat class, a tap on a board asks to join it, and no table opens (the join reply
// of these games is not known), so the list takes taps again after two seconds.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/BoardView.h"
#include "net/Message.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/GameTableView.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

class SeatedGameLists : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        acceptGameChoices(portal());
        // One open board: room 1, board 5, stake 1000, two of four seats taken.
        answerBoardList(portal(), 100000, {{1, 5, false, 1000, 1000000, false, 2, 4}});
    }
    static std::shared_ptr<BoardView> boardView() {
        return std::dynamic_pointer_cast<BoardView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
};

TEST_F(SeatedGameLists, EachGameListsItsBoardsAndAJoinOpensNoTable) {
    struct Case {
        const char* gridButton;
        bool belowTheFold;
        int seatClass;
        int16_t joinCommand;
    };
    const Case cases[] = {
        {"btnPoker", true, 3, 1900},    {"btnCoVua", false, 0, 8},  {"btnCaro", true, 0, 8},
        {"btnGameBauCua", false, 2, 8}, {"btnXepGach", true, 0, 8},
    };
    ASSERT_TRUE(signInByReply());
    advance(0.4);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gridButton);
        portal().clearMessages();
        const std::string scroll = c.belowTheFold ? "drag id=scrollView 0 -300\nadvance 1\n" : "";
        ASSERT_TRUE(
            drives(scroll + "tap id=" + c.gridButton + "\nscreen BoardView 5\nadvance 0.4\nwait text=1000 zel"));
        EXPECT_EQ(BoardView::type(), c.seatClass);

        ASSERT_TRUE(drive("tap text=1000 zel").ok);
        ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return !portal().messages(c.joinCommand).empty(); }, 5));
        Message join(c.joinCommand, portal().messages(c.joinCommand)[0].body);
        EXPECT_EQ(join.readByte(), 1);
        EXPECT_EQ(join.readByte(), 5);
        EXPECT_FALSE(boardView()->viewList()->isUserInteractionEnabled());
        advance(2.0);
        ASSERT_TRUE(boardView()) << "no table opened";
        EXPECT_FALSE(
            std::dynamic_pointer_cast<GameTableView>(KavoOnlineAppDelegate::getInstance().topViewController()));
        EXPECT_TRUE(boardView()->viewList()->isUserInteractionEnabled());
        EXPECT_EQ(BoardView::numOfTouchUp(), 0);

        // The join's wait has run out by now and says so; the player closes the notice.
        UIController::closeDialog();
        // Back to the grid for the next game.
        KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
        advance(0.1);
    }
}

} // namespace
} // namespace kavo::test
