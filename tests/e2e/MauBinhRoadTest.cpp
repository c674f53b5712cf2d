// The Mau Binh road end to end: a signed-in client on the manual clock against the
// test portal, a person's fingers arranging the thirteen cards, the server's sort,
// auto-arrange and finish, and the result show with its clean-up.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/maubinh/MauBinhView.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "table/registry/GameController.h"
#include "table/sheets/MauBinhResultView.h"
#include "tests/e2e/FriendListFirst.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int32_t kLan = 4001;
constexpr int32_t kMinh = 4002;

// My deal, in the server's order: 2c 2d 5h 7s 9c 9d Jh Qs Kc Kd Kh Ac Ad.
const std::vector<int8_t> kDeal = {0, 1, 14, 23, 28, 29, 38, 43, 44, 45, 46, 48, 49};

class MauBinhRoad : public TableRoadFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 1, 4);
    }

    void signInAndJoin() {
        signInAndTapTheBoard("btnMauBinh", true);
        ASSERT_TRUE(waitForCommand(8));
        joinReply();
        // The game grid's wait for its friend list (which this portal never answers) runs
        // out 10 s after it opened and says so over the table; the notice is closed first.
        advance(10.5);
        UIController::closeDialog();
        advance(0.5);
    }
    // My friends as a friend list sent just before the join, when any.
    std::vector<int32_t> friendsFirst;
    void joinReply() {
        Bytes join = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
        seatRow(join, kMe, "Khach");
        seatRow(join, kLan, "lan", true);
        seatRow(join, kMinh, "minh", true);
        seatRow(join, -1, "");
        if (friendsFirst.empty()) {
            send(join.message(8));
        } else {
            ASSERT_TRUE(sendFriendsThenJoin(portal(), friendsFirst, join.message(8)));
            advance(0);
        }
        ASSERT_TRUE(drive("screen MauBinhView 30").ok);
        ticks(6);
    }
    void game(Bytes body) { send(body.message(47)); }
    void deal(int8_t type = -1) {
        Bytes start = Bytes().byte(20).byte(2).byte(7).byte(90);
        for (int8_t id : kDeal)
            start.byte(id);
        game(start.byte(type));
        ticks(6);
        advance(0.5);
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            advance(MauBinhView::kTick);
    }
    std::shared_ptr<MauBinhView> table() { return GameController::getMauBinhView(); }
    std::shared_ptr<CardViewPhom> card(size_t index) {
        auto* hand = table()->getMyCard();
        return hand && index < hand->size() ? std::dynamic_pointer_cast<CardViewPhom>((*hand)[index]) : nullptr;
    }
    std::vector<int> order() { return table()->myCardIds(); }
    int indexOf(int id) {
        const auto ids = order();
        for (size_t i = 0; i < ids.size(); ++i)
            if (ids[i] == id) return int(i);
        return -1;
    }
    std::shared_ptr<CardViewPhom> cardWithId(int id) { return card(size_t(indexOf(id))); }
    // The visible part of a row card (the next card covers its right side).
    static ui::Point grip(const std::shared_ptr<CardViewPhom>& card) {
        const auto frame = card->frame();
        return card->superview()->convertPoint({frame.x() + 8, frame.y() + frame.height() / 2}, nullptr);
    }
    static ui::Point centre(const ui::View& view) { return view.superview()->convertPoint(view.center(), nullptr); }
    // A finger goes down at `from`, moves through `path` in small steps, and lifts.
    void finger(ui::Point from, std::vector<ui::Point> path) {
        auto& app = ui::Application::shared();
        app.dispatchTouch(ui::TouchPhase::Began, from);
        ui::Point at = from;
        for (const auto& to : path) {
            for (int step = 1; step <= 6; ++step)
                app.dispatchTouch(ui::TouchPhase::Moved,
                                  {at.x + (to.x - at.x) * step / 6, at.y + (to.y - at.y) * step / 6});
            at = to;
        }
        app.dispatchTouch(ui::TouchPhase::Ended, at);
        advance(0.4);
    }
    void tapAt(ui::Point point) { finger(point, {}); }
    // Lifts the selection (with this card) straight up, then over to a hand.
    void lift(const std::shared_ptr<CardViewPhom>& card, ui::Point hand) {
        const ui::Point from = grip(card);
        finger(from, {{from.x, 160}, hand});
    }
    std::vector<int> placeTags() {
        std::vector<int> tags;
        for (const auto& place : table()->cardPlaces())
            tags.push_back(place->tag());
        return tags;
    }
    bool shot(const std::string& name) {
        const std::string path = "maubinh-" + name + ".png";
        auto result = drive("shot " + path);
        return result.ok && ui::Image::fromFile(path);
    }
    // The rising texts of the show now (text and colour).
    std::vector<std::string> texts() {
        std::vector<std::string> all;
        for (const auto& label : table()->risingTexts())
            all.push_back(label->text());
        return all;
    }
};

std::vector<int> slice(const std::vector<int>& all, size_t from, size_t to) {
    return std::vector<int>(all.begin() + long(from), all.begin() + long(std::min(to, all.size())));
}

const ui::Point kFront{240, 105};
const ui::Point kMiddle{240, 150};

TEST_F(MauBinhRoad, APersonPlacesTheCardsByTouchAndArrangesThemOnTheArrangingScreen) {
    signInAndJoin();
    deal();
    ASSERT_EQ(order(), std::vector<int>(kDeal.begin(), kDeal.end())) << "47/20 deals my row";
    EXPECT_TRUE(table()->vBoardView()->isVisibleOnScreen());
    EXPECT_EQ(centre(*card(0)).x, 60);
    EXPECT_EQ(centre(*card(12)).x, 420);
    ASSERT_TRUE(shot("deal-phone"));

    // A manual finish with a free place sends nothing.
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnFire").ok);
    advance(0.2);
    EXPECT_TRUE(portal().messages(47).empty());

    // A tap lifts a card and a second tap drops it.
    tapAt(grip(card(12)));
    EXPECT_TRUE(card(12)->isSelected());
    tapAt(grip(card(12)));
    EXPECT_FALSE(card(12)->isSelected());

    // A sideways slide through the row selects every card it crosses, once.
    finger(grip(card(0)), {{grip(card(3)).x, 248}});
    for (size_t i = 0; i < 13; ++i)
        EXPECT_EQ(card(i)->isSelected(), i < 4) << i;

    // Four lifted into the front do not fit: the invalid-card text, nothing placed.
    lift(card(0), kFront);
    EXPECT_EQ(placeTags(), std::vector<int>(13, 0));
    EXPECT_TRUE(drive("expect text=" + text("KAVO_invalidCard")).ok) << "in the table's fifth bubble";
    for (size_t i = 0; i < 13; ++i)
        EXPECT_FALSE(card(i)->isSelected()) << "back in the row";

    // Three lifted into the front fill places 0-2 in the cards' order.
    finger(grip(card(0)), {{grip(card(2)).x, 248}});
    lift(card(0), kFront);
    EXPECT_EQ(slice(order(), 0, 3), (std::vector<int>{0, 1, 14}));
    EXPECT_EQ(slice(placeTags(), 0, 4), (std::vector<int>{2, 2, 2, 0}));
    EXPECT_TRUE(card(0)->isChecked());
    ASSERT_TRUE(shot("placing-phone"));

    // Three into the middle (places 3-5), then a tap sends the one at place 4 back.
    finger(grip(cardWithId(23)), {{grip(cardWithId(29)).x, 248}});
    lift(cardWithId(23), kMiddle);
    EXPECT_EQ(slice(order(), 3, 6), (std::vector<int>{23, 28, 29}));
    tapAt(centre(*table()->cardPlaces()[4]));
    EXPECT_FALSE(cardWithId(28)->isChecked()) << "a tap returns a placed card";
    EXPECT_EQ(cardWithId(28)->transform().a, 1);
    EXPECT_EQ(slice(placeTags(), 3, 8), (std::vector<int>{2, 0, 2, 0, 0}));

    // Two into the middle with 3 and 5 taken fill 4 and 6.
    finger(grip(cardWithId(38)), {{grip(cardWithId(43)).x, 248}});
    lift(cardWithId(38), kMiddle);
    EXPECT_EQ(indexOf(38), 4);
    EXPECT_EQ(indexOf(43), 6);
    EXPECT_EQ(slice(placeTags(), 3, 8), (std::vector<int>{2, 2, 2, 2, 0}));

    // A low drag moves a row card to the index of the card it passed over.
    const int from = indexOf(49);
    const int to = indexOf(45);
    finger(grip(cardWithId(49)), {{grip(cardWithId(49)).x, 290}, {centre(*cardWithId(45)).x, 290}});
    EXPECT_EQ(indexOf(49), to);
    EXPECT_EQ(indexOf(45), to + 1);
    EXPECT_NE(from, to);
    EXPECT_EQ(cardWithId(49)->alpha(), 1.0);

    // A placed card dragged onto another placed card swaps with it.
    finger(centre(*card(0)), {centre(*table()->cardPlaces()[3])});
    EXPECT_EQ(order()[0], 23);
    EXPECT_EQ(order()[3], 0);
    // Onto a free place: it moves there and frees its place.
    finger(centre(*card(6)), {centre(*table()->cardPlaces()[7])});
    EXPECT_EQ(order()[7], 43);
    EXPECT_EQ(placeTags()[6], 0);
    EXPECT_EQ(placeTags()[7], 2);
    // Back onto its own place: it stays.
    finger(centre(*card(7)), {{centre(*card(7)).x + 4, centre(*card(7)).y + 3}});
    EXPECT_EQ(order()[7], 43);
    EXPECT_EQ(placeTags()[7], 2);
    EXPECT_TRUE(card(7)->isChecked());
    // Onto a card still in the row: no swap, it goes back.
    const auto rowCard = cardWithId(44);
    const ui::Point placed = card(7)->center();
    finger(centre(*card(7)), {grip(rowCard)});
    EXPECT_EQ(order()[7], 43);
    EXPECT_TRUE(card(7)->isChecked());
    EXPECT_FALSE(rowCard->isChecked());
    EXPECT_EQ(card(7)->center(), placed);

    // The middle's last place: two full hands fill the back by themselves.
    lift(cardWithId(28), kMiddle);
    EXPECT_EQ(placeTags(), std::vector<int>(13, 2));
    EXPECT_TRUE(table()->isFinishManualBinh());
    EXPECT_FALSE(table()->vBackGroundView()->superview());
    advance(0.7);
    EXPECT_TRUE(table()->vBackGroundView()->superview()) << "the arranging screen opens a second later";
    advance(0.5);
    EXPECT_EQ(table()->binhMode(), 1);
    // Front 23 1 14 (high card), middle 0 38 28 43 29 (pair of nines), back: a pair of aces.
    EXPECT_EQ(table()->cufChi(1)->text(), "Mậu thầu") << "high card";
    EXPECT_EQ(table()->cufChi(2)->text(), "Dzách") << "one pair";
    EXPECT_FALSE(table()->cufLung()->isVisibleOnScreen());

    // Swaps there update the names and the foul tint: the three kings to the front.
    auto swapSlots = [&](int a, int b) {
        finger(centre(*table()->bigSlots()[size_t(a)]), {centre(*table()->bigSlots()[size_t(b)])});
    };
    swapSlots(indexOf(44), 0);
    swapSlots(indexOf(45), 1);
    swapSlots(indexOf(46), 2);
    EXPECT_EQ(table()->cufChi(1)->text(), "Xám chi") << "three of a kind";
    EXPECT_TRUE(table()->cufLung()->isVisibleOnScreen()) << "trips in front of smaller hands";
    EXPECT_EQ(card(5)->layer().shadowColor(), ui::Color::rgba(255, 0, 0));
    ASSERT_TRUE(shot("arranging-foul-phone"));
    const auto arranged = order();

    // Finishing sends the thirteen ids in list order.
    portal().clearMessages();
    const auto fired = drive("tap id=btnFire");
    ASSERT_TRUE(fired.ok) << fired.message;
    std::vector<uint8_t> expected = {2, 7, 30};
    for (int id : arranged)
        expected.push_back(uint8_t(id));
    EXPECT_EQ(lastSent(47), expected);
}

TEST_F(MauBinhRoad, SortAutoArrangeFinishAndTheResultShow) {
    signInAndJoin();
    deal();
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnSkip").ok);
    EXPECT_EQ(lastSent(47), (std::vector<uint8_t>{2, 7, 23}));
    EXPECT_EQ(table()->btnSkip()->currentTitle(), text("KAVO_xepTheoNuoc"));
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnSkip").ok);
    EXPECT_EQ(lastSent(47), (std::vector<uint8_t>{2, 7, 24}));
    EXPECT_EQ(table()->btnSkip()->currentTitle(), text("KAVO_xepThuTu"));
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnAutoSelected").ok);
    EXPECT_EQ(lastSent(47), (std::vector<uint8_t>{2, 7, 25}));

    // The server's order, as sorted by rank: back to front from the aces.
    const std::vector<int8_t> sorted = {0, 1, 14, 23, 28, 29, 38, 43, 44, 45, 46, 48, 49};
    Bytes answer = Bytes().byte(23);
    for (int8_t id : sorted)
        answer.byte(id);
    game(answer);
    ticks(6);
    advance(0.5);
    EXPECT_TRUE(table()->vBackGroundView()->superview());
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnFire").ok);
    std::vector<uint8_t> expected = {2, 7, 30};
    for (int8_t id : sorted)
        expected.push_back(uint8_t(id));
    EXPECT_EQ(lastSent(47), expected) << "after a server sort, no check";

    game(Bytes().byte(30).int32(kMe));
    ticks(6);
    EXPECT_TRUE(table()->isFinish());
    advance(0.5);

    // The result: Lan loses the front to me and wins the back; Minh loses all three.
    Bytes result = Bytes().byte(40).int32(kMe).int32(4000).int32(4).byte(-1);
    auto row = [&](int32_t id, int money, int chi, int8_t first, int c1, int c2, int c3, int ace) {
        result.int32(id).int32(money).int32(chi);
        for (int i = 0; i < 13; ++i)
            result.byte(int8_t(first + i));
        result.byte(-1).byte(0).byte(int8_t(c1)).byte(int8_t(c2)).byte(int8_t(c3)).byte(0).byte(int8_t(ace));
    };
    row(kLan, 0, 0, 2, 1, 0, -1, 1);
    row(kMinh, -4000, -4, 15, 1, 1, 1, 1);
    game(result);
    ticks(2);
    ASSERT_EQ(table()->actionStatus(), MauBinhView::kBusy);
    const double start = platform::Clock::time();
    EXPECT_EQ(table()->countAch(), 2);
    advance(0.2);
    EXPECT_TRUE(texts().empty());
    advance(0.1);
    // Hand 1 at 0.25 s: from the opponents' side at their seats, my total at mine.
    EXPECT_EQ(texts(), (std::vector<std::string>{text("KAVO_lose1") + " 1 " + text("KAVO_chi"),
                                                 text("KAVO_lose1") + " 1 " + text("KAVO_chi"),
                                                 text("KAVO_an") + " 2 " + text("KAVO_chi")}));
    // The rising texts are yellow whatever they say; the hand's highlight carries the colour.
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(table()->risingTexts()[i]->textColor(), ui::Color::rgba(255, 220, 0)) << i;
    ASSERT_TRUE(shot("hand-phone"));
    advance(4.9);
    EXPECT_EQ(texts().size(), 3u);
    advance(0.1);
    EXPECT_EQ(texts().size(), 6u) << "hand 2 at 5.25 s";
    EXPECT_EQ(texts()[3], text("KAVO_an") + " 0 " + text("KAVO_chi"));
    EXPECT_EQ(table()->risingTexts()[3]->textColor(), ui::Color::rgba(255, 220, 0));
    advance(5.0);
    EXPECT_EQ(texts().size(), 9u) << "hand 3 at 10.25 s";
    EXPECT_EQ(texts()[6], text("KAVO_an") + " 1 " + text("KAVO_chi"));
    EXPECT_EQ(table()->risingTexts()[6]->textColor(), ui::Color::rgba(255, 220, 0));
    EXPECT_EQ(texts()[8], text("KAVO_an") + " 0 " + text("KAVO_chi"));
    EXPECT_EQ(card(12)->layer().shadowColor(), ui::Color::white()) << "my total of 0 marks my back hand white";
    advance(4.9);
    EXPECT_EQ(table()->actionStatus(), MauBinhView::kBusy);
    advance(0.2);
    EXPECT_NEAR(platform::Clock::time() - start, 15.4, 0.01);
    ticks(2);
    // The sheet at 15.25 s: me first, the money moved, and the queue free.
    auto& sheet = *table()->mauBinhResultView();
    EXPECT_EQ(sheet.listResult(),
              (std::vector<std::string>{"Khach", text("KAVO_an") + " 4 " + text("KAVO_chi"), "+4.000", "lan",
                                        text("KAVO_an") + " 0 " + text("KAVO_chi"), "0", "minh",
                                        text("KAVO_lose1") + " 4 " + text("KAVO_chi"), "-4.000"}));
    EXPECT_TRUE(sheet.isWin());
    EXPECT_EQ(UIController::myInfo()->money(), 504000);
    EXPECT_EQ(table()->seat(0).btnMoney->currentTitle(), "504.000 " + text("KAVO_zel"));
    EXPECT_NE(table()->actionStatus(), MauBinhView::kBusy);
    EXPECT_TRUE(table()->isGameEnd());
    advance(1);
    ASSERT_TRUE(shot("result-phone"));
    // Return presses the table's OK, as a click on it does: the table goes.
    ASSERT_EQ(sheet.view()->superview(), table()->view().get());
    platform::ui::Application::shared().dispatchKey(platform::ui::Key::Return);
    advance(1);
    EXPECT_EQ(sheet.view()->superview(), nullptr) << "Return closed the result table";
    game(Bytes().byte(50));
    EXPECT_TRUE(table()->isAllowBinh());
}

TEST_F(MauBinhRoad, LeavingDuringTheShowAndComingBackLetsANewDealRun) {
    signInAndJoin();
    deal();
    game(Bytes().byte(30).int32(kMe));
    ticks(6);
    Bytes result = Bytes().byte(40).int32(kMe).int32(1000).int32(1).byte(-1);
    result.int32(kLan).int32(-1000).int32(-1);
    for (int i = 0; i < 13; ++i)
        result.byte(int8_t(2 + i));
    result.byte(-1).byte(0).byte(1).byte(0).byte(0).byte(0).byte(0);
    game(result);
    ticks(4);
    advance(6);
    auto old = table();
    ASSERT_EQ(old->actionStatus(), MauBinhView::kBusy);

    // Back, confirm, and in again at the same board.
    ASSERT_TRUE(drive("tap id=btnBack").ok) << log();
    advance(0.5);
    ASSERT_TRUE(UIController::currentDialog());
    EXPECT_EQ(UIController::currentDialog()->message(), text("KAVO_doYouWantExit"));
    ASSERT_TRUE(drive("tap text=" + text("KAVO_OK")).ok) << log();
    advance(0.5);
    EXPECT_NE(KavoOnlineAppDelegate::getInstance().topViewController(), old);
    // The game grid's wait for its friend list ran out during the show; its notice goes.
    UIController::closeDialog();
    advance(0.5);
    ASSERT_TRUE(drive("screen BoardView 30\nwait text=1.000 zel 30\ntap text=1.000 zel").ok) << log();
    ASSERT_TRUE(waitForCommand(8));
    joinReply();
    ASSERT_NE(table(), old);
    deal();
    EXPECT_TRUE(table()->isAllowBinh());
    advance(20);
    EXPECT_TRUE(table()->isAllowBinh()) << "the old show's steps leave the new table alone";
    ASSERT_TRUE(table()->getMyCard());
    EXPECT_EQ(table()->getMyCard()->size(), 13u);
}

TEST_F(MauBinhRoad, PlacingArrangingAHandAndTheSheetAreWrittenForTheTabletToo) {
    ui::Screen::setIdiom(ui::Idiom::Tablet);
    signInAndJoin();
    deal();
    ASSERT_EQ(order().size(), 13u);
    for (size_t i = 0; i < 3; ++i)
        tapAt(grip(card(i)));
    lift(card(0), Util::changePointFromPoint(kFront));
    EXPECT_EQ(slice(placeTags(), 0, 4), (std::vector<int>{2, 2, 2, 0})) << "the regions follow the tablet";
    ASSERT_TRUE(shot("placing-tablet"));

    // The server's arrangement, then the kings to the front: a foul.
    ASSERT_TRUE(drive("tap id=btnAutoSelected").ok);
    Bytes answer = Bytes().byte(25);
    for (int8_t id : kDeal)
        answer.byte(id);
    game(answer);
    ticks(6);
    advance(0.5);
    for (int slot = 0; slot < 3; ++slot)
        finger(centre(*table()->bigSlots()[size_t(indexOf(44 + slot))]), {centre(*table()->bigSlots()[size_t(slot)])});
    EXPECT_TRUE(table()->cufLung()->isVisibleOnScreen());
    ASSERT_TRUE(shot("arranging-foul-tablet"));

    ASSERT_TRUE(drive("tap id=btnFire").ok);
    game(Bytes().byte(30).int32(kMe));
    ticks(6);
    Bytes result = Bytes().byte(40).int32(kMe).int32(-2000).int32(-2).byte(-1);
    result.int32(kLan).int32(2000).int32(2);
    for (int i = 0; i < 13; ++i)
        result.byte(int8_t(2 + i));
    result.byte(-1).byte(0).byte(-1).byte(-1).byte(0).byte(0).byte(0);
    game(result);
    ticks(2);
    advance(0.5);
    ASSERT_TRUE(shot("hand-tablet"));
    advance(15.5);
    ASSERT_TRUE(shot("result-tablet"));
    EXPECT_FALSE(table()->mauBinhResultView()->isWin());
}

TEST_F(MauBinhRoad, AFriendListJustBeforeTheJoinMarksThatJoinsPlayers) {
    friendsFirst = {kMinh};
    signInAndJoin();
    EXPECT_EQ(table()->playerWithId(kMinh)->isFriend(), 1);
    EXPECT_EQ(table()->playerWithId(kLan)->isFriend(), 0);
}

} // namespace
} // namespace kavo::test
