// The question a table asks when I leave it during a game, answered by tapping its buttons
// by the words they show.
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "games/poker/PokerView.h"
#include "games/tetris/TetrisView.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/GameTableView.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

using Show = void (*)(int8_t, int8_t, int32_t, int32_t, const PlayerList&);

class LeaveQuestion : public TableTest {
protected:
    // The table of `gameType`, pushed as a join pushes it, in a game.
    std::shared_ptr<GameTableView> playingAt(int8_t gameType, Show show) {
        UIController::setGameType(gameType);
        auto me = playerRecord<TienLenPlayer>(7, "me", 1000);
        UIController::setMyInfo(me);
        const PlayerList players = {me, playerRecord<TienLenPlayer>(8, "an", 1000)};
        platform::runOnMainThread([&] { show(2, 5, 7, 1000, players); });
        runMainThread();
        platform::RunLoop::main().advance(1);
        auto table = std::dynamic_pointer_cast<GameTableView>(top());
        if (table) table->setIsPlaying(true);
        client.clear();
        return table;
    }
};

// The button that says no keeps me at the table and sends nothing; the one that says yes
// sends the leave and takes me off the table. In either language, at either table.
TEST_F(LeaveQuestion, ItsNoStaysAndItsYesLeaves) {
    const std::pair<int8_t, Show> tables[] = {{8, &GameController::showTetrisScreenWithRoom},
                                              {4, &GameController::showPokerScreenWithRoom}};
    for (const char* language : {"vi", "en"}) {
        Resources::getInstance().setCurrentLanguage(language);
        Resources::getInstance().loadLanguage();
        for (const auto& [gameType, show] : tables) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(gameType));
            auto table = playingAt(gameType, show);
            ASSERT_TRUE(table);
            table->doLeaveBoard();
            ASSERT_EQ(dialogText(), text("KAVO_doYouWantExit"));
            drive("tap text=" + text("KAVO_no"));
            runMainThread();
            platform::RunLoop::main().advance(1);
            EXPECT_EQ(dialogText(), "");
            EXPECT_TRUE(top() == table) << "\"" << text("KAVO_no") << "\" left the table";
            EXPECT_TRUE(client.sent().empty()) << "\"" << text("KAVO_no") << "\" sent something";
            table->doLeaveBoard();
            ASSERT_EQ(dialogText(), text("KAVO_doYouWantExit"));
            drive("tap text=" + text("KAVO_yes"));
            runMainThread();
            platform::RunLoop::main().advance(1);
            EXPECT_TRUE(client.sentOnce(15, {2, 5})) << "\"" << text("KAVO_yes") << "\" sent no leave";
            EXPECT_TRUE(top() != table) << "\"" << text("KAVO_yes") << "\" kept me at the table";
        }
    }
}

} // namespace
} // namespace kavo::test
