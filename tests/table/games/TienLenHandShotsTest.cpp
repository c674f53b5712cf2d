// Pictures of a Tien Len and a Tien Len MB hand in play, phone and tablet, written into
// the build folder for a person to look at: my hand laid out at its gap above the bottom,
// one card lifted, the last play on the table.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBLogicHandler.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

struct Hand {
    const char* name; // the picture: <name>-<phone|tablet>.png
    int8_t gameType;
    TienLenLogicHandler& (*logic)();
    std::shared_ptr<TienLenView> (*table)();
    int8_t room, board;
    std::vector<int32_t> players; // every place in the server's order; 7 is me, 8 moves first, -1 empty
    std::vector<uint8_t> cards;
    std::vector<uint8_t> played; // by 8
    size_t lifted;
    double gapPhone, gapTablet;   // between my hand and the bottom
    double stepPhone, stepTablet; // between my cards (0: not checked)
};

const Hand kHands[] = {
    {"tienlen-hand",
     3,
     []() -> TienLenLogicHandler& { return TienLenLogicHandler::getInstance(); },
     []() -> std::shared_ptr<TienLenView> { return GameController::getTienLenView(); },
     1,
     4,
     {7, 8, 9, -1},
     {47, 2, 9, 15, 51, 18, 22, 26, 29, 33, 36, 40, 44},
     {24, 25},
     4,
     5,
     50,
     30,
     66},
    {"tienlenmb-hand",
     12,
     []() -> TienLenLogicHandler& { return TienLenMBLogicHandler::getInstance(); },
     []() -> std::shared_ptr<TienLenView> { return GameController::getTienLenMBView(); },
     2,
     3,
     {7, 8, 9, 6},
     {3, 7, 11, 16, 21, 27, 30, 35, 39, 41, 46, 48, 50},
     {19},
     5,
     5,
     30,
     0,
     0},
};

class TienLenHandShots : public TableTest, public ::testing::WithParamInterface<std::tuple<Hand, bool>> {
protected:
    const char* language() const override { return "vi"; }
    platform::ui::Idiom idiom() const override {
        return std::get<1>(GetParam()) ? platform::ui::Idiom::Tablet : platform::ui::Idiom::Phone;
    }
};

TEST_P(TienLenHandShots, AHandInPlayWithTheLastPlayOnTheTable) {
    const auto& [hand, tablet] = GetParam();
    UIController::myInfo()->setIDDB(7);
    UIController::setGameType(hand.gameType);
    Resources::getInstance().initAfterLogin();
    GlobalService::getInstance().setSession(&client);
    TienLenPlayerList players;
    for (int32_t id : hand.players) {
        players.push_back(std::make_shared<TienLenPlayer>());
        players.back()->setIDDB(id);
        players.back()->setName(id < 0 ? "" : "p" + std::to_string(id));
        players.back()->setMoney(250000);
    }
    auto& logic = hand.logic();
    logic.onJoinGameSuccessWithRoomId(hand.room, hand.board, 7, 1000, players);
    runMainThread();
    auto table = hand.table();
    ASSERT_TRUE(table);
    logic.onStartGameWithRoomId(hand.room, hand.board, hand.cards, 20, 8);
    platform::RunLoop::main().advance(3);
    runMainThread();
    logic.onMoveWithRoomId(hand.room, hand.board, 8, hand.played, 7);
    runMainThread();
    table->myHand()[hand.lifted]->setSelected();
    platform::RunLoop::main().advance(1);
    runMainThread();

    const auto mine = table->myHand();
    ASSERT_EQ(mine.size(), 13u);
    if (hand.stepPhone > 0) {
        EXPECT_EQ(mine[1]->frame().x() - mine[0]->frame().x(), tablet ? hand.stepTablet : hand.stepPhone);
    }
    EXPECT_EQ(mine[0]->frame().maxY(), tablet ? 768 - hand.gapTablet : 320 - hand.gapPhone)
        << "the hand's gap above the bottom";
    const auto buttons = table->btnFire()->convertRect(table->btnFire()->bounds(), table->view().get());
    EXPECT_LE(buttons.maxY(), mine[hand.lifted]->frame().y()) << "the lifted card's corner under the play buttons";
    expectReadable(std::string(hand.name) + (tablet ? "-tablet" : "-phone") + ".png");

    // The others pass after my play, one after another, and the turn comes back to me: their
    // bubbles leave my play buttons in sight. The right seat's stands above the buttons, on the
    // lowest backs of that seat's face-down column.
    std::vector<int32_t> others;
    for (int32_t id : hand.players)
        if (id >= 0 && id != 7) others.push_back(id);
    logic.onMoveWithRoomId(hand.room, hand.board, 7, {uint8_t(mine[0]->cardID())}, others.front());
    runMainThread();
    for (size_t i = 0; i < others.size(); ++i)
        logic.onSkipWithRoomId(hand.room, hand.board, others[i], i + 1 < others.size() ? others[i + 1] : 7, false);
    runMainThread();
    platform::RunLoop::main().advance(0.3);
    ASSERT_FALSE(table->btnFire()->isHidden()) << "my turn again";
    expectReadable(std::string(hand.name) + "-passes" + (tablet ? "-tablet" : "-phone") + ".png", nullptr,
                   {"a ImageView is covered by the bubble chat1"});
    for (const auto& button : {table->btnFire(), table->btnSkip(), table->btnAutoSelected()})
        for (int slot = 0; slot < 5; ++slot)
            EXPECT_FALSE(!table->chat(slot)->isHidden() && table->chat(slot)->frame().intersects(button->convertRect(
                                                               button->bounds(), table->view().get())))
                << button->accessibilityIdentifier() << " under the bubble chat" << slot;
}

INSTANTIATE_TEST_SUITE_P(Hands, TienLenHandShots, ::testing::Combine(::testing::ValuesIn(kHands), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).gameType == 3 ? "TienLen" : "TienLenMB") +
                                    (std::get<1>(info.param) ? "Tablet" : "Phone");
                         });

} // namespace
} // namespace kavo::test
