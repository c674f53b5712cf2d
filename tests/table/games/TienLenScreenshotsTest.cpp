// Pictures of a Tien Len hand in play, phone and tablet, written into the build folder
// for a person to look at: my hand laid out, one card lifted, a pair on the table.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenLogicHandler.h"
#include "games/tienlen/TienLenView.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

class TienLenShots : public TableTest, public ::testing::WithParamInterface<platform::ui::Idiom> {
protected:
    const char* language() const override { return "vi"; }
    platform::ui::Idiom idiom() const override { return GetParam(); }
};

std::shared_ptr<TienLenPlayer> seated(int32_t id, const std::string& name) {
    auto player = std::make_shared<TienLenPlayer>();
    player->setIDDB(id);
    player->setName(name);
    player->setMoney(250000);
    return player;
}

TEST_P(TienLenShots, AHandInPlayWithAPairOnTheTable) {
    const bool tablet = GetParam() == platform::ui::Idiom::Tablet;
    UIController::myInfo()->setIDDB(7);
    UIController::setGameType(3);
    Resources::getInstance().initAfterLogin();
    GlobalService::getInstance().setSession(&client);
    auto& logic = TienLenLogicHandler::getInstance();
    logic.onJoinGameSuccessWithRoomId(1, 4, 7, 1000, {seated(7, "me"), seated(8, "an"), seated(9, "binh")});
    runMainThread();
    auto table = GameController::getTienLenView();
    ASSERT_TRUE(table);
    logic.onStartGameWithRoomId(1, 4, {47, 2, 9, 15, 51, 18, 22, 26, 29, 33, 36, 40, 44}, 20, 8);
    runMainThread();
    platform::RunLoop::main().advance(3);
    runMainThread();
    logic.onMoveWithRoomId(1, 4, 8, {24, 25}, 7);
    runMainThread();
    table->myHand()[4]->setSelected();
    platform::RunLoop::main().advance(1);
    runMainThread();

    const auto hand = table->myHand();
    ASSERT_EQ(hand.size(), 13u);
    EXPECT_EQ(hand[1]->frame().x() - hand[0]->frame().x(), tablet ? 66 : 30);
    EXPECT_EQ(hand[0]->frame().maxY(), tablet ? 768 - 50 : 320 - 5) << "the hand's gap above the bottom";
    const std::string path = std::string("tienlen-hand-") + (tablet ? "tablet" : "phone") + ".png";
    expectReadable(path);
}

INSTANTIATE_TEST_SUITE_P(Devices, TienLenShots,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet),
                         [](const auto& info) {
                             return info.param == platform::ui::Idiom::Tablet ? std::string("Tablet")
                                                                              : std::string("Phone");
                         });

} // namespace
} // namespace kavo::test
