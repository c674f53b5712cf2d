// The Xi Zach road end to end: a signed-in client on the manual clock against the test
// portal, at a table of up to four, driven like a person through a game.
#include "games/xizach/XiZachView.h"
#include "platform/services/SystemSound.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StakeTableRoad.h"

namespace kavo::test {
namespace {

constexpr int8_t kXiZach = 2;

class XiZachRoad : public StakeTableRoad {
protected:
    std::shared_ptr<XiZachView> table() { return GameController::getXiZachView(); }
    void sitAsOwner() { join(kXiZach, {{kMe, "khach"}, {8, "an"}, {9, "binh"}, {-1, ""}}, kMe); }
    void sitAsGuest() { join(kXiZach, {{kMe, "khach", false}, {8, "an"}, {9, "binh"}, {-1, ""}}, 8); }
    // The game starts with my cards 5 and 44, `first` to act.
    void start(int32_t first) { send(Bytes().byte(kRoom).byte(kBoard).int32(first).byte(20).raw({5, 44}).message(20)); }
    void dealt(int32_t first) {
        start(first);
        advance(2);
    }
    void turnOf(int32_t who) { send(Bytes().byte(kRoom).byte(kBoard).byte(1).int32(who).byte(30).message(21)); }
    std::shared_ptr<BCCardView> myCard(size_t index) { return StakeTableView::handOf(table()->myRecord())[index]; }
};

TEST_F(XiZachRoad, TwoEmptySeatsLeaveFourCardsDealtAFifteenthApartThenThePeekButton) {
    join(kXiZach, {{kMe, "khach"}, {-1, ""}, {9, "binh"}, {-1, ""}}, kMe);
    start(9);
    EXPECT_EQ(cardsOn(*table()), 1u);
    table()->btnFire()->setHidden(true); // shown again when the deal ends
    for (size_t cards = 2; cards <= 4; ++cards) {
        advance(0.15);
        EXPECT_EQ(cardsOn(*table()), cards);
    }
    EXPECT_FALSE(table()->dealer().isDealing());
    EXPECT_FALSE(table()->btnFire()->isHidden());
    EXPECT_EQ(myCard(0)->center(), (platform::ui::Point{210, 277.5}));
    EXPECT_EQ(myCard(1)->center(), (platform::ui::Point{260, 277.5}));
}

TEST_F(XiZachRoad, TheDeckDrawsOnlyOnMyTurnAndStandPassesIt) {
    sitAsOwner();
    dealt(9);
    EXPECT_TRUE(table()->imgNextMe()->isHidden());
    tap("id=btnBaiTy");
    EXPECT_TRUE(sent(21).empty()) << "not my turn";
    turnOf(kMe);
    EXPECT_FALSE(table()->imgNextMe()->isHidden());
    EXPECT_FALSE(table()->btnAutoSelected()->isHidden());
    tap("id=btnBaiTy");
    tap("id=btnAutoSelected");
    EXPECT_EQ(sent(21), (std::vector<ByteVector>{{kRoom, kBoard, 0}, {kRoom, kBoard, 1}}));
    turnOf(9);
    advance(1);
    EXPECT_TRUE(table()->imgNextMe()->isHidden());
}

TEST_F(XiZachRoad, TheTurnIsAnnouncedAtTheOwnersSeatOrInTheMiddleForTheOwner) {
    sitAsGuest();
    dealt(9);
    turnOf(9);
    EXPECT_EQ(bubble(*table(), 1), text("KAVO_nextPlayer") + " binh!") << "an owns the table, at seat 1";
    turnOf(8);
    EXPECT_EQ(bubble(*table(), 4), text("KAVO_nextPlayer") + " " + text("KAVO_owner") + "!");
    send(Bytes().byte(kRoom).byte(kBoard).byte(1).byte(int8_t(kMe)).raw({1, 2, 3, 4}).message(50));
    turnOf(kMe);
    EXPECT_NE(table()->nextPlayer(), kMe) << "a turn after the game is over changes nothing";
}

// One turn is told at a time: when my turn as the owner comes, the line that told binh's turn
// at my seat goes, and a line that waited behind it shows in its place.
TEST_F(XiZachRoad, OnlyTheTurnUnderWayIsTold) {
    sitAsOwner();
    dealt(9);
    turnOf(9);
    EXPECT_EQ(bubble(*table(), 0), text("KAVO_nextPlayer") + " binh!");
    turnOf(kMe);
    EXPECT_EQ(bubble(*table(), 4), text("KAVO_nextPlayer") + " " + text("KAVO_owner") + "!");
    EXPECT_EQ(bubble(*table(), 0), "") << "binh's turn is over";
    turnOf(9);
    EXPECT_EQ(bubble(*table(), 4), "") << "my turn is over";
    send(Bytes().byte(kRoom).byte(kBoard).int32(kMe).utf("toi day").message(9));
    turnOf(kMe);
    EXPECT_EQ(bubble(*table(), 0), "toi day") << "my line waited behind binh's turn and shows now";
}

// The next turn takes back only its own notice: a chat line that waited behind the notice
// and now shows in the bubble reads to its end, and the new notice waits behind it.
TEST_F(XiZachRoad, TheNextTurnLeavesTheChatLineThatFollowedTheTurnNotice) {
    sitAsGuest();
    dealt(9);
    turnOf(9);
    const std::string binhsTurn = text("KAVO_nextPlayer") + " binh!";
    ASSERT_EQ(bubble(*table(), 1), binhsTurn) << "an owns the table, at seat 1";
    send(Bytes().byte(kRoom).byte(kBoard).int32(8).utf("nhanh len").message(9));
    EXPECT_EQ(bubble(*table(), 1), binhsTurn) << "an's line waits behind the notice";
    advance(3.1); // the notice's three seconds
    ASSERT_EQ(bubble(*table(), 1), "nhanh len");

    turnOf(kMe);
    EXPECT_EQ(bubble(*table(), 1), "nhanh len") << "the next turn leaves an's line";
    advance(3.1); // the line's three seconds
    EXPECT_EQ(bubble(*table(), 1), text("KAVO_nextPlayer") + " khach!") << "my turn is told next";
}

// A turn told while the bubble still shows a chat line waits behind it; when the next turn
// comes first, the notice of the turn that is over never shows: only the turn under way is.
TEST_F(XiZachRoad, ATurnNoticeStillWaitingWhenTheNextTurnComesIsNeverShown) {
    sitAsGuest();
    dealt(9);
    const auto said = [&](const std::string& line) {
        send(Bytes().byte(kRoom).byte(kBoard).int32(8).utf(line).message(9));
    };
    const std::string myTurn = text("KAVO_nextPlayer") + " khach!";
    said("nhanh len");
    ASSERT_EQ(bubble(*table(), 1), "nhanh len");
    turnOf(9);
    EXPECT_EQ(bubble(*table(), 1), "nhanh len") << "binh's turn waits behind an's line";
    turnOf(kMe);
    EXPECT_EQ(bubble(*table(), 1), "nhanh len");
    advance(3.1); // the line's three seconds
    EXPECT_EQ(bubble(*table(), 1), myTurn) << "only my turn is told";

    // A line said after the notice waits with it, and stays when the notice goes.
    said("di di");
    advance(3.1);
    ASSERT_EQ(bubble(*table(), 1), "di di");
    turnOf(9);
    said("xong");
    turnOf(kMe);
    EXPECT_EQ(bubble(*table(), 1), "di di");
    advance(3.1);
    EXPECT_EQ(bubble(*table(), 1), "xong, " + myTurn);
}

TEST_F(XiZachRoad, ADrawnCardJoinsMyHandAndShiftsTheOthersByHalfACard) {
    sitAsOwner();
    dealt(kMe);
    send(Bytes().byte(kRoom).byte(kBoard).byte(0).int32(kMe).byte(33).message(21));
    advance(0.3);
    ASSERT_EQ(StakeTableView::handOf(table()->myRecord()).size(), 3u);
    EXPECT_EQ(myCard(0)->center(), (platform::ui::Point{185, 277.5}));
    EXPECT_EQ(myCard(1)->center(), (platform::ui::Point{235, 277.5}));
    EXPECT_EQ(myCard(2)->center(), (platform::ui::Point{285, 277.5}));
    EXPECT_FALSE(table()->btnFire()->isHidden()) << "a new card to look at";
}

// A slow client may read a player's draw before the deal's steps have run: the deal then ends
// at once, and the drawn card lies where it lies when drawn after the deal, in its seat's fan
// and clear of the deck that the owner taps on his turn.
TEST_F(XiZachRoad, ACardDrawnBeforeTheDealEndsLiesWhereItWouldAfterIt) {
    sitAsOwner();
    auto draws = [this](int32_t who) { send(Bytes().byte(kRoom).byte(kBoard).byte(0).int32(who).byte(7).message(21)); };
    auto hand = [this](int32_t who) { return StakeTableView::handOf(table()->playerWithId(who)); };
    dealt(9);
    draws(9);
    advance(1);
    ASSERT_EQ(hand(9).size(), 3u);
    const auto afterTheDeal = hand(9).back()->frame();

    start(9);
    draws(9);
    EXPECT_FALSE(table()->dealer().isDealing());
    advance(1);
    ASSERT_EQ(hand(9).size(), 3u);
    EXPECT_EQ(cardsOn(*table()), 7u) << "my two cards, two each for an and binh, and binh's draw";
    EXPECT_EQ(hand(9).back()->frame(), afterTheDeal);
    turnOf(kMe);
    tap("id=btnBaiTy");
    EXPECT_EQ(sent(21), (std::vector<ByteVector>{{kRoom, kBoard, 0}}));
}

TEST_F(XiZachRoad, TheOwnerChecksEachHandOnceOnHisTurnAndOthersNever) {
    sitAsOwner();
    dealt(9);
    tap("id=cardBack#4");
    EXPECT_TRUE(sent(67).empty()) << "not my turn";
    turnOf(kMe);
    platform::ui::Button info;
    info.setTitle("8");
    table()->clickViewPlayerInfo(info);
    table()->clickViewPlayerInfo(info);
    tap("id=cardBack#4");
    tap("id=cardBack#4");
    table()->clickViewPlayerInfo(info);
    EXPECT_EQ(sent(67), (std::vector<ByteVector>{{kRoom, kBoard, 0, 0, 0, 8},
                                                 {kRoom, kBoard, 0, 0, 0, 8},
                                                 {kRoom, kBoard, 0, 0, 0, 9},
                                                 {kRoom, kBoard, 0, 0, 0, 8}}))
        << "the info button asks each time, the card once";
    info.setTitle("9");
    table()->clickViewPlayerInfo(info);
    EXPECT_EQ(sent(67).size(), 4u) << "a hand the card asked for is not asked again";
}

TEST_F(XiZachRoad, AGuestsInfoButtonAsksForAHandOnlyOnTheOwnersTurnAndHisCardTapNever) {
    sitAsGuest();
    dealt(9);
    platform::ui::Button info;
    info.setTitle("9");
    table()->clickViewPlayerInfo(info);
    EXPECT_TRUE(sent(67).empty()) << "the first turn is Binh's, not the owner's";
    turnOf(8);
    table()->clickViewPlayerInfo(info);
    table()->xetBaiWithPlayer(9);
    info.setTitle("77");
    table()->clickViewPlayerInfo(info);
    EXPECT_EQ(sent(67), (std::vector<ByteVector>{{kRoom, kBoard, 0, 0, 0, 9}})) << "nobody sits as 77";
}

TEST_F(XiZachRoad, TheOwnerShownMoreIdsThanHeHoldsDrawsTheLast) {
    sitAsGuest();
    dealt(9);
    const auto shown = [&](std::initializer_list<uint8_t> ids) {
        send(Bytes().byte(kRoom).byte(kBoard).byte(2).int32(8).byte(int8_t(ids.size())).raw(ids).message(21));
        advance(0.3);
    };
    shown({1, 2, 40});
    auto an = StakeTableView::handOf(table()->playerWithId(8));
    ASSERT_EQ(an.size(), 3u);
    EXPECT_EQ(an[0]->accessibilityIdentifier(), "cardBack") << "no face yet";
    EXPECT_EQ(an[2]->cardID(), 40);
    shown({1, 2, 40});
    EXPECT_EQ(an[0]->accessibilityIdentifier(), "card1");
    EXPECT_EQ(an[1]->accessibilityIdentifier(), "card2");
    send(Bytes().byte(kRoom).byte(kBoard).byte(2).int32(9).byte(2).raw({255, 7}).message(21));
    auto binh = StakeTableView::handOf(table()->playerWithId(9));
    EXPECT_EQ(binh[0]->accessibilityIdentifier(), "cardBack");
    EXPECT_EQ(binh[1]->accessibilityIdentifier(), "card7");
}

TEST_F(XiZachRoad, MyScoreTextWaitsForMySecondCardAndPeekingUncoversOne) {
    sitAsOwner();
    dealt(9);
    send(Bytes().int32(kMe).utf("17 diem").message(91));
    EXPECT_TRUE(table()->btnFire()->isHidden());
    table()->btnFire()->setHidden(false);
    tap("id=btnFire");
    advance(0.4);
    ASSERT_TRUE(table()->peek().isPeeking());
    advance(0.4);
    EXPECT_EQ(table()->indexBaiNan(), 0) << "the face lies under the cover, not yet looked at";
    ASSERT_TRUE(drive("drag id=imgBaiTiNanBai 0 20").ok);
    advance(0.4);
    EXPECT_FALSE(table()->peek().isPeeking());
    EXPECT_EQ(table()->indexBaiNan(), 1) << "dragging the cover off turned it";
    EXPECT_EQ(bubble(*table(), 0), "");
    EXPECT_EQ(myCard(0)->center(), (platform::ui::Point{210, 277.5}));
    tap("id=card44");
    EXPECT_EQ(table()->indexBaiNan(), 2);
    EXPECT_EQ(bubble(*table(), 0), "17 diem");
    EXPECT_TRUE(table()->btnFire()->isHidden()) << "nothing left to look at";
}

// Escape puts a peek away unlooked, as at Bai Cao and Cao Rua: the card lies face down in
// my hand again and is not counted as turned.
TEST_F(XiZachRoad, EscapeEndsAPeekWithTheCardFaceDownInMyHand) {
    sitAsOwner();
    dealt(9);
    table()->btnFire()->setHidden(false);
    tap("id=btnFire");
    advance(PeekController::kZoomSeconds + 0.1);
    expectEscapeEndsThePeek(*table(), table()->peek(), true);
    EXPECT_EQ(table()->indexBaiNan(), 0);
    EXPECT_TRUE(myCard(0)->isTouch()) << "still to be turned";
    EXPECT_FALSE(table()->btnFire()->isHidden()) << "the peek button offers it again";
}

TEST_F(XiZachRoad, PeeksDuringTheDealLookOnlyAtDealtCards) {
    sitAsOwner();
    start(9);
    tap("id=btnFire");
    ASSERT_TRUE(table()->peek().isPeeking());
    EXPECT_EQ(table()->peek().backCard(), myCard(0));
    ASSERT_TRUE(drive("drag id=imgBaiTiNanBai 0 20").ok);
    advance(0.4);
    ASSERT_FALSE(table()->peek().isPeeking());
    ASSERT_TRUE(table()->dealer().isDealing());
    tap("id=btnFire");
    EXPECT_FALSE(table()->peek().isPeeking()) << "my second card is not dealt yet";
    advance(2);
    tap("id=btnFire");
    ASSERT_TRUE(table()->peek().isPeeking());
    EXPECT_EQ(table()->peek().backCard(), myCard(1));
    ASSERT_TRUE(drive("drag id=imgBaiTiNanBai 0 20").ok);
    advance(0.4);
    EXPECT_FALSE(table()->peek().isPeeking());
    EXPECT_EQ(myCard(0)->center(), (platform::ui::Point{210, 277.5}));
    EXPECT_EQ(myCard(1)->center(), (platform::ui::Point{260, 277.5}));
    EXPECT_TRUE(myCard(1)->transform().isIdentity());
}

TEST_F(XiZachRoad, TheGameOverShowsEveryHandAndMoneySoundsOnceInASecondAndAHalf) {
    sitAsGuest();
    dealt(9);
    Bytes hands;
    hands.byte(kRoom).byte(kBoard).byte(2).int32(9).byte(3).raw({10, 11, 12}).int32(kMe).byte(2).raw({5, 44});
    send(hands.message(50));
    auto binh = StakeTableView::handOf(table()->playerWithId(9));
    EXPECT_EQ(binh[1]->accessibilityIdentifier(), "card11");
    advance(0.4);
    EXPECT_EQ(myCard(0)->subviews().size(), 1u) << "my unseen cards are turned up too";
    EXPECT_EQ(myCard(1)->subviews().size(), 1u);
    EXPECT_EQ(table()->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_continuee"));
    send(Bytes().int32(9).utf("Quac").message(91));
    EXPECT_EQ(bubble(*table(), 2), "Quac");
    platform::SystemSound::clearRecord();
    send(Bytes().byte(kRoom).byte(kBoard).int32(9).int32(-100).utf("thua").message(52));
    send(Bytes().byte(kRoom).byte(kBoard).int32(8).int32(100).utf("thang").message(52));
    EXPECT_EQ(played("trung-tien.wav"), 1u);
    EXPECT_EQ(table()->playerWithId(9)->money(), 499900);
    EXPECT_EQ(table()->playerWithId(8)->money(), 500100);
    advance(1.5);
    send(Bytes().byte(kRoom).byte(kBoard).int32(9).int32(-100).utf("thua").message(52));
    EXPECT_EQ(played("trung-tien.wav"), 2u);
}

TEST_F(XiZachRoad, AGuestPlaysAHandAndReadiesForTheNext) {
    const Bytes hands = Bytes().int32(kMe).byte(2).raw({5, 44}).int32(8).byte(2).raw({10, 11});
    playAHandAsAGuest(
        kXiZach, []() -> StakeTableView& { return *GameController::getXiZachView(); },
        Bytes().byte(kRoom).byte(kBoard).int32(8).byte(20).raw({5, 44}).message(20),
        Bytes().byte(kRoom).byte(kBoard).byte(2).raw(hands.data()).message(50));
}

TEST_F(XiZachRoad, AtTheEndOfAHandMyCardsNeverTurnedLieFaceUpBesideTheOnesITurned) {
    sitAsGuest();
    dealt(9);
    tap("id=card5");
    advance(0.4);
    ASSERT_EQ(myCard(0)->subviews().size(), 1u) << "the one I turned";
    ASSERT_EQ(myCard(1)->subviews().size(), 2u) << "still covered";
    send(
        Bytes().byte(kRoom).byte(kBoard).byte(2).int32(kMe).byte(2).raw({5, 44}).int32(9).byte(2).raw({10, 11}).message(
            50));
    advance(0.4);
    EXPECT_EQ(myCard(1)->accessibilityIdentifier(), "card44");
    EXPECT_EQ(myCard(1)->subviews().size(), 1u) << "its cover came off";
    EXPECT_FALSE(myCard(1)->isTouch());
    EXPECT_EQ(myCard(0)->subviews().size(), 1u);
}

} // namespace
} // namespace kavo::test
