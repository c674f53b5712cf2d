// The Bai Cao road end to end: a signed-in client on the manual clock against the test
// portal, at a table of four, driven like a person through a hand.
#include "games/baicao/BaiCaoView.h"
#include "platform/ui/AlertView.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StakeTableRoad.h"

#include <algorithm>

namespace kavo::test {
namespace {

constexpr int8_t kBaiCao = 11;

class BaiCaoRoad : public StakeTableRoad {
protected:
    std::shared_ptr<BaiCaoView> table() { return GameController::getBaiCaoView(); }
    // Me (the owner) and three ready players, or the places given.
    void sitAtAFullTable() { join(kBaiCao, {{kMe, "khach"}, {8, "an"}, {9, "binh"}, {10, "cuong"}}, kMe); }
    // The hand starts with my cards 5, 17 and 51.
    void start() { send(Bytes().byte(kRoom).byte(kBoard).byte(20).raw({5, 17, 51}).message(20)); }
    void dealt() {
        start();
        advance(2);
    }
    void turned(int32_t who, std::initializer_list<uint8_t> cards) {
        send(Bytes().byte(kRoom).byte(kBoard).int32(who).raw(cards).message(21));
    }
    std::shared_ptr<BCCardView> myCard(size_t index) { return StakeTableView::handOf(table()->myRecord())[index]; }
};

TEST_F(BaiCaoRoad, FourPlayersGetTwelveCardsAFifteenthApartAndThenThePeekAndShowAllButtons) {
    sitAtAFullTable();
    start();
    EXPECT_EQ(cardsOn(*table()), 1u) << "my third card flies at once";
    for (size_t step = 2; step <= 12; ++step) {
        advance(0.149);
        EXPECT_EQ(cardsOn(*table()), step - 1);
        advance(0.001);
        EXPECT_EQ(cardsOn(*table()), step);
    }
    EXPECT_FALSE(table()->btnFire()->isHidden());
    EXPECT_FALSE(table()->btnAutoSelected()->isHidden());
    EXPECT_FALSE(table()->dealer().isDealing());
    advance(0.3);
    EXPECT_EQ(cardsOn(*table()), 12u);
    // My hand lies fanned at the bottom, the third card to the right.
    EXPECT_EQ(myCard(2)->center(), (platform::ui::Point{320, 277.5}));
    EXPECT_EQ(myCard(0)->center(), (platform::ui::Point{220, 277.5}));
}

TEST_F(BaiCaoRoad, TwoPlayersAcrossTheTableGetSixCardsAndEmptySeatsCostNoTime) {
    join(kBaiCao, {{kMe, "khach"}, {-1, ""}, {9, "binh"}, {-1, ""}}, kMe);
    start();
    EXPECT_EQ(cardsOn(*table()), 1u);
    advance(0.15);
    EXPECT_EQ(cardsOn(*table()), 2u);
    advance(0.6);
    EXPECT_EQ(cardsOn(*table()), 6u);
    EXPECT_FALSE(table()->btnAutoSelected()->isHidden());
    EXPECT_FALSE(table()->dealer().isDealing());
}

TEST_F(BaiCaoRoad, AStartDuringADealDealsTheNewHandFromTheFirstSeat) {
    sitAtAFullTable();
    start();
    advance(0.45);
    EXPECT_EQ(cardsOn(*table()), 4u);
    send(Bytes().byte(kRoom).byte(kBoard).byte(20).raw({1, 2, 3}).message(20));
    EXPECT_EQ(cardsOn(*table()), 1u) << "the old hand leaves the table";
    EXPECT_EQ(table()->dealer().seatIndex(), 1);
    advance(1.65);
    EXPECT_EQ(cardsOn(*table()), 12u);
    advance(1);
    EXPECT_EQ(cardsOn(*table()), 12u) << "the first chain never comes back";
    EXPECT_EQ(myCard(0)->cardID(), 1);
}

TEST_F(BaiCaoRoad, PeekingOpensOnlyAfterTheDealAndASmallDragSendsNothing) {
    sitAtAFullTable();
    table()->clickFire();
    EXPECT_FALSE(table()->peek().isPeeking()) << "nothing dealt yet";
    dealt();
    tap("id=btnFire");
    advance(0.4);
    ASSERT_TRUE(table()->peek().isPeeking());
    EXPECT_EQ(table()->peek().cover()->alpha(), 1);
    EXPECT_EQ(table()->peek().backCard(), myCard(0));
    EXPECT_EQ(myCard(0)->subviews().size(), 1u) << "the back came off under the cover";
    ASSERT_TRUE(drive("drag id=imgBaiTiNanBai 5 5").ok);
    EXPECT_TRUE(sent(21).empty());
    EXPECT_TRUE(table()->peek().isPeeking());
    ASSERT_TRUE(drive("drag id=imgBaiTiNanBai 11 0").ok);
    EXPECT_EQ(sent(21), (std::vector<ByteVector>{{kRoom, kBoard, 5, 255, 255}}));
    EXPECT_TRUE(spinnerOn(table()->peek().overlay()));
    advance(1);
    EXPECT_TRUE(spinnerOn(table()->peek().overlay())) << "until the server answers";
    turned(kMe, {5, 255, 255});
    EXPECT_FALSE(spinnerOn(table()->peek().overlay()));
    EXPECT_EQ(myCard(0)->accessibilityIdentifier(), "card5");
    advance(0.4);
    EXPECT_FALSE(table()->peek().isPeeking());
    EXPECT_EQ(myCard(0)->center(), (platform::ui::Point{220, 277.5}));
    EXPECT_EQ(table()->indexBaiNan(), 1);
}

TEST_F(BaiCaoRoad, EscapeEndsAPeekWithTheCardFaceDownInMyHand) {
    sitAtAFullTable();
    dealt();
    tap("id=btnFire");
    advance(0.4);
    expectEscapeEndsThePeek(*table(), table()->peek(), true);
}

// Mail that comes during a peek counts on the table's badge, which lies under the peek:
// the card and its cover stay above the overlay, and Escape still ends the peek.
TEST_F(BaiCaoRoad, MailDuringAPeekLeavesTheCardAndItsCoverAboveTheOverlay) {
    sitAtAFullTable();
    dealt();
    tap("id=btnFire");
    advance(0.4);
    auto& peek = table()->peek();
    ASSERT_TRUE(peek.isPeeking());
    send(Bytes().byte(4).int32(301).utf("dung").message(104)); // a friend request
    const auto& badge = table()->lblCounterMessage();
    ASSERT_EQ(badge->text(), "1");
    const auto place = [this](const platform::ui::ViewPtr& view) {
        const auto& views = table()->view()->subviews();
        return std::find(views.begin(), views.end(), view) - views.begin();
    };
    const auto overlay = place(peek.overlay());
    EXPECT_GT(place(peek.backCard()), overlay);
    EXPECT_GT(place(peek.cover()), overlay);
    EXPECT_LT(place(badge), overlay) << "the badge lies under the peek";
    expectEscapeEndsThePeek(*table(), peek, true);
}

TEST_F(BaiCaoRoad, APeekDuringTheDealLooksAtADealtCardThatComesBackToMyHand) {
    sitAtAFullTable();
    start();
    advance(0.2);
    tap("id=btnFire");
    ASSERT_TRUE(table()->peek().isPeeking());
    EXPECT_EQ(table()->peek().backCard(), myCard(2)) << "the only one of mine dealt yet";
    table()->clickFire();
    EXPECT_EQ(table()->peek().backCard(), myCard(2)) << "a second press opens nothing else";
    advance(0.5);
    // The cards dealt meanwhile go under the peek.
    const auto& onTable = table()->view()->subviews();
    size_t cover = 0, peeked = 0, lastCard = 0;
    for (size_t i = 0; i < onTable.size(); ++i) {
        if (onTable[i] == table()->peek().cover())
            cover = i;
        else if (onTable[i] == myCard(2))
            peeked = i;
        else if (dynamic_cast<BCCardView*>(onTable[i].get()))
            lastCard = i;
    }
    EXPECT_GT(peeked, lastCard);
    EXPECT_GT(cover, peeked);
    advance(2);
    EXPECT_EQ(cardsOn(*table()), 12u);
    ASSERT_TRUE(drive("drag id=imgBaiTiNanBai 30 0").ok);
    EXPECT_EQ(sent(21), (std::vector<ByteVector>{{kRoom, kBoard, 255, 255, 51}}));
    turned(kMe, {255, 255, 51});
    advance(0.4);
    EXPECT_FALSE(table()->peek().isPeeking());
    const platform::ui::Point places[] = {{220, 277.5}, {270, 277.5}, {320, 277.5}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(myCard(i)->center(), places[i]) << "card " << i;
        EXPECT_TRUE(myCard(i)->transform().isIdentity()) << "card " << i;
    }
    EXPECT_EQ(myCard(2)->accessibilityIdentifier(), "card51");
}

TEST_F(BaiCaoRoad, TurnRequestsNameTheCardsAskedForAndTheNextOne) {
    sitAtAFullTable();
    dealt();
    tap("id=card5");
    tap("id=card17");
    EXPECT_EQ(sent(21), (std::vector<ByteVector>{{kRoom, kBoard, 5, 255, 255}, {kRoom, kBoard, 5, 17, 255}}));
    dealt(); // a new hand: nothing asked for
    portal().clearMessages();
    tap("id=card51");
    table()->doFireWithCardId(-1);
    EXPECT_EQ(sent(21), (std::vector<ByteVector>{{kRoom, kBoard, 255, 255, 51}, {kRoom, kBoard, 5, 255, 255}}));
    EXPECT_TRUE(myCard(0)->isSelected());
    table()->doFireWithCardId(-1);
    EXPECT_EQ(sent(21).back(), (ByteVector{kRoom, kBoard, 5, 17, 255}));
    portal().clearMessages();
    table()->doFireWithCardId(-1);
    EXPECT_TRUE(sent(21).empty()) << "every card was asked for";
}

TEST_F(BaiCaoRoad, TheServersAnswerTurnsMyCardsOnceAndTheThirdHidesTheButtons) {
    sitAtAFullTable();
    dealt();
    turned(kMe, {5, 255, 255});
    turned(kMe, {5, 255, 255});
    EXPECT_EQ(table()->indexBaiNan(), 1) << "a repeat changes nothing";
    EXPECT_FALSE(myCard(0)->isTouch());
    EXPECT_FALSE(table()->btnFire()->isHidden());
    turned(kMe, {5, 17, 51});
    EXPECT_EQ(table()->indexBaiNan(), 3);
    EXPECT_TRUE(table()->btnFire()->isHidden());
    EXPECT_TRUE(table()->btnAutoSelected()->isHidden());
    turned(9, {12, 255, 255});
    const auto binh = StakeTableView::handOf(table()->playerWithId(9));
    EXPECT_EQ(binh[0]->accessibilityIdentifier(), "card12");
    EXPECT_EQ(binh[1]->accessibilityIdentifier(), "cardBack");
}

TEST_F(BaiCaoRoad, ADoubleTapOrShowAllAsksForAllThreeCards) {
    sitAtAFullTable();
    dealt();
    turned(kMe, {5, 255, 255});
    portal().clearMessages();
    myCard(1)->handleTapGesture();
    EXPECT_EQ(sent(21), (std::vector<ByteVector>{{kRoom, kBoard, 5, 17, 51}})) << "even the card already up";
    EXPECT_TRUE(table()->btnFire()->isHidden());
    EXPECT_TRUE(table()->btnAutoSelected()->isHidden());
}

TEST_F(BaiCaoRoad, TheEndOfAHandPutsThePeekBackAndRevealsEveryHand) {
    sitAtAFullTable();
    dealt();
    tap("id=btnFire");
    advance(0.4);
    send(Bytes().byte(kRoom).byte(kBoard).byte(2).int32(kMe).raw({5, 17, 51}).int32(8).raw({9, 10, 11}).message(50));
    EXPECT_FALSE(table()->peek().isPeeking());
    EXPECT_EQ(myCard(2)->accessibilityIdentifier(), "card51");
    const auto an = StakeTableView::handOf(table()->playerWithId(8));
    EXPECT_EQ(an[2]->accessibilityIdentifier(), "card11");
    EXPECT_EQ(StakeTableView::handOf(table()->playerWithId(10))[0]->accessibilityIdentifier(), "cardBack");
    EXPECT_EQ(table()->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_continuee"));
    EXPECT_FALSE(table()->btnStart()->isHidden());
    EXPECT_TRUE(table()->btnFire()->isHidden());
    tap("id=btnStart");
    EXPECT_EQ(cardsOn(*table()), 0u);
    EXPECT_EQ(table()->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_start"));
}

TEST_F(BaiCaoRoad, TheOwnerStartsOnlyWhenEveryoneIsReadyAndTheStakeIsCovered) {
    join(kBaiCao, {{kMe, "khach"}, {-1, ""}, {-1, ""}, {-1, ""}}, kMe, 1000);
    tap("id=btnStart");
    EXPECT_EQ(dialogText(), text("KAVO_cannotStart")) << "alone";
    tap("text=" + text("KAVO_OK"));
    send(Bytes().byte(1).int32(8).utf("an").int64(5000).int16(1).int32(1).message(12));
    send(Bytes().byte(2).int32(9).utf("binh").int64(5000).int16(1).int32(1).message(12));
    send(Bytes().int32(8).boolean(true).message(16));
    tap("id=btnStart");
    EXPECT_EQ(dialogText(), text("KAVO_cannotStart")) << "binh is not ready";
    tap("text=" + text("KAVO_OK"));
    send(Bytes().int32(9).boolean(true).message(16));
    UIController::myInfo()->setMoney(999);
    tap("id=btnStart");
    EXPECT_EQ(dialogText(), text("KAVO_koDuTienCuoc"));
    tap("text=" + text("KAVO_OK"));
    EXPECT_TRUE(sent(20).empty());
    UIController::myInfo()->setMoney(1000);
    tap("id=btnStart");
    EXPECT_EQ(sent(20), (std::vector<ByteVector>{{kRoom, kBoard}}));
}

// An accepted invitation keeps its code once the join is sent; a notice at the table
// later is a plain notice: Escape closes it and its OK sends nothing.
TEST_F(BaiCaoRoad, ANoticeAfterAnAcceptedInvitationRunsNothing) {
    ASSERT_TRUE(signInToGameGrid()) << log();
    send(Bytes().byte(kBaiCao).byte(kRoom).byte(kBoard).utf("").utf("an mời bạn").byte(1).int32(8).message(74));
    tap("text=" + text("KAVO_OK"));
    EXPECT_EQ(sentCount(8), 1u);
    seat({{kMe, "khach"}, {8, "an"}}, kMe, 1000);
    UIController::myInfo()->setMoney(999);
    tap("id=btnStart");
    ASSERT_EQ(dialogText(), text("KAVO_koDuTienCuoc"));
    platform::ui::Application::shared().dispatchKey(platform::ui::Key::Escape);
    EXPECT_EQ(dialogText(), "");
    tap("id=btnStart");
    tap("text=" + text("KAVO_OK"));
    EXPECT_EQ(dialogText(), "");
    EXPECT_EQ(sentCount(8), 0u) << "no second join";
}

TEST_F(BaiCaoRoad, ARefusedReadyKeepsTheReadyButton) {
    join(kBaiCao, {{8, "an"}, {kMe, "khach", false}, {-1, ""}, {-1, ""}}, 8, 600000);
    EXPECT_EQ(table()->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_ready"));
    tap("id=btnStart");
    EXPECT_EQ(dialogText(), text("KAVO_koDuTienCuoc"));
    tap("text=" + text("KAVO_OK"));
    EXPECT_FALSE(table()->btnStart()->isHidden());
    EXPECT_TRUE(sent(16).empty());
    // My stake shows on my button; the owner's never does.
    send(Bytes().byte(kRoom).byte(kBoard).int32(kMe).int32(500).message(80));
    EXPECT_EQ(table()->btnCuoc()->titleForState(platform::ui::ControlState::Normal), "500 " + text("KAVO_zel"));
    send(Bytes().byte(kRoom).byte(kBoard).int32(700).int32(8).message(24));
    EXPECT_EQ(table()->lblCuoc(3)->text(), "");
}

TEST_F(BaiCaoRoad, EventsForAnotherTableOrAStrangerChangeNothingButReady) {
    sitAtAFullTable();
    dealt();
    send(Bytes().byte(kRoom).byte(9).int32(8).raw({1, 2, 3}).message(21));
    EXPECT_TRUE(table()->disableReady()) << "a hand runs somewhere in the room";
    EXPECT_EQ(StakeTableView::handOf(table()->playerWithId(8))[0]->accessibilityIdentifier(), "cardBack");
    send(Bytes().byte(kRoom).byte(kBoard).int32(77).int32(-500).utf("?").message(52));
    EXPECT_EQ(bubble(*table(), 4), "");
    send(Bytes().byte(int8_t(40)).int32(55).utf("x").int64(1).int16(1).int32(1).message(12));
    EXPECT_EQ(table()->players().size(), 4u) << "a seat beyond the table is dropped";
    // A kick of me while the table is not in the stack only tells me.
    auto nav = KavoOnlineAppDelegate::getInstance().navigationController();
    nav->popViewController(false);
    advance(0.5);
    const size_t screens = nav->viewControllers().size();
    send(Bytes().byte(kRoom).byte(kBoard).int32(kMe).message(11));
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
    EXPECT_EQ(nav->viewControllers().size(), screens);
}

TEST_F(BaiCaoRoad, AGuestPlaysAHandAndReadiesForTheNext) {
    playAHandAsAGuest(
        kBaiCao, []() -> StakeTableView& { return *GameController::getBaiCaoView(); },
        Bytes().byte(kRoom).byte(kBoard).byte(20).raw({5, 17, 51}).message(20),
        Bytes().byte(kRoom).byte(kBoard).byte(2).int32(kMe).raw({5, 17, 51}).int32(8).raw({9, 10, 11}).message(50));
}

} // namespace
} // namespace kavo::test
