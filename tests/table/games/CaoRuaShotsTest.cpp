// Pictures of the six-seat Cao Rua table mid-hand, with a peek and with a seat's menu open,
// phone and tablet, written into the build folder for a person to look at.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/caorua/CaoRuaMessageHandler.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

class CaoRuaShots : public TableShotsTest {
protected:
    void SetUp() override {
        TableShotsTest::SetUp();
        Resources::getInstance().initAfterLogin();
        UIController::setMyInfo(playerRecord<TienLenPlayer>(7, "me", 250000));
        UIController::setGameType(17);
    }
    void receive(int16_t command, const Bytes& body) {
        Message message = body.message(command);
        CaoRuaMessageHandler::getInstance()->onMessage(message);
        runMainThread();
    }
    // `only`: a menu open over the table, the one thing the player reads then.
    void shoot(const std::string& name, const platform::ui::View* only = nullptr,
               const std::vector<std::string>& forced = {}) {
        receiveUnreadMail();
        const std::string path = "table-caorua-" + name + "-" + device() + ".png";
        expectReadable(path, only, forced);
    }
};

TEST_P(CaoRuaShots, SixSeatsMidHandAndWithASeatMenuOpen) {
    Bytes join = Bytes().byte(2).byte(5).int32(7).int32(5000);
    join.int32(7).utf("me").int64(250000).int16(1).int32(300).boolean(false);
    join.int32(8).utf("lan").int64(120000).int16(2).int32(300).boolean(true);
    join.int32(9).utf("minh").int64(90000).int16(3).int32(300).boolean(true);
    join.int32(-1);
    join.int32(10).utf("hoa").int64(70000).int16(4).int32(300).boolean(true);
    join.int32(-1);
    receive(8, join);
    auto table = GameController::getCaoRuaView();
    ASSERT_TRUE(table);
    receive(20, Bytes().byte(2).byte(5).byte(15).int32(5000).raw({1, 22, 47}));
    platform::RunLoop::main().advance(2.0);
    receive(21, Bytes().byte(2).byte(5).int32(9).raw({13, 0xff, 30}));
    receive(9, Bytes().byte(2).byte(5).int32(8).utf("nhanh len!"));
    // Mid-hand, my first card enlarged under the peek's cover, dragged part way off.
    drive("tap id=btnNanBai\nadvance 0.4\ndrag id=imgBaiTiNanBai 8 6");
    EXPECT_TRUE(table->peek().isPeeking());
    EXPECT_EQ(table->viewNanBai()->frame().size.width, device() == "tablet" ? 1024 : 480)
        << "the backdrop covers the table";
    shoot("hand");
    // My hand's bar runs: the arrow beside my seat says so there too.
    EXPECT_FALSE(table->progressTimer()->isHidden());
    EXPECT_FALSE(table->imgMyTurn()->isHidden());
    // The server turns it: the peek closes and the seat menu can open.
    receive(21, Bytes().byte(2).byte(5).int32(7).raw({1, 0xff, 0xff}));
    platform::RunLoop::main().advance(0.5);
    EXPECT_FALSE(table->peek().isPeeking());
    // Every seated player speaks at once: the neighbours' bubbles lie apart and off my cards.
    for (int32_t id : {7, 8, 9, 10})
        receive(9, Bytes().byte(2).byte(5).int32(id).utf("nhanh lên nào"));
    platform::RunLoop::main().advance(0.2);
    // The right seats' bubbles end 55 points from the right edge and grow left with their
    // text: a long line reaches the cards left of them.
    shoot("bubbles", nullptr, {"is covered by the bubble chat1", "is covered by the bubble chat2"});
    drive("tap id=btnSeat1\nadvance 0.6");
    EXPECT_FALSE(table->viewPlayerMenu()->isHidden());
    shoot("seatmenu", table->viewPlayerMenu().get());
}

INSTANTIATE_TEST_SUITE_P(Devices, CaoRuaShots,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet));

} // namespace
} // namespace kavo::test
