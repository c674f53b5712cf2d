// Pictures of the chess, Caro, Tetris, poker and Bau Cua tables with players seated,
// phone and tablet, written into the build folder for a person to look at.
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "table/base/SeatedTableView.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

using ShowOperation = void (*)(int8_t, int8_t, int32_t, int32_t, const PlayerList&);

class SeatedTableShots : public TableShotsTest {
protected:
};

std::shared_ptr<Player> seated(int32_t id, const std::string& name, int64_t money) {
    return playerRecord<Player>(id, name, money);
}

TEST_P(SeatedTableShots, EveryTableIsDrawnWithItsPlayers) {
    Resources::getInstance().initAfterLogin();
    auto me = seated(7, "me", 250000);
    UIController::setMyInfo(me);
    const PlayerList two = {me, seated(8, "an", 120000)};
    const PlayerList six = {me, seated(8, "an", 120000), seated(9, "binh", 5400), seated(10, "cuong", 1000000),
                            seated(11, "dung", 77000)};
    struct Case {
        const char* name;
        int8_t gameType;
        ShowOperation show;
        const PlayerList* players;
    };
    const Case cases[] = {
        {"chess", 9, &GameController::showCoVuaScreenWithRoom, &two},
        {"caro", 1, &GameController::showCaroScreenWithRoom, &two},
        {"tetris", 8, &GameController::showTetrisScreenWithRoom, &two},
        {"poker", 4, &GameController::showPokerScreenWithRoom, &six},
        {"baucua", 18, &GameController::showBauCuaScreenWithRoom, &six},
    };
    for (const auto& c : cases) {
        UIController::setGameType(c.gameType);
        const PlayerList players = *c.players;
        auto show = c.show;
        platform::runOnMainThread([show, players] { show(1, 4, 7, 1000, players); });
        runMainThread();
        platform::RunLoop::main().advance(1.0);
        auto table = std::dynamic_pointer_cast<SeatedTableView>(top());
        ASSERT_TRUE(table) << c.name;
        EXPECT_EQ(table->seatName(1)->text(), "an") << c.name;
        const std::string path = std::string("table-") + c.name + "-" + device() + ".png";
        expectReadable(path);
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, SeatedTableShots,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet));

} // namespace
} // namespace kavo::test
