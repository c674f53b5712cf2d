// Pictures of a Tien Len MB hand in play, phone and tablet, written into the build
// folder: my hand laid out 30 points above the bottom on a tablet, a heart on the table.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/tienlenmb/TienLenMBLogicHandler.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "portal/GlobalService.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

class TienLenMBShots : public TableTest, public ::testing::WithParamInterface<bool> {
protected:
    const char* language() const override { return "vi"; }
    platform::ui::Idiom idiom() const override {
        return GetParam() ? platform::ui::Idiom::Tablet : platform::ui::Idiom::Phone;
    }
};

TEST_P(TienLenMBShots, AHandInPlayEndsItsGapAboveTheBottom) {
    const bool tablet = GetParam();
    UIController::myInfo()->setIDDB(7);
    UIController::setGameType(12);
    Resources::getInstance().initAfterLogin();
    GlobalService::getInstance().setSession(&client);
    TienLenPlayerList players;
    for (int32_t id : {7, 8, 9, 6}) {
        players.push_back(std::make_shared<TienLenPlayer>());
        players.back()->setIDDB(id);
        players.back()->setName("p" + std::to_string(id));
        players.back()->setMoney(120000);
    }
    auto& logic = TienLenMBLogicHandler::getInstance();
    logic.onJoinGameSuccessWithRoomId(2, 3, 7, 500, players);
    runMainThread();
    auto table = GameController::getTienLenMBView();
    ASSERT_TRUE(table);
    logic.onStartGameWithRoomId(2, 3, {3, 7, 11, 16, 21, 27, 30, 35, 39, 41, 46, 48, 50}, 20, 8);
    platform::RunLoop::main().advance(2);
    runMainThread();
    logic.onMoveWithRoomId(2, 3, 8, {19}, 7);
    runMainThread();
    table->myHand()[5]->setSelected();
    platform::RunLoop::main().advance(1);
    runMainThread();

    const auto hand = table->myHand();
    ASSERT_EQ(hand.size(), 13u);
    EXPECT_EQ(hand[0]->frame().maxY(), tablet ? 768 - 30 : 320 - 5) << "the hand's gap above the bottom";
    const std::string path = std::string("tienlenmb-hand-") + (tablet ? "tablet" : "phone") + ".png";
    expectReadable(path);
}

INSTANTIATE_TEST_SUITE_P(Devices, TienLenMBShots, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Tablet" : "Phone"); });

} // namespace
} // namespace kavo::test
