// The Tien Len road end to end: a signed-in client on the manual clock against the
// test portal, driven like a person from the board list through a dealt hand, plays,
// skips and refusals to the end of the match and the next one.
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int32_t kBinh = 99;
constexpr int32_t kChu = 77;

class TienLenRoad : public TableRoadFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 1, 4);
        UIController::setSound(true);
    }

    void signInAndOpenTheList() { signInAndTapTheBoard("btnTLMN"); }
    std::shared_ptr<TienLenView> table() { return GameController::getTienLenView(); }
    // The text of a chat bubble while it shows ("" when hidden).
    std::string bubble(int slot) {
        const auto& view = table()->chat(slot);
        if (view->isHidden() || view->subviews().empty()) return "";
        auto label = std::dynamic_pointer_cast<platform::ui::Label>(view->subviews().front());
        return label ? label->text() : "";
    }
    // Sits with Binh at a running start of `interval` seconds in which I move first.
    void sitAndStart(int interval) {
        signInAndOpenTheList();
        Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
        seatRow(join, kMe, "Khach");
        seatRow(join, kBinh, "Binh", true);
        send(join.message(8));
        run("screen TienLenView 30\nadvance 0.5");
        Bytes deal;
        deal.byte(2).byte(7).byte(int8_t(interval)).raw({43, 9, 1, 50, 14, 5, 27, 18, 31, 22, 38, 34, 47}).int32(kMe);
        send(deal.message(20));
        advance(3);
    }
    std::vector<int> hand() {
        std::vector<int> ids;
        for (const auto& card : table()->myHand())
            ids.push_back(card->cardID());
        return ids;
    }
    std::vector<int> lifted() {
        std::vector<int> ids;
        for (const auto& card : table()->myHand())
            if (card->isSelected()) ids.push_back(card->cardID());
        return ids;
    }
    // A finger along the top edge of the hand, from x to x + dx, through the
    // application's touch entry.
    void swipe(double x, double y, double dx) {
        auto& app = platform::ui::Application::shared();
        app.dispatchTouch(platform::ui::TouchPhase::Began, {x, y});
        for (int step = 1; step <= 5; ++step)
            app.dispatchTouch(platform::ui::TouchPhase::Moved, {x + dx * step / 5, y});
        app.dispatchTouch(platform::ui::TouchPhase::Ended, {x + dx, y});
        advance(0.2);
    }
    void move(int32_t who, std::initializer_list<uint8_t> cards, int32_t next) {
        send(Bytes().byte(2).byte(7).int32(who).byte(int8_t(cards.size())).raw(cards).int32(next).message(21));
    }
};

TEST_F(TienLenRoad, APlayerSitsIsDealtPlaysSkipsAndFinishesAMatch) {
    signInAndOpenTheList();
    EXPECT_EQ(lastSent(8), (std::vector<uint8_t>{2, 7, 0, 0})) << "the board's join, no password";

    // Two players face each other; a third takes the seat between.
    Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
    seatRow(join, kMe, "Khach");
    seatRow(join, kBinh, "Binh");
    seatRow(join, -1, "");
    seatRow(join, -1, "");
    send(join.message(8));
    run("screen TienLenView 30\nadvance 0.5");
    EXPECT_EQ(table()->getIDAtSeat(0), kMe);
    EXPECT_EQ(table()->getIDAtSeat(2), kBinh);
    EXPECT_EQ(table()->getIDAtSeat(1), -1);
    send(Bytes().byte(2).int32(kChu).utf("Chu").int64(400000).int16(2).int32(900).message(12));
    EXPECT_EQ(table()->getIDAtSeat(1), kBinh);
    EXPECT_EQ(table()->getIDAtSeat(2), kChu);

    // The others get ready; I start.
    send(Bytes().int32(kBinh).boolean(true).message(16));
    send(Bytes().int32(kChu).boolean(true).message(16));
    run("tap id=btnStart");
    EXPECT_EQ(lastSent(20), (std::vector<uint8_t>{2, 7}));

    // The deal: 13 passes lay my hand out ascending, 30 points apart.
    send(
        Bytes().byte(2).byte(7).byte(20).raw({43, 9, 0, 50, 14, 5, 27, 18, 31, 22, 38, 34, 47}).int32(kMe).message(20));
    EXPECT_EQ(table()->indexCard(), 1);
    advance(0.18 * 12 + 0.01);
    EXPECT_EQ(table()->indexCard(), 13);
    advance(0.5);
    EXPECT_EQ(hand(), (std::vector<int>{0, 5, 9, 14, 18, 22, 27, 31, 34, 38, 43, 47, 50}));
    const auto cards = table()->myHand();
    for (size_t i = 1; i < cards.size(); ++i)
        EXPECT_EQ(cards[i]->frame().x() - cards[i - 1]->frame().x(), 30) << "card " << i;
    EXPECT_EQ(cards.front()->frame().x(), 40);

    // A tap lifts and drops; a swipe along the top edge lifts what it crosses; a drag
    // low across the hand moves a card.
    run("tap id=card5");
    EXPECT_EQ(lifted(), (std::vector<int>{5}));
    EXPECT_TRUE(table()->btnFire()->isEnabled()) << "my turn, a single";
    run("tap id=card5");
    EXPECT_EQ(lifted(), std::vector<int>{});
    EXPECT_FALSE(table()->btnFire()->isEnabled());
    swipe(135, 255, 50);
    EXPECT_EQ(lifted(), (std::vector<int>{14, 18}));
    EXPECT_FALSE(table()->btnFire()->isEnabled()) << "two ranks are no combination";
    run("tap id=card14\ntap id=card18");
    run("drag id=card9 -30 0\nadvance 0.2");
    EXPECT_EQ(hand(), (std::vector<int>{0, 9, 5, 14, 18, 22, 27, 31, 34, 38, 43, 47, 50}));

    // The opening must hold the three of spades.
    run("tap id=card5\ntap id=btnFire");
    EXPECT_EQ(sentCount(21), 0u);
    EXPECT_EQ(bubble(4), text("KAVO_youMustFire3Bich"));
    advance(4.1); // the system bubble closes

    // A drag up, taking a lifted card by its raised top, released above the line fires the
    // straight in hand order.
    run("tap id=card0\ntap id=card9\ndrag-from id=card0 25 5 0 -120");
    EXPECT_EQ(lastSent(21), (std::vector<uint8_t>{2, 7, 3, 0, 9, 5}));
    EXPECT_EQ(hand().size(), 13u) << "the hand waits for the echo";
    move(kMe, {0, 9, 5}, kBinh);
    EXPECT_EQ(hand(), (std::vector<int>{14, 18, 22, 27, 31, 34, 38, 43, 47, 50}));
    EXPECT_EQ(table()->currentCards().size(), 3u);
    run("tap id=card14");
    EXPECT_FALSE(table()->btnFire()->isEnabled()) << "not my turn";

    // Binh's higher straight is not beaten by my single.
    portal().clearMessages();
    move(kBinh, {13, 17, 21}, kMe);
    EXPECT_TRUE(table()->btnFire()->isEnabled());
    run("tap id=btnFire");
    EXPECT_EQ(sentCount(21), 0u);
    EXPECT_EQ(bubble(4), text("KAVO_notSameOrSmaller"));

    // A refusal shows its reason at my seat.
    send(Bytes().byte(7).byte(2).utf("Sai luat").message(54));
    EXPECT_EQ(bubble(0), "Sai luat");

    // Skip asks first.
    run("tap id=btnSkip");
    EXPECT_EQ(openDialogCode(), 3);
    EXPECT_EQ(dialogText(), text("KAVO_doYouWantSkip"));
    run("tap text=" + text("KAVO_OK"));
    EXPECT_EQ(lastSent(49), (std::vector<uint8_t>{2, 7}));
    send(Bytes().byte(2).byte(7).int32(kMe).int32(kChu).boolean(false).message(49));
    send(Bytes().byte(2).byte(7).int32(kChu).int32(kBinh).boolean(true).message(49));
    EXPECT_TRUE(table()->currentCards().empty()) << "the table is cleared";

    move(kBinh, {2}, kMe);

    // The finishes, the last hand shown, the stop and the continue.
    send(Bytes().byte(2).byte(7).int32(kBinh).byte(0).int32(2000).int32(10).message(51));
    send(Bytes().byte(2).byte(7).int32(kMe).byte(1).int32(-1000).int32(-500).message(51));
    EXPECT_EQ(table()->myRecord()->exp(), 0) << "experience never below 0";
    send(Bytes().byte(2).byte(7).int32(kChu).byte(2).raw({40, 33}).message(50));
    EXPECT_EQ(table()->cardShows().size(), 2u);
    EXPECT_EQ(table()->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_continuee"));
    run("tap id=btnStart\nadvance 0.2");
    EXPECT_EQ(table()->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_start"));
    run("expect-not id=card33");

    // Two bonuses within 1.5 s sound once.
    platform::SystemSound::clearRecord();
    send(Bytes().byte(2).byte(7).int32(kBinh).int32(500).utf("chat heo").message(52));
    send(Bytes().byte(2).byte(7).int32(kChu).int32(-500).utf("bi chat").message(52));
    EXPECT_EQ(played("trung-tien.wav"), 1u);
    advance(1.6);
    send(Bytes().byte(2).byte(7).int32(kBinh).int32(100).utf("them").message(52));
    EXPECT_EQ(played("trung-tien.wav"), 2u);

    // A new stake clears the table.
    move(kBinh, {44}, kChu);
    EXPECT_EQ(table()->currentCards().size(), 1u);
    send(Bytes().byte(2).byte(7).int32(2000).message(19));
    run("expect-not id=card44");
    EXPECT_EQ(table()->btnCuoc()->titleForState(platform::ui::ControlState::Normal), "2.000 Zel");
}

TEST_F(TienLenRoad, MyTurnRunningOutSkipsOnceInMyName) {
    sitAndStart(5);
    portal().clearMessages();
    advance(0.9);
    EXPECT_EQ(sentCount(49), 0u);
    advance(2.2);
    EXPECT_EQ(sentCount(49), 1u);
    EXPECT_EQ(lastSent(49), (std::vector<uint8_t>{2, 7}));
    advance(3);
    EXPECT_EQ(sentCount(49), 1u) << "once";
}

TEST_F(TienLenRoad, FireIsOffOutOfTurnAndATurnTimeOfZeroCountsAsTwentySeconds) {
    sitAndStart(20);
    send(Bytes().byte(2).byte(7).int32(kMe).int32(kBinh).boolean(false).message(49));
    run("tap id=card1");
    EXPECT_FALSE(table()->btnFire()->isEnabled());
    run("tap id=btnFire");
    EXPECT_EQ(sentCount(21), 0u);
    table()->setInterval(0);
    move(kBinh, {0}, kMe);
    EXPECT_EQ(table()->interval(), 20);
    EXPECT_EQ(table()->dieTime(), 20);
    EXPECT_TRUE(table()->btnFire()->isEnabled()) << "my turn, a higher single";
}

} // namespace
} // namespace kavo::test
