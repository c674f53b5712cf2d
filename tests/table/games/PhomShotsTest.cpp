// Pictures of a Phom table with a dealt hand (melds raised), discards at every seat and
// a card eaten at the top seat, and of the end of a deal with laid melds at two seats,
// the result pictures and every seat's result line, phone and tablet, written into the
// build folder.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/phom/PhomNewMessageHandler.h"
#include "games/phom/PhomNewView.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardViewPhom.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

#include <map>

namespace kavo::test {
namespace {

Bytes& seatRow(Bytes& bytes, int32_t id, const std::string& name) {
    return bytes.int32(id).utf(name).int64(480000).int16(int16_t(id % 7)).int32(900).boolean(true);
}

class PhomShots : public TableShotsTest {
protected:
    static void deliver(int16_t command, const Bytes& body) {
        Message message = body.message(command);
        PhomNewMessageHandler::getInstance()->onMessage(message);
        runMainThread();
    }
    // The table of four after a deal, seven discards and minh's eat.
    std::shared_ptr<PhomNewView> dealtTable() {
        Resources::getInstance().initAfterLogin();
        UIController::setMyInfo(playerRecord<TienLenPlayer>(7, "me", 250000));
        UIController::setGameType(PhomNewMessageHandler::kGameType);

        Bytes join = Bytes().byte(1).byte(4).int32(7).int32(1000);
        seatRow(join, 7, "me");
        seatRow(join, 8, "lan");
        seatRow(join, 9, "minh");
        seatRow(join, 10, "hoa");
        deliver(8, join);
        auto table = GameController::getPhomNewView();
        EXPECT_TRUE(table);
        runMainThread();
        platform::RunLoop::main().advance(1.0);

        Bytes start = Bytes().byte(1).byte(4).byte(30).int32(10).int32(10);
        for (int card : {24, 25, 26, 0, 4, 8, 13, 30, 41, 51})
            start.byte(int8_t(card));
        deliver(20, start);
        platform::RunLoop::main().advance(2.5);
        // hoa (left) fires to me, I draw; lan and minh have fired before.
        fire(10, 7, 45, 0);
        fire(7, 8, 51, 0);
        fire(8, 9, 33, 0);
        fire(9, 10, 37, 0);
        fire(10, 7, 46, 1);
        fire(7, 8, 41, 1);
        fire(8, 9, 29, 1);
        // minh eats lan's nine.
        deliver(64, Bytes().byte(1).byte(4).int32(10));
        platform::RunLoop::main().advance(2.0);
        return table;
    }
    static void fire(int32_t by, int32_t next, int card, int slot) {
        deliver(21, Bytes().byte(1).byte(4).int32(by).int32(next).byte(int8_t(card)).byte(int8_t(slot)));
    }
    void shoot(const std::string& name, const std::vector<std::string>& forced = {}) {
        expectReadable(name + "-" + device() + ".png", nullptr, forced);
    }
};

TEST_P(PhomShots, ADealtHandWithMeldsAndThreeOtherSeats) {
    auto table = dealtTable();
    ASSERT_TRUE(table);
    int raised = 0;
    for (const auto& card : table->myCards())
        raised += card->phom() != 0 ? 1 : 0;
    EXPECT_EQ(raised, 6);
    EXPECT_EQ(table->showCardEat()[2][0], 29);
    shoot("phom-dealt");
}

TEST_P(PhomShots, LaidMeldsAtTwoSeatsEatenCardsAndTheResultPictures) {
    auto table = dealtTable();
    ASSERT_TRUE(table);
    // hoa (left) lays his aces, lan (right) a run of spades; lan's discard goes to hoa,
    // who goes U, and lan compensates. minh keeps the nine he ate.
    fire(9, 10, 20, 2);
    deliver(65, Bytes().byte(1).byte(4).byte(1).byte(2).byte(3).byte(-1));
    fire(10, 8, 21, 2);
    deliver(65, Bytes().byte(1).byte(4).byte(28).byte(32).byte(36).byte(-1));
    fire(8, 10, 22, 2);
    deliver(66, Bytes().byte(1).byte(4).int32(10).byte(0).byte(1).byte(2).byte(3).byte(16).byte(17).byte(18));
    deliver(69, Bytes().byte(1).byte(4).int32(10).int32(0));
    deliver(51, Bytes().byte(1).byte(4).int32(9).int32(17).int32(0).byte(2).byte(47).byte(43));
    deliver(51, Bytes().byte(1).byte(4).int32(10).int32(0).int32(0).byte(0));
    // My loose cards show where my hand was.
    deliver(51, Bytes().byte(1).byte(4).int32(7).int32(25).int32(0).byte(3).byte(0).byte(4).byte(8));
    platform::RunLoop::main().advance(2.0);
    EXPECT_EQ(table->showHaPhom()[1][0], 28);
    EXPECT_EQ(table->showHaPhom()[3][0], 1);
    EXPECT_EQ(table->showCardEat()[2][0], 29);
    EXPECT_FALSE(table->seat(2).point->isHidden());
    // Every seat's result at once: its line by the seat, then its amount, which has flown.
    // The new money shows at the seat beside the deal's result picture, which stays.
    const std::string moneyBefore = table->seat(3).btnMoney->currentTitle();
    for (auto [id, amount, line] : {std::tuple{7, -100, "Thua"}, {8, -300, "Đền"}, {9, -100, "Thua"}, {10, 500, "Ù"}})
        deliver(52, Bytes().byte(1).byte(4).int32(id).int32(amount).utf(line));
    platform::RunLoop::main().advance(1.2);
    EXPECT_EQ(table->seat(3).ok->image()->name(), "p_phomtext_05.png");
    EXPECT_EQ(table->seat(1).ok->image()->name(), "p_phomtext_06.png");
    EXPECT_NE(table->seat(3).btnMoney->currentTitle(), moneyBefore);
    // On the phone the left seat's line stands above it, by it and under the table's title:
    // the gap between the title and the seat's result mark is 37 points, 3 short of a
    // bubble, which lies on the mark's top edge; below the seat a bubble would stand by mine.
    shoot("phom-result", device() == "phone" ? std::vector<std::string>{"ok3 is covered by the bubble chat3"}
                                             : std::vector<std::string>{});
    // Every card shows once: my loose cards took my hand's place, not a place over it.
    std::map<int, int> shown;
    for (const auto& card : table->view()->subviewsOfType<CardViewPhom>())
        if (card->isVisibleOnScreen()) ++shown[card->cardID()];
    for (const auto& [id, times] : shown)
        EXPECT_EQ(times, 1) << "card " << id;
    EXPECT_EQ(shown.count(0) + shown.count(4) + shown.count(8), 3u) << "my loose cards show";
    // No seat's result line lies on a card: the hands, melds and discards shown read whole.
    for (int slot = 0; slot < GameCardView::kSeats; ++slot) {
        const auto& bubble = table->chat(slot);
        ASSERT_FALSE(bubble->isHidden()) << slot;
        const auto line = bubble->convertRect(bubble->bounds(), nullptr);
        for (const auto& card : table->view()->subviewsOfType<CardViewPhom>()) {
            if (!card->isVisibleOnScreen()) continue;
            const auto drawn = card->convertRect(card->bounds(), nullptr).intersection(line);
            EXPECT_FALSE(drawn.width() > 2 && drawn.height() > 2)
                << "the bubble chat" << slot << " lies on the card " << int(card->cardID());
        }
    }
}

// Every seat speaks at once over a dealt hand: the neighbours' bubbles lie apart and off
// the cards. A line this long makes each bubble some 155 points wide: on the phone four of
// them find no place clear of the seats' cards, so there only their texts are read.
TEST_P(PhomShots, EverySeatsBubbleAtOnceOverADealtHand) {
    auto table = dealtTable();
    ASSERT_TRUE(table);
    for (int32_t id : {7, 8, 9, 10})
        table->onChatFromWithId(id, "", "nhanh lên nào");
    platform::RunLoop::main().advance(0.2);
    std::vector<std::string> forced;
    if (GetParam() != platform::ui::Idiom::Tablet) forced = {"is covered by the bubble"};
    shoot("phom-bubbles", forced);
}

INSTANTIATE_TEST_SUITE_P(Devices, PhomShots,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet));

} // namespace
} // namespace kavo::test
