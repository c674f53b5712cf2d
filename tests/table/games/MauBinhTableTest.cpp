// The Mau Binh table on the manual clock: the logic handler's twins, the action queue
// that runs the server's events one at a time, the stake, kicks, special hands and
// the table's generations across a hand I joined while it ran.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/maubinh/MauBinhLogicHandler.h"
#include "games/maubinh/MauBinhView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

constexpr int32_t kMe = 10;
constexpr int32_t kLan = 20;
constexpr int32_t kMinh = 30;

std::shared_ptr<TienLenPlayer> record(int32_t id, const std::string& name, bool ready = false) {
    return playerRecord<TienLenPlayer>(id, name, id == -1 ? 0 : 50000, id == -1 ? 0 : 150, ready);
}

std::vector<int8_t> cards(int8_t first) {
    std::vector<int8_t> ids;
    for (int i = 0; i < 13; ++i)
        ids.push_back(int8_t(first + i));
    return ids;
}

ResultPlayer row(int32_t id, int money, int chi, int8_t first, int c1, int c2, int c3, int ace = 0) {
    ResultPlayer r;
    r.userId = id;
    r.winMoney = money;
    r.winChi = chi;
    for (int8_t c : cards(first))
        r.cardList.push_back(c);
    r.mbType = -1;
    r.winChi1 = int8_t(c1);
    r.winChi2 = int8_t(c2);
    r.winChi3 = int8_t(c3);
    r.winChiAce = int8_t(ace);
    return r;
}

class MauBinhTable : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        auto me = UIController::myInfo();
        me->setIDDB(kMe);
        me->setName("An");
        me->setMoney(100000);
        me->setIsReady(1);
        UIController::setGameType(16);
    }
    MauBinhLogicHandler& logic() { return MauBinhLogicHandler::getInstance(); }
    // Joins room 1, board 4: me the owner, Lan ready, Minh not.
    void sit(int32_t owner = kMe) {
        auto me = record(kMe, "an");
        me->setMoney(7000);
        me->setExp(120);
        logic().onJoinGameSuccessWithRoomId(1, 4, owner, 500,
                                            {me, record(kLan, "lan", true), record(kMinh, "minh"), record(-1, "")});
        runMainThread();
        table = GameController::getMauBinhView();
        ticks(4);
        client.clear();
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            platform::RunLoop::main().advance(MauBinhView::kTick);
            runMainThread();
        }
    }
    void seconds(double s) {
        const int n = int(s / MauBinhView::kTick + 0.5);
        ticks(n);
    }
    std::shared_ptr<Player> player(int32_t id) { return table->playerWithId(id); }
    std::shared_ptr<MauBinhView> table;
};

TEST_F(MauBinhTable, AJoinOpensTheTableWithMyMoneyAndNoReadyMark) {
    sit();
    ASSERT_TRUE(table);
    EXPECT_EQ(top(), table);
    auto me = UIController::myInfo();
    EXPECT_EQ(me->money(), 7000);
    EXPECT_EQ(me->exp(), 120);
    EXPECT_EQ(me->isReady(), 0);
    EXPECT_EQ(table->players().size(), 4u);
    EXPECT_EQ(table->seat(0).btnName->currentTitle(), "an");
    EXPECT_EQ(table->seat(1).btnName->currentTitle(), "lan");
    EXPECT_EQ(table->seat(2).btnName->currentTitle(), "minh");
    EXPECT_EQ(table->btnCuoc()->currentTitle(), "500 Zel");
    EXPECT_EQ(table->actionStatus(), MauBinhView::kIdle);
    EXPECT_EQ(table->queuedActions(), 0u);
    EXPECT_EQ(table->cufLung()->text(), text("KAVO_maubinh_lung"));
    for (const auto& button : {table->btnFire(), table->btnSkip(), table->btnAutoSelected()})
        EXPECT_TRUE(button->isHidden()) << button->accessibilityIdentifier() << ": no arranging before a deal";
}

TEST_F(MauBinhTable, TwoEventsOfOneTickRunOneAfterTheOther) {
    sit();
    table->onReadyWithId(kMinh, true);
    table->onReadyWithId(kLan, false);
    ticks(1);
    EXPECT_EQ(table->actionStatus(), MauBinhView::kRun);
    ticks(1);
    EXPECT_EQ(player(kMinh)->isReady(), 1) << "the first ran";
    EXPECT_EQ(player(kLan)->isReady(), 1) << "the second waits";
    ticks(2);
    EXPECT_EQ(player(kLan)->isReady(), 1);
    ticks(1);
    EXPECT_EQ(player(kLan)->isReady(), 0) << "three ticks after the first";
    EXPECT_EQ(table->queuedActions(), 1u);
    ticks(1);
    EXPECT_EQ(table->queuedActions(), 0u);
}

TEST_F(MauBinhTable, AResultWaitsWhileTheShowRuns) {
    sit();
    logic().onStartWithRoomId(1, 4, 60, cards(0), -1);
    runMainThread();
    ticks(4);
    EXPECT_TRUE(table->isAllowBinh());
    table->onResultWithUserID(kMe, 1000, 2, -1, {row(kLan, -500, -1, 13, 1, 0, -1), row(kMinh, -500, -1, 26, 1, 1, 1)});
    table->onFinishWithUserID(kMe);
    ticks(3);
    EXPECT_EQ(table->actionStatus(), MauBinhView::kBusy);
    EXPECT_FALSE(table->isAllowBinh());
    EXPECT_EQ(table->myResult().size(), 2u);
    EXPECT_TRUE(table->isXapHam() == false);
    seconds(15.0);
    EXPECT_EQ(table->actionStatus(), MauBinhView::kBusy);
    EXPECT_EQ(table->queuedActions(), 2u) << "the finish waits behind the show";
    seconds(0.5);
    EXPECT_EQ(table->queuedActions(), 0u);
    EXPECT_EQ(player(kMe)->money(), 8000) << "7,000 and the 1,000 won";
    EXPECT_EQ(table->seat(0).btnMoney->currentTitle(), "8,000 " + text("KAVO_zel"));
    EXPECT_TRUE(table->isGameEnd());
}

TEST_F(MauBinhTable, AStakeChangeClearsTheOthersReadyAndIsTheNewStake) {
    sit();
    logic().onOwnerSetMoneyWithRoomeId(1, 4, 200000);
    runMainThread();
    EXPECT_EQ(table->btnCuoc()->currentTitle(), "200,000 Zel");
    EXPECT_EQ(table->money(), 200000);
    EXPECT_EQ(player(kLan)->isReady(), 0);
    EXPECT_EQ(player(kMe)->isReady(), 1) << "the owner keeps the mark";
    logic().onOwnerSetMoneyWithRoomeId(1, 5, 300);
    runMainThread();
    EXPECT_EQ(table->money(), 200000) << "another board's stake";
    // Everybody ready again: my money is below the new stake.
    table->onReadyWithId(kLan, true);
    table->onReadyWithId(kMinh, true);
    ticks(12);
    table->doStartGame();
    EXPECT_EQ(dialogText(), text("KAVO_koDuTienCuoc"));
    EXPECT_TRUE(client.commands().empty());
}

TEST_F(MauBinhTable, AKickedOtherEmptiesTheSeatAndAKickOfMeLeaves) {
    sit();
    logic().onKickedWithRoomId(1, 4, kMinh);
    runMainThread();
    EXPECT_EQ(table->players()[2]->IDDB(), -1);
    EXPECT_TRUE(table->seat(2).btnName->isHidden() || table->seat(2).btnName->currentTitle().empty());
    ASSERT_TRUE(table->updateTimer());
    logic().onKickedWithRoomId(1, 4, kMe);
    runMainThread();
    EXPECT_FALSE(table->updateTimer()) << "the queue stops";
    EXPECT_NE(top(), table);
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
}

TEST_F(MauBinhTable, LeavingAtOnceClearsTheTableAndStopsTheQueue) {
    sit();
    const int cleared = table->clearCount();
    ASSERT_TRUE(table->updateTimer());
    player(kMe)->setIsReady(0); // nothing held, not ready: the back button asks nothing
    table->doLeaveBoard();
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{15, {1, 4}}}));
    EXPECT_EQ(table->clearCount(), cleared + 1);
    EXPECT_FALSE(table->updateTimer());
    EXPECT_NE(top(), table);
}

TEST_F(MauBinhTable, AKickOfMeWithTheTableOffTheStackStillShowsTheDialog) {
    sit();
    auto below = top();
    KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
    runMainThread();
    const auto stack = KavoOnlineAppDelegate::getInstance().navigationController()->viewControllers().size();
    logic().onKickedWithRoomId(1, 4, kMe);
    runMainThread();
    EXPECT_FALSE(table->updateTimer());
    EXPECT_EQ(KavoOnlineAppDelegate::getInstance().navigationController()->viewControllers().size(), stack);
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
    (void)below;
}

TEST_F(MauBinhTable, ASpecialHandAtTheStartAllowsNoArranging) {
    sit();
    logic().onStartWithRoomId(1, 4, 60, cards(0), 2);
    runMainThread();
    ticks(4);
    EXPECT_FALSE(table->isAllowBinh());
    EXPECT_TRUE(table->isFinish());
    ASSERT_TRUE(table->getMyCard());
    EXPECT_EQ(table->getMyCard()->size(), 13u);
    table->clickSkip();
    table->clickAutomaticSelectedCards();
    table->clickFire();
    EXPECT_TRUE(client.commands().empty());
}

TEST_F(MauBinhTable, AStopDuringTheShowOfAHandIJoinedLateLetsTheNextDealRun) {
    sit(kLan);
    logic().onPlayingWithLimitTime(60, 30);
    runMainThread();
    ticks(4);
    table->onResultWithUserID(kMe, 0, 0, -1, {row(kLan, 500, 1, 13, 1, 0, -1), row(kMinh, -500, -1, 26, -1, -1, -1)});
    ticks(4);
    ASSERT_EQ(table->actionStatus(), MauBinhView::kBusy);
    EXPECT_TRUE(table->isXapHam());
    seconds(6);
    logic().onStopGame();
    runMainThread();
    EXPECT_GE(table->clearCount(), 1);
    logic().onStartWithRoomId(1, 4, 60, cards(0), -1);
    runMainThread();
    seconds(10);
    EXPECT_EQ(table->queuedActions(), 0u) << "the show freed the queue and the deal ran";
    EXPECT_TRUE(table->isAllowBinh());
    ASSERT_TRUE(table->getMyCard());
    EXPECT_EQ(table->getMyCard()->size(), 13u);
}

TEST_F(MauBinhTable, MySpecialHandIsShownFirstAndTheShowEndsAt25Seconds) {
    sit();
    logic().onStartWithRoomId(1, 4, 60, cards(0), -1);
    runMainThread();
    ticks(4);
    table->onResultWithUserID(kMe, 3000, 6, 2, {row(kLan, -1500, -3, 13, 1, 1, 1), row(kMinh, -1500, -3, 26, 1, 1, 1)});
    ticks(2);
    ASSERT_EQ(table->actionStatus(), MauBinhView::kBusy);
    ticks(1);
    ASSERT_TRUE(table->vBackGroundView()->superview()) << "my special hand at 0 s";
    drive("expect text=" + text("KAVO_3ChiThung") + "\nexpect text=an");
    seconds(4.5);
    EXPECT_FALSE(table->vBackGroundView()->superview()) << "taken down at 4.5 s";
    seconds(5.75);
    EXPECT_EQ(table->risingTexts().size(), 2u) << "hand 1 at 10.25 s: the two opponents, no total of mine";
    seconds(14.9);
    EXPECT_EQ(table->actionStatus(), MauBinhView::kBusy);
    seconds(0.1);
    EXPECT_NE(table->actionStatus(), MauBinhView::kBusy) << "the sheet and the clean-up at 25.25 s";
    for (const auto& p : table->players()) {
        auto tl = std::dynamic_pointer_cast<TienLenPlayer>(p);
        if (!tl || !tl->cards()) continue;
        for (const auto& c : *tl->cards())
            EXPECT_EQ(c->cardView().layer().shadowColor(), platform::ui::Color::clear()) << "no highlight stays";
    }
}

TEST_F(MauBinhTable, JoiningARunningHandShowsTheOthersCardsFaceDown) {
    sit(kLan);
    logic().onPlayingWithLimitTime(60, 30);
    runMainThread();
    EXPECT_TRUE(table->disableReady());
    ticks(4);
    EXPECT_TRUE(table->isMeNotExistPlayingBoard());
    EXPECT_EQ(table->interval(), 60);
    EXPECT_EQ(table->dieTime(), 30);
    auto lan = std::dynamic_pointer_cast<TienLenPlayer>(player(kLan));
    ASSERT_TRUE(lan->cards());
    EXPECT_EQ(lan->cards()->size(), 13u);
    EXPECT_EQ(uint8_t((*lan->cards())[0]->cardID()), 255) << "face down";
    EXPECT_FALSE(table->getMyCard() && !table->getMyCard()->empty()) << "I hold no cards";
    table->clickFire();
    table->clickSkip();
    EXPECT_TRUE(client.commands().empty());
}

TEST_F(MauBinhTable, ACancelledTouchOnlyPutsTheCardBack) {
    sit();
    logic().onStartWithRoomId(1, 4, 60, cards(0), -1);
    runMainThread();
    ticks(4);
    platform::RunLoop::main().advance(0.5);
    runMainThread();
    auto card = std::dynamic_pointer_cast<CardViewPhom>((*table->getMyCard())[3]);
    const auto frame = card->frame();
    const platform::ui::Point grip = card->superview()->convertPoint({frame.x() + 8, frame.y() + 30}, nullptr);
    const auto before = table->myCardIds();
    auto& app = platform::ui::Application::shared();
    app.dispatchTouch(platform::ui::TouchPhase::Began, grip);
    app.dispatchTouch(platform::ui::TouchPhase::Moved, {grip.x, grip.y + 30});
    app.dispatchTouch(platform::ui::TouchPhase::Moved, {grip.x + 60, grip.y + 40});
    EXPECT_EQ(card->alpha(), 0.5);
    app.dispatchTouch(platform::ui::TouchPhase::Cancelled, {grip.x + 60, grip.y + 40});
    runMainThread();
    EXPECT_EQ(card->alpha(), 1.0);
    EXPECT_EQ(card->transform(), platform::ui::AffineTransform::identity());
    EXPECT_EQ(table->myCardIds(), before);
    EXPECT_FALSE(card->isSelected());
}

TEST_F(MauBinhTable, EventsWithNoTableAreDropped) {
    logic().onFinishWithUserID(kMe);
    logic().onKickedWithRoomId(1, 4, kMe);
    runMainThread();
    EXPECT_FALSE(GameController::getMauBinhView());
    EXPECT_EQ(dialogText(), "");
}

TEST_F(MauBinhTable, AnotherPlayersFinishLeavesMyArrangementOpen) {
    sit();
    logic().onStartWithRoomId(1, 4, 60, cards(0), -1);
    runMainThread();
    ticks(4);
    ASSERT_TRUE(table->isAllowBinh());
    logic().onFinishWithUserID(kLan);
    runMainThread();
    ticks(4);
    EXPECT_FALSE(table->isFinish());
    EXPECT_TRUE(table->isAllowBinh());
    logic().onFinishWithUserID(kMe);
    runMainThread();
    ticks(4);
    EXPECT_TRUE(table->isFinish());
}

TEST_F(MauBinhTable, WhoSatDownDuringAHandMayGetReadyOnceAPlayerFinishes) {
    sit(kLan);
    logic().onPlayingWithLimitTime(60, 30);
    runMainThread();
    ASSERT_TRUE(table->disableReady());
    logic().onFinishWithUserID(kLan);
    runMainThread();
    EXPECT_FALSE(table->disableReady());
}

} // namespace
} // namespace kavo::test
