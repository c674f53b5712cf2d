// The Cao Rua road end to end: a signed-in client on the manual clock against the test
// portal, driven like a person from the game grid to a six-place table, through a hand
// and back to the board list.
#include "app/UIController.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/registry/GameController.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int32_t kLan = 81;
constexpr int32_t kMinh = 82;
constexpr int32_t kHoa = 83;

class CaoRuaRoad : public TableRoadFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 3, 6);
    }
    void signInAndOpenTheList() { signInAndTapTheBoard("btnCaoRua", true); }
    std::shared_ptr<CaoRuaView> table() { return GameController::getCaoRuaView(); }
    std::string title(const std::shared_ptr<platform::ui::Button>& button) {
        return button->titleForState(platform::ui::ControlState::Normal);
    }
    // Signs in and joins board 7 of room 2 with these places (-1: empty), me the owner.
    void sitAt(const std::vector<std::pair<int32_t, std::string>>& places) {
        signInAndOpenTheList();
        Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
        for (const auto& [id, name] : places)
            seatRow(join, id, name, true);
        send(join.message(8));
        ASSERT_TRUE(drive("screen CaoRuaView 30\nadvance 0.5").ok);
        portal().clearMessages();
    }
    // A hand with my cards 4, 17 and 30.
    void start() { send(Bytes().byte(2).byte(7).byte(10).int32(1000).raw({4, 17, 30}).message(20)); }
    void turned(int32_t who, std::initializer_list<uint8_t> cards) {
        send(Bytes().byte(2).byte(7).int32(who).raw(cards).message(21));
    }
    // The bodies of the command the portal has got since it was cleared, once the client's
    // requests so far have reached it.
    std::vector<std::vector<uint8_t>> sent(int16_t command) {
        EXPECT_TRUE(portalCaughtUp()) << "the client's requests did not reach the portal";
        std::vector<std::vector<uint8_t>> bodies;
        for (const auto& message : portal().messages(command))
            bodies.push_back(message.body);
        return bodies;
    }
    // The cards lying on the table (the peek cover is not one).
    size_t cardsOn() {
        size_t cards = 0;
        for (const auto& child : table()->view()->subviews())
            if (dynamic_cast<BCCardView*>(child.get()) && child != table()->peek().cover()) ++cards;
        return cards;
    }
    std::shared_ptr<BCCardView> card(int32_t who, size_t index) {
        auto player = std::dynamic_pointer_cast<TienLenPlayer>(table()->playerWithId(who));
        if (!player || !player->cards() || index >= player->cards()->size()) return nullptr;
        return std::dynamic_pointer_cast<BCCardView>(player->cards()->at(index));
    }
    bool onTable(int32_t who, size_t index) {
        auto dealt = card(who, index);
        return dealt && dealt->superview() == table()->view().get();
    }
    static bool spinnerOn(const platform::ui::ViewPtr& view) {
        for (const auto& child : view->subviews())
            if (dynamic_cast<platform::ui::ActivityIndicatorView*>(child.get())) return true;
        return false;
    }
};

TEST_F(CaoRuaRoad, APlayerSitsAtSixPlacesReadiesPlaysAHandAndLeaves) {
    signInAndOpenTheList();
    EXPECT_EQ(lastSent(8), (std::vector<uint8_t>{2, 7, 0, 0})) << "the join, no password";

    Bytes join = Bytes().byte(2).byte(7).int32(kLan).int32(1000);
    seatRow(join, kLan, "lan", true);
    seatRow(join, -1);
    seatRow(join, kMinh, "minh", true);
    seatRow(join, -1);
    seatRow(join, kMe, "Khach");
    seatRow(join, kHoa, "hoa", true);
    send(join.message(8));
    ASSERT_TRUE(drive("screen CaoRuaView 30\nadvance 0.5").ok);
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
    EXPECT_EQ(minh->cards()->at(0)->cardView().accessibilityIdentifier(), "card5");

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
    EXPECT_EQ(minh->cards()->at(2)->cardView().accessibilityIdentifier(), "card7");
    EXPECT_EQ(title(table()->btnStart()), text("KAVO_continuee"));
    ASSERT_TRUE(drive("tap id=btnStart").ok);
    EXPECT_EQ(title(table()->btnStart()), text("KAVO_ready"));
    EXPECT_TRUE(table()->view()->subviewsOfType<BCCardView>().empty());

    // Leaving without cards and not ready: one leave request, back to the list.
    portal().clearMessages();
    table()->doLeaveBoard();
    EXPECT_EQ(lastSent(15), (std::vector<uint8_t>{2, 7}));
    ASSERT_TRUE(drive("screen BoardView 30").ok) << log();
}

// ---------------------------------------------------------------- dealing, peeking, turning

TEST_F(CaoRuaRoad, SixPlayersGetEighteenCardsAFifteenthApartMineFirst) {
    sitAt({{kLan, "lan"}, {kMinh, "minh"}, {84, "tuan"}, {85, "thu"}, {kMe, "Khach"}, {kHoa, "hoa"}});
    table()->clickNanBai();
    EXPECT_FALSE(table()->peek().isPeeking()) << "no hand, no peek";
    start();
    EXPECT_EQ(cardsOn(), 1u) << "my third card flies at once";
    EXPECT_TRUE(onTable(kMe, 2));
    EXPECT_TRUE(table()->daChiaBaiXong());
    for (size_t step = 2; step <= 18; ++step) {
        advance(0.14);
        EXPECT_EQ(cardsOn(), step - 1);
        advance(0.01);
        EXPECT_EQ(cardsOn(), step);
    }
    EXPECT_FALSE(table()->dealer().isDealing());
    EXPECT_EQ(table()->dealer().seatIndex(), 0);
    EXPECT_FALSE(table()->btnNanBai()->isHidden());
    advance(0.1);
    // My hand fans out at the bottom from the deck point, 50 points apart.
    EXPECT_EQ(card(kMe, 0)->center().x, 190);
    EXPECT_EQ(card(kMe, 1)->center().x, 240);
    EXPECT_EQ(card(kMe, 2)->center().x, 290);
    EXPECT_NEAR(card(kMe, 2)->center().y, 246.33, 0.01);
    advance(2);
    EXPECT_EQ(cardsOn(), 18u);
}

TEST_F(CaoRuaRoad, WithPlayersAtPlacesZeroAndThreeTheDealMakesSixMoves) {
    sitAt({{kMe, "Khach"}, {-1, ""}, {-1, ""}, {kLan, "lan"}, {-1, ""}, {-1, ""}});
    start();
    // Each pass: my card, then his; the last card of every hand first.
    const std::vector<std::pair<int32_t, size_t>> moves = {{kMe, 2},  {kLan, 2}, {kMe, 1},
                                                           {kLan, 1}, {kMe, 0},  {kLan, 0}};
    for (size_t move = 0; move < moves.size(); ++move) {
        if (move > 0) advance(0.15);
        EXPECT_EQ(cardsOn(), move + 1) << "move " << move;
        EXPECT_TRUE(onTable(moves[move].first, moves[move].second)) << "move " << move;
    }
    EXPECT_FALSE(table()->dealer().isDealing());
    EXPECT_EQ(table()->dealer().seatIndex(), 0);
    EXPECT_EQ(table()->dealer().pass(), 0);
    EXPECT_FALSE(table()->btnNanBai()->isHidden());
    advance(1);
    EXPECT_EQ(cardsOn(), 6u);
}

TEST_F(CaoRuaRoad, ANewHandOrLeavingDropsTheDealUnderWay) {
    sitAt({{kMe, "Khach"}, {kLan, "lan"}, {kMinh, "minh"}, {-1, ""}, {-1, ""}, {-1, ""}});
    start();
    advance(0.45);
    EXPECT_EQ(cardsOn(), 4u);
    start();
    EXPECT_EQ(cardsOn(), 1u) << "the old hand leaves the table";
    EXPECT_EQ(table()->dealer().seatIndex(), 1);
    advance(1.25);
    EXPECT_EQ(cardsOn(), 9u);
    advance(1);
    EXPECT_EQ(cardsOn(), 9u) << "the first chain never comes back";
    start();
    table()->onLeftTable();
    advance(1);
    EXPECT_EQ(cardsOn(), 1u) << "nothing dealt after leaving";
}

TEST_F(CaoRuaRoad, APeekDuringTheDealLooksAtMyCardAlreadyDealt) {
    sitAt({{kMe, "Khach"}, {kLan, "lan"}, {kMinh, "minh"}, {-1, ""}, {-1, ""}, {-1, ""}});
    start();
    ASSERT_TRUE(onTable(kMe, 2));
    ASSERT_FALSE(onTable(kMe, 0));
    table()->clickNanBai();
    ASSERT_TRUE(table()->peek().isPeeking());
    EXPECT_EQ(table()->peek().backCard(), card(kMe, 2)) << "the one card of mine dealt yet";
}

TEST_F(CaoRuaRoad, EscapeEndsAPeekWithTheCardFaceDownInMyHand) {
    sitAt({{kMe, "Khach"}, {kLan, "lan"}, {kMinh, "minh"}, {-1, ""}, {-1, ""}, {-1, ""}});
    start();
    advance(2);
    ASSERT_TRUE(drive("tap id=btnNanBai\nadvance 0.4").ok);
    expectEscapeEndsThePeek(*table(), table()->peek(), true);
}

TEST_F(CaoRuaRoad, APeekSendsTheCardDraggedOffAndTheServersReportEndsIt) {
    sitAt({{kMe, "Khach"}, {kLan, "lan"}, {kMinh, "minh"}, {-1, ""}, {-1, ""}, {-1, ""}});
    start();
    advance(2);
    ASSERT_TRUE(drive("tap id=btnNanBai\nadvance 0.4").ok);
    ASSERT_TRUE(table()->peek().isPeeking());
    EXPECT_EQ(table()->imgBaiTiNanBai()->alpha(), 1);
    EXPECT_EQ(table()->peek().backCard(), card(kMe, 0));
    EXPECT_EQ(card(kMe, 0)->subviews().size(), 1u) << "the back came off under the cover";
    ASSERT_TRUE(drive("drag id=imgBaiTiNanBai 5 5").ok);
    EXPECT_TRUE(sent(21).empty()) << "too short a drag";
    ASSERT_TRUE(drive("drag id=imgBaiTiNanBai 11 0").ok);
    EXPECT_EQ(sent(21), (std::vector<std::vector<uint8_t>>{{2, 7, 4, 255, 255}}));
    EXPECT_TRUE(spinnerOn(table()->viewNanBai()));
    turned(kMe, {4, 255, 255});
    EXPECT_FALSE(spinnerOn(table()->viewNanBai()));
    EXPECT_EQ(card(kMe, 0)->accessibilityIdentifier(), "card4");
    EXPECT_FALSE(card(kMe, 0)->isTouch());
    EXPECT_EQ(table()->indexBaiNan(), 1);
    advance(0.4);
    EXPECT_FALSE(table()->peek().isPeeking());
    EXPECT_EQ(card(kMe, 0)->center().x, 190) << "back at its place";
    turned(kMe, {4, 255, 255});
    EXPECT_EQ(table()->indexBaiNan(), 1) << "a repeat changes nothing";
}

TEST_F(CaoRuaRoad, TurnRequestsNameTheCardsAskedForAndTheNextOne) {
    sitAt({{kMe, "Khach"}, {kLan, "lan"}, {-1, ""}, {-1, ""}, {-1, ""}, {-1, ""}});
    start();
    advance(2);
    ASSERT_TRUE(drive("tap id=card4\ntap id=card17").ok);
    table()->doFireWithCardId(-1);
    table()->doFireWithCardId(-1);
    EXPECT_EQ(sent(21), (std::vector<std::vector<uint8_t>>{{2, 7, 4, 255, 255}, {2, 7, 4, 17, 255}, {2, 7, 4, 17, 30}}))
        << "the last -1 had nothing left to ask";
    start();
    advance(2);
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=card30").ok);
    table()->doFireWithCardId(-1);
    EXPECT_EQ(sent(21), (std::vector<std::vector<uint8_t>>{{2, 7, 255, 255, 30}, {2, 7, 4, 255, 255}}));
    EXPECT_TRUE(card(kMe, 0)->isSelected());

    // Another player's report shows only the cards named.
    turned(kLan, {5, 255, 255});
    EXPECT_EQ(card(kLan, 0)->accessibilityIdentifier(), "card5");
    EXPECT_EQ(card(kLan, 1)->accessibilityIdentifier(), "cardBack");
    EXPECT_EQ(card(kLan, 2)->accessibilityIdentifier(), "cardBack");
    EXPECT_FALSE(table()->btnNanBai()->isHidden());
    turned(kMe, {4, 17, 30});
    EXPECT_EQ(table()->indexBaiNan(), 3);
    EXPECT_TRUE(table()->btnNanBai()->isHidden()) << "after my third card";
}

TEST_F(CaoRuaRoad, ADoubleTapSendsAllThreeAndTheRevealPutsThePeekBack) {
    sitAt({{kMe, "Khach"}, {kLan, "lan"}, {-1, ""}, {-1, ""}, {-1, ""}, {-1, ""}});
    start();
    advance(2);
    card(kMe, 1)->handleTapGesture();
    EXPECT_EQ(sent(21), (std::vector<std::vector<uint8_t>>{{2, 7, 4, 17, 30}}));
    EXPECT_TRUE(table()->btnNanBai()->isHidden());

    start();
    advance(2);
    ASSERT_TRUE(drive("tap id=btnNanBai\nadvance 0.4").ok);
    ASSERT_TRUE(table()->peek().isPeeking());
    Bytes reveal = Bytes().byte(2).byte(7).byte(2);
    reveal.int32(kMe).raw({4, 17, 30}).int32(kLan).raw({5, 6, 0xff});
    send(reveal.message(50));
    advance(0.4);
    EXPECT_FALSE(table()->peek().isPeeking());
    EXPECT_EQ(card(kMe, 0)->center().x, 190);
    EXPECT_EQ(card(kLan, 1)->accessibilityIdentifier(), "card6");
    EXPECT_EQ(card(kLan, 2)->accessibilityIdentifier(), "cardBack") << "255 stays face down";
    EXPECT_EQ(title(table()->btnStart()), text("KAVO_continuee"));
}

} // namespace
} // namespace kavo::test
