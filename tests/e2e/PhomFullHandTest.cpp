// A whole Phom deal end to end against the test portal on the manual clock: melds laid
// at the seats, lay-offs, the endings with their points and pictures, the end of the
// deal and the next one, a deal in progress on entering, and my finger on my hand.
#include "tests/e2e/PhomRoad.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

class PhomFullHand : public PhomRoad {
protected:
    // Joins, and lets the lobby's waits run out first: a whole deal runs longer on the
    // manual clock than their bounds, and the notice of one would cover the table.
    void sit() {
        joinTheTable();
        advance(12);
        UIController::closeDialog();
        advance(0.5);
        portal().clearMessages();
    }
    // Deals kHand to me (I play first) and lets the deal's animation end.
    void dealt() {
        deal();
        advance(2.5);
        sent();
    }
    void othersReady() {
        for (int32_t id : {kChu, kDung, kBinh})
            send(Bytes().int32(id).boolean(true).message(16));
    }
    void lay(std::initializer_list<int> cards) {
        Bytes laid = Bytes().byte(2).byte(7);
        for (int card : cards)
            laid.byte(int8_t(card));
        send(laid.message(65));
    }
    void layOff(int32_t receiver, int card, std::initializer_list<int> cards) {
        Bytes laid = Bytes().byte(2).byte(7).int32(receiver).byte(int8_t(card));
        for (int c : cards)
            laid.byte(int8_t(c));
        send(laid.message(67));
    }
    void finished(int32_t who, int32_t score, std::initializer_list<int> loose) {
        Bytes done = Bytes().byte(2).byte(7).int32(who).int32(score).int32(0).byte(int8_t(loose.size()));
        for (int card : loose)
            done.byte(int8_t(card));
        send(done.message(51));
    }
    std::vector<int> laidRow(int seat) {
        const auto& row = table()->showHaPhom()[size_t(seat)];
        return std::vector<int>(row.begin(), row.end());
    }
    std::string endImage(int seat) {
        const auto& mark = table()->seat(seat).ok;
        return mark->isHidden() || !mark->image() ? "" : mark->image()->name();
    }
    std::string badge(int seat) {
        const auto& point = table()->seat(seat).point;
        return point->isHidden() || point->subviews().empty() ? "" : point->subviews().front()->text();
    }
    std::string startTitle() {
        const auto& button = table()->btnStart();
        return button->isHidden() ? "" : button->titleForState(platform::ui::ControlState::Normal);
    }
    CardViewPhom& card(int id) {
        for (const auto& c : table()->myCards())
            if (c->cardID() == id) return *c;
        ADD_FAILURE() << "no card " << id;
        return *table()->myCards().front();
    }
    // The left strip of a hand card, which the next card leaves uncovered (window points).
    platform::ui::Point strip(int id) {
        auto& c = card(id);
        const auto frame = c.convertRect(c.bounds(), nullptr);
        return {frame.x() + 4, frame.y() + frame.height() / 2};
    }
    void touch(platform::ui::TouchPhase phase, platform::ui::Point point) {
        platform::ui::Application::shared().dispatchTouch(phase, point);
        platform::RunLoop::main().runPending();
    }
    // A finger down on `from`, moved through `through`, lifted at the last point.
    void drag(platform::ui::Point from, std::vector<platform::ui::Point> through,
              platform::ui::TouchPhase end = platform::ui::TouchPhase::Ended) {
        touch(platform::ui::TouchPhase::Began, from);
        for (const auto& point : through)
            touch(platform::ui::TouchPhase::Moved, point);
        touch(end, through.empty() ? from : through.back());
        advance(0);
    }
};

TEST_F(PhomFullHand, MeldsAndLayOffsFillTheSeatsRowsAndTheFinishShowsPointsThenTheNextDeal) {
    sit();
    auto view = table();
    dealt();

    // My melds laid: they lie at my seat and leave my hand; lay-off is offered.
    lay({26, 25, 24, -1, 8, 4, 0, -1});
    EXPECT_EQ(laidRow(0), (std::vector<int>{26, 25, 24, -1, 8, 4, 0, -1, -1, -1, -1, -1}));
    EXPECT_EQ(view->numCardPhom()[0], 6);
    EXPECT_EQ(view->playersPhomCards(0).size(), 6u);
    EXPECT_EQ(hand(), (std::vector<int>{13, 30, 41, 51}));
    EXPECT_EQ(action(), text("KAVO_guiPhom"));
    EXPECT_TRUE(view->isHaPhom());
    // An upward drag while the button offers the lay-off fires nothing.
    advance(0.5);
    sent();
    clearBubble();
    const auto up = strip(13);
    drag(up, {{up.x, up.y - 80}});
    EXPECT_EQ(bubble(), text("KAVO_CancelBeforeFire"));
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(hand(), (std::vector<int>{13, 30, 41, 51}));

    // Chu lays twice: one empty slot parts the melds; a third lay fills up to slot 10
    // and a fourth finds no free double slot, so every laid card stays.
    fire(kMe, kChu, 13, 0);
    lay({44, 45, 46, -1});
    lay({36, 37, 38, -1});
    EXPECT_EQ(laidRow(1), (std::vector<int>{44, 45, 46, -1, 36, 37, 38, -1, -1, -1, -1, -1}));
    lay({48, 49, 50, -1});
    lay({12, 14, 15, -1});
    EXPECT_EQ(laidRow(1), (std::vector<int>{44, 45, 46, -1, 36, 37, 38, -1, 48, 49, 50, -1}));
    EXPECT_EQ(view->playersPhomCards(1).size(), 9u);
    EXPECT_EQ(laidRow(2), (std::vector<int>(12, -1)));

    // My eight of diamonds laid off onto Chu's melds: it joins his row, leaves my hand.
    layOff(kChu, 30, {30});
    EXPECT_EQ(laidRow(1), (std::vector<int>{44, 45, 46, 36, 37, 38, 48, 49, 50, 30, -1, -1}));
    EXPECT_EQ(hand(), (std::vector<int>{41, 51}));
    // A lay-off of no cards changes no row and keeps my hand.
    layOff(kChu, 41, {});
    EXPECT_EQ(laidRow(1), (std::vector<int>{44, 45, 46, 36, 37, 38, 48, 49, 50, 30, -1, -1}));
    EXPECT_EQ(hand(), (std::vector<int>{41, 51}));

    // The finishes: loose cards at the seat, a point badge only above 0, continue offered.
    finished(kDung, 12, {33, 34});
    finished(kBinh, 0, {});
    finished(kMe, 24, {41, 51});
    EXPECT_EQ(badge(2), "12");
    EXPECT_EQ(badge(3), "");
    EXPECT_EQ(badge(0), "24");
    EXPECT_TRUE(view->isGameEnd());
    EXPECT_EQ(view->currentPlayer(), -1);
    EXPECT_EQ(action(), "");
    EXPECT_TRUE(view->btnBaiTy()->isHidden());
    EXPECT_EQ(startTitle(), text("KAVO_continuee"));
    // No event fills the scores: no winner or loser picture.
    EXPECT_EQ(endImage(1), "");

    // Two money changes within 1.5 s: one sound, both seats updated.
    send(Bytes().byte(2).byte(7).int32(kChu).int32(3000).utf("Nhất").message(52));
    EXPECT_TRUE(view->waitToPlayNextSound());
    advance(1.0);
    send(Bytes().byte(2).byte(7).int32(kDung).int32(-1000).utf("Thua").message(52));
    // The second change is the last message: read once its seat shows it (a loaded machine
    // may take longer than the send's own wait to hand it over).
    auto money = [&](int seat) { return view->seat(seat).btnMoney->titleForState(platform::ui::ControlState::Normal); };
    EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return money(2) != "500.000 Zel"; }, kStateWait));
    EXPECT_EQ(money(1), "503.000 Zel");
    EXPECT_EQ(money(2), "499.000 Zel");
    advance(0.6);
    EXPECT_FALSE(view->waitToPlayNextSound());

    // Continue clears the table and sends nothing; I own the table, start is offered.
    sent();
    tap("btnStart");
    EXPECT_EQ(sent(), "");
    EXPECT_TRUE(view->cardLayer()->subviews().empty());
    EXPECT_EQ(badge(2), "");
    EXPECT_EQ(startTitle(), text("KAVO_start"));

    // A new stake: its title, the others not ready, the screen's own stake for the checks.
    send(Bytes().byte(2).byte(7).int32(5000).message(19));
    EXPECT_EQ(view->btnCuoc()->titleForState(platform::ui::ControlState::Normal), "5.000 Zel");
    EXPECT_EQ(view->money(), 5000);
    EXPECT_FALSE(view->playerWithId(kChu)->isReady());
    EXPECT_TRUE(view->seat(1).ok->isHidden() || !view->seat(1).ok->image());

    // The next deal starts from a clean table.
    othersReady();
    deal();
    EXPECT_EQ(laidRow(1), (std::vector<int>(12, -1)));
    EXPECT_EQ(hand().size(), 10u);
    EXPECT_FALSE(view->isGameEnd());
}

// The finishes come one player at a time: mine is the one that takes my hand away. Until
// it comes I still see my cards while the others' results arrive.
TEST_F(PhomFullHand, MyHandStaysWhileTheOthersFinishAndGivesWayToMyLooseCardsAtMyOwnFinish) {
    sit();
    auto view = table();
    dealt();
    const PhomNewView::CardList handViews = view->playersCards(0);
    ASSERT_EQ(handViews.size(), kHand.size());
    const auto handShown = [&] {
        return size_t(std::count_if(handViews.begin(), handViews.end(), [&](const auto& card) {
            return card->superview() == view->cardLayer().get() && !card->isHidden();
        }));
    };
    ASSERT_EQ(handShown(), kHand.size());

    finished(kDung, 12, {33, 34});
    EXPECT_EQ(handShown(), kHand.size()) << "Dung's finish";
    finished(kChu, 0, {});
    EXPECT_EQ(handShown(), kHand.size()) << "Chu's finish";
    EXPECT_EQ(badge(2), "12");

    finished(kMe, 24, {13, 30, 41, 51});
    EXPECT_EQ(handShown(), 0u) << "my finish";
    EXPECT_TRUE(view->playersCards(0).empty());
    // In its place lie my loose cards, once each.
    std::vector<int> lying;
    for (const auto& child : view->cardLayer()->subviews())
        if (auto card = std::dynamic_pointer_cast<CardViewPhom>(child); card && !card->isHidden())
            lying.push_back(card->cardID());
    for (int id : {13, 30, 41, 51})
        EXPECT_EQ(std::count(lying.begin(), lying.end(), id), 1) << "card " << id;
    EXPECT_EQ(badge(0), "24");
}

TEST_F(PhomFullHand, AUShowsTheWinnersCardsAndItsPicturesAndACompensationOrInstantWinEndsTheDeal) {
    sit();
    auto view = table();
    dealt();
    fire(kMe, kChu, 13, 0);
    fire(kChu, kDung, 33, 0);
    // Dung goes U with all his cards; Chu, whose discard he took, compensates.
    send(
        Bytes().byte(2).byte(7).int32(kDung).byte(0).byte(36).byte(37).byte(38).byte(40).byte(44).byte(48).message(66));
    EXPECT_EQ(view->playersPhomCards(2).size(), 6u);
    send(Bytes().byte(2).byte(7).int32(kDung).int32(0).message(69));
    EXPECT_TRUE(view->isU());
    EXPECT_EQ(view->denBai(), 1);
    EXPECT_EQ(startTitle(), text("KAVO_continuee"));
    finished(kDung, 0, {});
    finished(kChu, 20, {1, 2});
    EXPECT_EQ(endImage(2), "p_phomtext_05.png");
    EXPECT_EQ(endImage(1), "p_phomtext_06.png");
    EXPECT_EQ(badge(1), "20");

    // Continue, a new deal, then an instant win ends it at once.
    sent();
    tap("btnStart");
    EXPECT_EQ(endImage(2), "");
    othersReady();
    dealt();
    send(Bytes().byte(2).byte(7).int32(5000).message(70));
    EXPECT_TRUE(view->isGameEnd());
    EXPECT_TRUE(view->finish());
    EXPECT_EQ(startTitle(), text("KAVO_continuee"));
    EXPECT_EQ(action(), "");
}

TEST_F(PhomFullHand, EnteringADealInProgressShowsTheRowsOfTheSeatedPlayersOnly) {
    sit();
    auto view = table();
    Bytes playing = Bytes().byte(2).byte(7).byte(20).int32(kChu).int32(kBinh);
    const struct {
        int32_t id;
        std::vector<int> shown, eaten;
    } records[] = {
        {kBinh, {1, 2, 3}, {4}},
        {kChu, {5, 6}, {}},
        {1234, {7, 8, 9, 10}, {11, 12, 13}}, // nobody at the table: skipped
        {kDung, {14, 15, 16, 17}, {18, 19}},
    };
    for (const auto& record : records) {
        playing.int32(record.id).byte(int8_t(record.shown.size()));
        for (int card : record.shown)
            playing.byte(int8_t(card));
        playing.byte(int8_t(record.eaten.size()));
        for (int card : record.eaten)
            playing.byte(int8_t(card));
    }
    send(playing.message(62));
    EXPECT_TRUE(view->notPlay());
    EXPECT_EQ(bubble(), text("KAVO_PlayingNoReady"));
    EXPECT_EQ(view->currentPlayer(), kChu);
    EXPECT_EQ(view->firstPlayer(), kBinh);
    EXPECT_EQ(view->cardShow()[3], (std::array<int, 4>{1, 2, 3, -1}));
    EXPECT_EQ(view->cardShow()[1], (std::array<int, 4>{5, 6, -1, -1}));
    EXPECT_EQ(view->cardShow()[2], (std::array<int, 4>{14, 15, 16, 17}));
    EXPECT_EQ(view->cardShow()[0], (std::array<int, 4>{-1, -1, -1, -1}));
    EXPECT_EQ(view->showCardEat()[2], (std::array<int, 3>{18, 19, -1}));
    EXPECT_EQ(view->playersFiredCards(2).size(), 4u);
    EXPECT_EQ(view->playersPhomCards(3).size(), 1u);
    EXPECT_FALSE(view->playerWithId(kDung)->isReady());
}

TEST_F(PhomFullHand, MyFingerTapsDragsRegroupsFiresAndEats) {
    sit();
    auto view = table();
    dealt();
    EXPECT_EQ(hand(), (std::vector<int>{26, 25, 24, 8, 4, 0, 13, 30, 41, 51}));

    // A tap raises the card, another lowers it; nothing is sent.
    drag(strip(41), {});
    EXPECT_TRUE(card(41).isSelected());
    drag(strip(41), {});
    EXPECT_FALSE(card(41).isSelected());
    EXPECT_EQ(sent(), "");

    // A drag that passes over no other card snaps back and sends nothing.
    const auto start = strip(51);
    drag(start, {{start.x + 30, start.y + 1}, {start.x + 40, start.y + 2}});
    EXPECT_EQ(hand(), (std::vector<int>{26, 25, 24, 8, 4, 0, 13, 30, 41, 51}));
    EXPECT_EQ(sent(), "");

    // The king of spades dragged over the eight of diamonds and the jack of hearts,
    // lifted anywhere: it drops at the jack, the grouping goes out.
    drag(strip(51), {strip(30), strip(41), {start.x, start.y - 10}});
    EXPECT_EQ(hand(), (std::vector<int>{26, 25, 24, 8, 4, 0, 13, 30, 51, 41}));
    EXPECT_EQ(sent(), "68:020702"
                      "1a1918ff"
                      "080400ff");

    // A cancelled touch behaves as an ended one.
    drag(strip(41), {strip(13)}, platform::ui::TouchPhase::Cancelled);
    EXPECT_EQ(hand(), (std::vector<int>{26, 25, 24, 8, 4, 0, 41, 13, 30, 51}));
    EXPECT_EQ(sent(), "68:020702"
                      "1a1918ff"
                      "080400ff");

    // Dragged upward while firing is allowed: exactly that card goes, whatever was raised.
    drag(strip(8), {});
    EXPECT_TRUE(card(8).isSelected());
    const auto up = strip(30);
    drag(up, {{up.x, up.y - 80}});
    EXPECT_EQ(sent().substr(0, 9), "21:02071e");

    // The fire's echo takes the card out while a finger holds it: the move is dropped
    // and the hand repainted whole.
    const auto held = strip(30);
    touch(platform::ui::TouchPhase::Began, held);
    touch(platform::ui::TouchPhase::Moved, strip(41));
    fire(kMe, kChu, 30, 0);
    touch(platform::ui::TouchPhase::Ended, strip(41));
    advance(0.5);
    const auto rest = hand();
    EXPECT_EQ(rest.size(), 9u);
    EXPECT_EQ(std::count(rest.begin(), rest.end(), 30), 0);
    EXPECT_EQ(view->playersCards(0).size(), 9u);
    for (const auto& c : view->myCards())
        EXPECT_EQ(c->superview(), view->cardLayer().get()) << int(c->cardID());

    // Binh's discard names me next: a touch on it with two sevens raised eats it.
    fire(kChu, kDung, 33, 0);
    fire(kDung, kBinh, 37, 0);
    fire(kBinh, kMe, 27, 0);
    advance(0.5);
    EXPECT_TRUE(view->isEatCard());
    sent();
    card(26).setIsSelected(true);
    card(25).setIsSelected(true);
    const auto& last = view->playersFiredCards(3).back();
    const auto discard = last->convertRect(last->bounds(), nullptr);
    const platform::ui::Point middle{discard.x() + discard.width() / 2, discard.y() + discard.height() / 2};
    drag(middle, {{middle.x + 5, middle.y}});
    EXPECT_EQ(sent().substr(0, 13), "64:02071b1a19");
}

} // namespace
} // namespace kavo::test
