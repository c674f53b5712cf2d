// The Tien Len MB road end to end: a signed-in client on the manual clock against the
// test portal, driven like a person from the board list through dealt hands: the
// three-of-spades duty of the first match only, the faster deal, the lower reorder
// drag, suit following, my ready and the turn time of a move.
#include "app/UIController.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int32_t kBinh = 99;
constexpr int32_t kChu = 77;
constexpr int32_t kDung = 55;

// My hand with the three of spades, as dealt.
const std::vector<uint8_t> kWithThree{43, 9, 0, 50, 14, 5, 27, 18, 31, 22, 38, 34, 47};

class TienLenMBRoad : public TableRoadFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 1, 4);
    }

    // Signs in, opens the Tien Len MB boards and sits at board 7 with `others`.
    void sit(const std::vector<int32_t>& others) {
        signInAndTapTheBoard("btnTLMB");
        EXPECT_EQ(lastSent(8), (std::vector<uint8_t>{2, 7, 0, 0}));
        Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
        join.int32(kMe).utf("Khach").int64(500000).int16(1).int32(300).boolean(false);
        for (int32_t id : others)
            join.int32(id).utf("P" + std::to_string(id)).int64(500000).int16(1).int32(300).boolean(true);
        send(join.message(8));
        run("screen TienLenMBView 30\nadvance 0.5");
        ASSERT_TRUE(table());
    }
    void start(const std::vector<uint8_t>& cards, int32_t first, int interval = 20) {
        send(Bytes().byte(2).byte(7).byte(int8_t(interval)).raw(cards).int32(first).message(20));
    }
    std::shared_ptr<TienLenMBView> table() { return GameController::getTienLenMBView(); }
    std::string bubble(int slot) {
        const auto& view = table()->chat(slot);
        if (view->isHidden() || view->subviews().empty()) return "";
        auto label = std::dynamic_pointer_cast<platform::ui::Label>(view->subviews().front());
        return label ? label->text() : "";
    }
    std::vector<int> hand() {
        std::vector<int> ids;
        for (const auto& card : table()->myHand())
            ids.push_back(card->cardID());
        return ids;
    }
    void move(int32_t who, std::initializer_list<uint8_t> cards, int32_t next) {
        send(Bytes().byte(2).byte(7).int32(who).byte(int8_t(cards.size())).raw(cards).int32(next).message(21));
    }
    // A finger that takes the card at `from` and drags it 30 points left to the height `y`.
    void dragTo(platform::ui::Point from, double y) {
        auto& app = platform::ui::Application::shared();
        app.dispatchTouch(platform::ui::TouchPhase::Began, from);
        for (int step = 1; step <= 5; ++step)
            app.dispatchTouch(platform::ui::TouchPhase::Moved, {from.x - 6 * step, from.y + (y - from.y) * step / 5});
        app.dispatchTouch(platform::ui::TouchPhase::Ended, {from.x - 30, y});
        advance(0.3);
    }
};

TEST_F(TienLenMBRoad, OnlyTheFirstMatchAfterJoiningImposesTheThreeOfSpades) {
    sit({kBinh});
    start(kWithThree, kMe);
    advance(3);
    EXPECT_FALSE(table()->isFirstMatch()) << "the start ends the first match";
    run("tap id=card5\ntap id=btnFire");
    EXPECT_EQ(sentCount(21), 0u);
    EXPECT_EQ(bubble(4), text("KAVO_youMustFire3Bich"));

    send(Bytes().byte(2).byte(7).message(50));
    run("tap id=btnStart\nadvance 0.2");
    start(kWithThree, kMe);
    advance(3);
    run("tap id=card5\ntap id=btnFire");
    EXPECT_EQ(lastSent(21), (std::vector<uint8_t>{2, 7, 1, 5})) << "the second match opens with any card";
}

TEST_F(TienLenMBRoad, AFullDealOfThirteenPassesTakesAboutOnePointThreeSeconds) {
    sit({kBinh, kChu, kDung});
    start(kWithThree, kMe);
    EXPECT_EQ(table()->indexCard(), 1);
    advance(0.1 * 12 - 0.02);
    EXPECT_EQ(table()->indexCard(), 12);
    advance(0.03);
    EXPECT_EQ(table()->indexCard(), 13);
    advance(0.5);
    EXPECT_EQ(hand(), (std::vector<int>{0, 5, 9, 14, 18, 22, 27, 31, 34, 38, 43, 47, 50}));
}

TEST_F(TienLenMBRoad, AReorderDragStartsOnlyBelowTwoSeventyFive) {
    sit({kBinh});
    start(kWithThree, kBinh);
    advance(3);
    // The finger takes the second card near its top edge, above the line.
    const platform::ui::Point onSecond{table()->myHand()[1]->center().x, table()->handTop() + 3};
    ASSERT_LT(onSecond.y, 270);
    dragTo(onSecond, 270);
    EXPECT_EQ(hand(), (std::vector<int>{0, 5, 9, 14, 18, 22, 27, 31, 34, 38, 43, 47, 50})) << "270 is not low enough";
    dragTo(onSecond, 285);
    EXPECT_EQ(hand(), (std::vector<int>{5, 0, 9, 14, 18, 22, 27, 31, 34, 38, 43, 47, 50}));
}

TEST_F(TienLenMBRoad, APlayThatBreaksTheSuitIsRefusedAtTheTable) {
    sit({kBinh});
    start({45, 23, 26, 29, 33, 35, 38, 42, 22, 47, 49, 31, 40}, kBinh);
    advance(3);
    move(kBinh, {19}, kMe); // the seven of hearts
    run("tap id=card22\ntap id=btnFire");
    EXPECT_EQ(sentCount(21), 0u) << "the eight of diamonds does not follow hearts";
    EXPECT_EQ(bubble(4), text("KAVO_notSameOrSmaller"));
    run("tap id=card22\ntap id=card23\ntap id=btnFire");
    EXPECT_EQ(lastSent(21), (std::vector<uint8_t>{2, 7, 1, 23})) << "the eight of hearts does";
}

TEST_F(TienLenMBRoad, MyReadySetsMyInfoAndATurnTimeOfZeroFromAMoveCountsAsTwenty) {
    sit({kBinh});
    send(Bytes().int32(kMe).boolean(true).message(16));
    EXPECT_EQ(UIController::myInfo()->isReady(), 1);
    start(kWithThree, kBinh, 0);
    advance(3);
    table()->setInterval(0);
    move(kBinh, {19}, kMe);
    EXPECT_EQ(table()->interval(), 20);
    EXPECT_EQ(table()->dieTime(), 20);
}

} // namespace
} // namespace kavo::test
