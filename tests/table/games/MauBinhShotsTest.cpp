// Pictures of the Mau Binh table, phone and tablet, in Vietnamese: my thirteen cards dealt
// for arranging, with the arranging buttons and the seats' names and money, written into
// the build folder for a person to look at and read by the overlap test.
#include "app/UIController.h"
#include "games/maubinh/MauBinhLogicHandler.h"
#include "games/maubinh/MauBinhView.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

std::shared_ptr<TienLenPlayer> seated(int32_t id, const std::string& name) {
    return playerRecord<TienLenPlayer>(id, name, id == -1 ? 0 : 500000, 0, id != -1);
}

class MauBinhShots : public TableShotsTest {
protected:
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            platform::RunLoop::main().advance(MauBinhView::kTick);
            runMainThread();
        }
    }
};

TEST_P(MauBinhShots, MyHandDealtForArrangingWithTheButtonsAndTheSeats) {
    auto me = UIController::myInfo();
    me->setIDDB(10);
    me->setName("an");
    UIController::setGameType(16);
    auto& logic = MauBinhLogicHandler::getInstance();
    logic.onJoinGameSuccessWithRoomId(1, 4, 10, 500,
                                      {seated(10, "an"), seated(20, "lan"), seated(30, "minh"), seated(40, "hoa")});
    runMainThread();
    auto table = GameController::getMauBinhView();
    ASSERT_TRUE(table);
    ticks(4);
    std::vector<int8_t> hand;
    for (int8_t id : {0, 5, 9, 14, 18, 23, 27, 32, 36, 41, 45, 50, 51})
        hand.push_back(id);
    logic.onStartWithRoomId(1, 4, 60, hand, -1);
    runMainThread();
    ticks(40);
    receiveUnreadMail();
    const std::string path = "maubinh-hand-" + device() + ".png";
    expectReadable(path);
}

INSTANTIATE_TEST_SUITE_P(Devices, MauBinhShots,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet));

} // namespace
} // namespace kavo::test
