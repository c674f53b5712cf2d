// The Cao Rua road end to end: a signed-in client on the manual clock against the test
// portal, driven like a person from the game grid to a six-place table, through a hand
// and back to the board list.
#include "app/UIController.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"
#include "table/BCCardView.h"
#include "table/GameController.h"
#include "table/TienLenPlayer.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int32_t kLan = 81;
constexpr int32_t kMinh = 82;
constexpr int32_t kHoa = 83;

// A place of a join: an empty one is its four id bytes.
Bytes& place(Bytes& bytes, int32_t id, const std::string& name = "", bool ready = false) {
    bytes.int32(id);
    if (id == -1) return bytes;
    return bytes.utf(name).int64(500000).int16(1).int32(300).boolean(ready);
}

class CaoRuaRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        portal().onCommand(61, [](Message& request, TestPortal::Reply& reply) {
            Message accepted(61);
            accepted.writeByte(request.readByte());
            reply.send(accepted);
        });
        portal().onCommand(2700, [](Message&, TestPortal::Reply& reply) {
            reply.send(Bytes()
                           .int32(100000)
                           .int32(1)
                           .byte(2)
                           .byte(7)
                           .boolean(false)
                           .int32(1000)
                           .int32(10000)
                           .boolean(false)
                           .byte(3)
                           .byte(6)
                           .byte(0)
                           .message(2700));
        });
    }
    void signInAndOpenTheList() {
        platform::UserDefaults::standard().setString("Khach", "KAVO_LOGIN_USERNAME");
        launch();
        const int connections = portal().connectionCount();
        GlobalService::getInstance().connect();
        ASSERT_TRUE(portal().waitForConnections(connections + 1, 5));
        ASSERT_TRUE(
            portal().sendToClient(Bytes().int32(kMe).int64(ClientWorld::kPlayerMoney).int16(3).int32(1500).message(3)));
        auto result = drive("screen GameView 5\nadvance 0.5\ndrag id=scrollView 0 -300\nadvance 1\ntap id=btnCaoRua\n"
                            "screen BoardView 5\nadvance 0.5\n"
                            "wait text=1000 zel 5\ntap text=1000 zel");
        ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    }
    void send(const Message& message) {
        ASSERT_TRUE(portal().sendToClient(message));
        platform::RunLoop::main().runUntil([] { return false; }, 0.2);
        advance(0);
    }
    std::vector<uint8_t> lastSent(int16_t command) {
        platform::RunLoop::main().runUntil([&] { return !portal().messages(command).empty(); }, 5);
        const auto all = portal().messages(command);
        return all.empty() ? std::vector<uint8_t>{} : all.back().body;
    }
    std::shared_ptr<CaoRuaView> table() { return GameController::getCaoRuaView(); }
    std::string title(const std::shared_ptr<platform::ui::Button>& button) {
        return button->titleForState(platform::ui::ControlState::Normal);
    }
};

TEST_F(CaoRuaRoad, APlayerSitsAtSixPlacesReadiesPlaysAHandAndLeaves) {
    signInAndOpenTheList();
    EXPECT_EQ(lastSent(8), (std::vector<uint8_t>{2, 7, 0, 0})) << "the join, no password";

    Bytes join = Bytes().byte(2).byte(7).int32(kLan).int32(1000);
    place(join, kLan, "lan", true);
    place(join, -1);
    place(join, kMinh, "minh", true);
    place(join, -1);
    place(join, kMe, "Khach");
    place(join, kHoa, "hoa", true);
    send(join.message(8));
    ASSERT_TRUE(drive("screen CaoRuaView 5\nadvance 0.5").ok);
    EXPECT_EQ(table()->seats(), (std::array<int, 6>{4, 5, 0, 1, 2, 3}));
    EXPECT_EQ(title(table()->seat(2).btnUsername), "lan");
    EXPECT_FALSE(table()->seat(2).ok->isHidden()) << "the owner's mark";
    EXPECT_EQ(title(table()->seat(3).btnSeat), text("KAVO_invite"));
    EXPECT_EQ(title(table()->seat(5).btnSeat), text("KAVO_invite"));

    // Ready: sent, and the button hides until the server answers.
    ASSERT_TRUE(drive("tap id=btnStart").ok);
    EXPECT_EQ(lastSent(16), (std::vector<uint8_t>{2, 7, 1}));
    EXPECT_TRUE(table()->btnStart()->isHidden());
    send(Bytes().int32(kMe).boolean(true).message(16));
    EXPECT_EQ(title(table()->btnStart()), text("KAVO_noReady"));

    // The owner changes the stake: every ready flag clears and ready comes back.
    send(Bytes().byte(2).byte(7).int32(2000).message(19));
    advance(0.1);
    for (const auto& player : table()->players())
        EXPECT_EQ(player->isReady(), 0) << player->name();
    EXPECT_EQ(title(table()->btnStart()), text("KAVO_ready"));

    // A hand: my cards, the dealer's pile, the others' turns.
    GameController::setLevelRoom(2);
    send(Bytes().byte(2).byte(7).byte(10).int32(2000).raw({4, 17, 30}).message(20));
    EXPECT_FALSE(table()->imgViewDealerCards()->isHidden());
    EXPECT_EQ(table()->imgViewDealerCards()->accessibilityLabel(), "img_CaoRua_DealerCardRed.png");
    EXPECT_FALSE(table()->btnNanBai()->isHidden());
    EXPECT_FALSE(table()->progressTimer()->isHidden());
    send(Bytes().byte(2).byte(7).int32(kMinh).raw({5, 0xff, 0xff}).message(21));
    EXPECT_TRUE(table()->disableReady());
    auto minh = std::dynamic_pointer_cast<TienLenPlayer>(table()->playerWithId(kMinh));
    ASSERT_TRUE(minh && minh->cards());
    EXPECT_EQ(minh->cards()->at(0)->cardID(), 5);

    // A line of chat, trimmed, and one from a player.
    table()->onChatFromMeWithText(" chao ");
    EXPECT_EQ(lastSent(9), (Bytes().byte(2).byte(7).utf("chao").data()));
    send(Bytes().byte(2).byte(7).int32(kHoa).utf("hi").message(9));
    EXPECT_FALSE(table()->chat(1)->isHidden());

    // The end: every hand face up, my bonus, continue.
    Bytes reveal = Bytes().byte(2).byte(7).byte(2);
    reveal.int32(kMe).raw({4, 17, 30}).int32(kMinh).raw({5, 6, 7});
    send(reveal.message(50));
    send(Bytes().byte(2).byte(7).int32(kMe).int32(2000).utf("+2000").message(52));
    EXPECT_TRUE(table()->imgViewDealerCards()->isHidden());
    EXPECT_EQ(UIController::myInfo()->money(), 502000) << "the join said 500,000";
    EXPECT_EQ(minh->cards()->at(2)->cardID(), 7);
    EXPECT_EQ(title(table()->btnStart()), text("KAVO_continuee"));
    ASSERT_TRUE(drive("tap id=btnStart").ok);
    EXPECT_EQ(title(table()->btnStart()), text("KAVO_ready"));
    EXPECT_TRUE(table()->view()->subviewsOfType<BCCardView>().empty());

    // Leaving without cards and not ready: one leave request, back to the list.
    portal().clearMessages();
    table()->doLeaveBoard();
    EXPECT_EQ(lastSent(15), (std::vector<uint8_t>{2, 7}));
    ASSERT_TRUE(drive("screen BoardView 5").ok) << log();
}

} // namespace
} // namespace kavo::test
