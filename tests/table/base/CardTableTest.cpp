#include "account/SettingsView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/Vibration.h"
#include "social/MessageView.h"
#include "table/base/GameCardView.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "tests/support/client/OpenDialog.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

// A card table of any game type that notes what the base asks of its game.
class TestTable : public GameCardView {
public:
    explicit TestTable(int8_t type) : GameCardView(type, "KAVO_tienLen") {}
    void doStartGame() override { ++starts; }
    void resetCard(bool) override { ++continues; }
    int starts = 0;
    int continues = 0;
};

std::shared_ptr<TienLenPlayer> player(int32_t id, const std::string& name, int64_t money = 5000, bool ready = false) {
    return playerRecord<TienLenPlayer>(id, name, money, 0, ready);
}

class CardTable : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        me = player(7, "me", 1000);
        UIController::setMyInfo(me);
    }
    // A table of that type at room 2, board 5, on top, me at place 0 then the others.
    std::shared_ptr<TestTable> seat(int8_t type, std::vector<std::shared_ptr<Player>> others, int32_t owner = 7,
                                    int32_t stake = 100) {
        return place(std::make_shared<TestTable>(type), std::move(others), owner, stake);
    }
    // The same for a game's own table screen.
    template <class Table>
    std::shared_ptr<Table> place(std::shared_ptr<Table> table, std::vector<std::shared_ptr<Player>> others,
                                 int32_t owner = 7, int32_t stake = 100) {
        table->setRoomId(2);
        table->setBoardId(5);
        GameController::setTableView(table);
        push(table);
        UIController::setGameType(table->gameType());
        table->resetView();
        others.insert(others.begin(), me);
        table->setupPlayersWithRoom(2, 5, owner, stake, others);
        client.clear();
        return table;
    }
    std::shared_ptr<TestTable> fullTable(int8_t type = 3, int32_t owner = 7) {
        return seat(type, {player(8, "an"), player(9, "binh"), player(10, "cuong")}, owner);
    }
    // A full table of that type, the Tien Len ones (3, 12) being their games' own screens.
    std::shared_ptr<GameCardView> fullGameTable(int8_t type) {
        const std::vector<std::shared_ptr<Player>> others = {player(8, "an"), player(9, "binh"), player(10, "cuong")};
        if (type == 3) return place(std::make_shared<TienLenView>(), others);
        if (type == 12) return place(std::make_shared<TienLenMBView>(), others);
        return fullTable(type);
    }
    static std::string imageName(const platform::ui::ImagePtr& image) { return image ? image->name() : ""; }
    std::shared_ptr<TienLenPlayer> me;
};

// ---------------------------------------------------------------- seats

TEST_F(CardTable, AResetTableHasFourPlainSeatsAndNoCards) {
    auto table = fullTable();
    table->view()->addSubview(CardView::withCardID(5));
    table->showChatWithSeat(2, "hi");
    table->resetView();
    EXPECT_EQ(table->seats(), (std::array<int, 4>{0, 1, 2, 3}));
    EXPECT_EQ(table->chatPlayers(), std::vector<std::string>(5));
    EXPECT_TRUE(table->chat(2)->isHidden());
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(imageName(table->seat(s).btnPresent->imageForState(platform::ui::ControlState::Normal)),
                  "tl_present.png");
    EXPECT_TRUE(table->view()->subviewsOfType<CardView>().empty());
}

// Each card table names its game in the top bar, shows its faded icon and titles its play
// buttons for what they do there; the stake tables' stake button sits 20 points lower.
TEST_F(CardTable, EachCardTableShowsItsGameAndItsPlayButtons) {
    struct Case {
        int8_t type;
        const char* name;
        const char* icon;
        const char* fire;
        const char* skip; // nullptr: the layout's own
        const char* autoSelected;
        double stakeDrop;
    };
    const double stakeY = fullTable(3)->btnCuoc()->center().y;
    for (const Case& c :
         {Case{3, "KAVO_tienLen", "icon_TLMN_opacity.png", "KAVO_fire", "KAVO_skip", "KAVO_autoselect", 0},
          Case{12, "KAVO_tienLenMB", "icon_TLMB_opacity.png", "KAVO_fire", "KAVO_skip", "KAVO_autoselect", 0},
          Case{13, "KAVO_phom", "icon_phom_opacity.png", "KAVO_fire", "KAVO_skip", "KAVO_autoselect", 0},
          Case{16, "KAVO_MauBinh", "icon_maubinh_opacity.png", "KAVO_finished", "KAVO_xepThuTu", "KAVO_binhTuDong", 0},
          Case{2, "KAVO_xiZach", "icon_xiDach_opacity.png", "KAVO_nanBai", nullptr, "KAVO_dangBai", 20},
          Case{11, "KAVO_baicao", "icon_baicao_opacity.png", "KAVO_nanBai", nullptr, "KAVO_showAllCards", 20}}) {
        auto table = fullTable(c.type);
        table->viewWillAppear(false);
        EXPECT_EQ(KavoOnlineAppDelegate::getInstance().lblWindowTitle()->text().rfind(text(c.name) + ", ", 0), 0u)
            << int(c.type);
        EXPECT_EQ(imageName(table->imgIconGame()->image()), c.icon);
        EXPECT_EQ(table->btnFire()->currentTitle(), text(c.fire)) << int(c.type);
        if (c.skip) {
            EXPECT_EQ(table->btnSkip()->currentTitle(), text(c.skip)) << int(c.type);
        }
        EXPECT_EQ(table->btnAutoSelected()->currentTitle(), text(c.autoSelected)) << int(c.type);
        EXPECT_DOUBLE_EQ(table->btnCuoc()->center().y, stakeY + c.stakeDrop) << int(c.type);
    }
}

// Whose turn it is shows at that seat at every card table: another's turn by its seat's
// countdown, mine (whose bar runs in the middle) by the arrow above my seat.
TEST_F(CardTable, MyTurnIsMarkedAtMySeatAndAnothersByItsCountdown) {
    for (int8_t type : {int8_t(3), int8_t(12), int8_t(13), int8_t(16), int8_t(11), int8_t(2)}) {
        auto table = fullTable(type);
        table->setInterval(20);
        table->setDieTime(20);
        table->setTimerWithSeat(0);
        EXPECT_FALSE(table->imgMyTurn()->isHidden()) << int(type);
        EXPECT_FALSE(table->seat(1).cpiSeat->isCounting()) << int(type);
        table->setTimerWithSeat(1);
        EXPECT_TRUE(table->imgMyTurn()->isHidden()) << int(type);
        EXPECT_TRUE(table->seat(1).cpiSeat->isCounting()) << int(type);
        table->setTimerWithSeat(0);
        table->stopTurnClock();
        EXPECT_TRUE(table->imgMyTurn()->isHidden()) << int(type);
        KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
        runMainThread();
    }
}

TEST_F(CardTable, MarksShowTheOwnerAndTheReadyPlayers) {
    auto table = seat(3, {player(8, "an", 5000, true), player(9, "binh")}, 7);
    EXPECT_EQ(imageName(table->seat(0).ok->image()), "icon_chuban.png");
    EXPECT_EQ(imageName(table->seat(1).ok->image()), "icon_ok.png");
    EXPECT_EQ(table->seat(2).ok->image(), nullptr);
    EXPECT_FALSE(table->btnCuoc()->isHidden());
    auto baiCao = seat(11, {player(8, "an")}, 7);
    EXPECT_TRUE(baiCao->btnCuoc()->isHidden());
    // Empty places invite; the others open the player menu.
    EXPECT_EQ(baiCao->seat(2).btnSeat->titleForState(platform::ui::ControlState::Normal), text("KAVO_invite"));
    EXPECT_EQ(imageName(baiCao->seat(2).btnSeat->imageForState(platform::ui::ControlState::Normal)),
              "button_moichoi.png");
    EXPECT_EQ(baiCao->seat(1).btnSeat->titleForState(platform::ui::ControlState::Normal), "");
}

TEST_F(CardTable, FriendsAreMarkedAndTheListNeverOverflowsTheSeats) {
    auto friendly = player(8, "an");
    friendly->setIsFriend(1);
    auto two = seat(3, {friendly});
    EXPECT_FALSE(two->seat(1).isFriend->isHidden());
    EXPECT_EQ(two->seat(1).btnName->titleForState(platform::ui::ControlState::Normal), "an");
    EXPECT_TRUE(two->seat(2).btnName->isHidden());
    EXPECT_EQ(two->getIDAtSeat(3), -1);
    EXPECT_EQ(two->getIDAtSeat(9), -1);
    auto six = seat(3, {player(8, "a"), player(9, "b"), player(10, "c"), player(11, "d"), player(12, "e")});
    EXPECT_EQ(six->getIDAtSeat(3), 10);
    EXPECT_EQ(six->getSeatFromID(11), -1);
    six->setSeatInfoWithSeat(7, me); // outside the four seats: nothing drawn
    six->seats()[2] = 40;            // a place beyond the list behaves as an empty one
    EXPECT_EQ(six->getIDAtSeat(2), -1);
}

// ---------------------------------------------------------------- owner and start

TEST_F(CardTable, AnOwnerChangeSetsTheStartKindLocksAndSettings) {
    auto table = seat(3, {player(8, "an")}, 8);
    EXPECT_EQ(table->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_ready"));
    EXPECT_TRUE(table->btnLock1()->isHidden());
    EXPECT_TRUE(table->btnLock3()->isHidden());
    EXPECT_FALSE(SettingsView::getInstance()->isSetPass());
    table->setOwnerWithNewOwner(7);
    EXPECT_EQ(table->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_start"));
    EXPECT_TRUE(table->btnLock1()->isHidden()); // seat 1 is taken
    EXPECT_FALSE(table->btnLock3()->isHidden());
    EXPECT_TRUE(SettingsView::getInstance()->isSetMoney());
    EXPECT_TRUE(SettingsView::getInstance()->isSetPass());
    auto xiZach = seat(2, {}, 7);
    EXPECT_FALSE(SettingsView::getInstance()->isSetMoney());
    me->setIsReady(1);
    xiZach->setOwnerWithNewOwner(8);
    EXPECT_EQ(xiZach->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_noReady"));
    EXPECT_TRUE(SettingsView::getInstance()->isSetMoney());
    xiZach->setIsGameEnd(false);
    xiZach->setKindOfStart(GameCardView::kReady);
    EXPECT_TRUE(xiZach->btnStart()->isHidden()); // never while a game runs
}

TEST_F(CardTable, TheStartButtonDoesWhatItsTitleSays) {
    auto table = fullTable();
    table->setKindOfStart(GameCardView::kStart);
    drive("tap id=btnStart");
    EXPECT_EQ(table->starts, 1);
    table->setKindOfStart(GameCardView::kReady);
    drive("tap id=btnStart");
    table->setKindOfStart(GameCardView::kNoReady);
    drive("tap id=btnStart");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{16, {2, 5, 1}}, {16, {2, 5, 0}}}));
    EXPECT_TRUE(table->btnStart()->isHidden());
    table->setKindOfStart(GameCardView::kContinue);
    drive("tap id=btnStart");
    EXPECT_EQ(table->continues, 1);
    auto guest = fullTable(3, 8);
    guest->setKindOfStart(GameCardView::kStart);
    drive("tap id=btnStart");
    EXPECT_EQ(guest->starts, 0);
}

TEST_F(CardTable, ReadyChecksTheMoneyUnlessIAmReadyAlready) {
    auto table = seat(3, {player(8, "an")}, 8, 1000);
    table->setDisableReady(true);
    table->doReady();
    EXPECT_EQ(dialogText(), text("KAVO_boardPlayingNoReady"));
    press("OK");
    table->setDisableReady(false);
    me->setMoney(999);
    table->doReady();
    EXPECT_EQ(dialogText(), text("KAVO_koDuTienCuoc"));
    press("OK");
    EXPECT_TRUE(client.sent().empty());
    me->setMoney(1000);
    table->doReady();
    me->setMoney(0);
    me->setIsReady(1);
    table->doReady();
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{16, {2, 5, 1}}, {16, {2, 5, 1}}}));
}

TEST_F(CardTable, TheReadyButtonHidesOnlyWhenTheReadyRequestWentOut) {
    auto table = seat(3, {player(8, "an")}, 8, 1000);
    me->setMoney(999);
    table->setKindOfStart(GameCardView::kReady);
    drive("tap id=btnStart");
    EXPECT_EQ(dialogText(), text("KAVO_koDuTienCuoc"));
    press("OK");
    EXPECT_FALSE(table->btnStart()->isHidden()) << "refused: the button stays for another try";
    me->setMoney(1000);
    drive("tap id=btnStart");
    EXPECT_TRUE(table->btnStart()->isHidden());
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{16, {2, 5, 1}}}));
}

TEST_F(CardTable, SeatThreeLocksFirstAndUnlocksLast) {
    auto table = seat(3, {});
    drive("tap id=btnLock1");
    EXPECT_EQ(dialogText(), text("KAVO_khoaGhe"));
    press("OK");
    drive("tap id=btnLock3\ntap id=btnLock1\ntap id=btnLock3");
    EXPECT_EQ(dialogText(), text("KAVO_moKhoaGhe"));
    press("OK");
    EXPECT_FALSE(table->seat(1).btnSeat->isEnabled());
    drive("tap id=btnLock1\ntap id=btnLock3");
    EXPECT_EQ(client.sent(),
              (std::vector<RecordedMessage>{{56, {2, 5, 3}}, {56, {2, 5, 2}}, {56, {2, 5, 3}}, {56, {2, 5, 4}}}));
    EXPECT_TRUE(table->seat(3).btnSeat->isEnabled());
}

// Leaving asks first while my hand is still played or while the table waits for me to be
// ready; after a hand, its cards still shown, and as the owner (who starts the hand), the
// player leaves at once.
TEST_F(CardTable, LeavingAsksOnlyWhileMyHandIsPlayedOrIAmReadyForTheNext) {
    struct Case {
        const char* state;
        bool handRuns;
        bool holdsCards;
        bool ready;
        int32_t owner;
        bool asks;
    };
    for (const Case& c : {Case{"my hand is played", true, true, false, 7, true},
                          Case{"after the hand, its cards shown", false, true, false, 7, false},
                          Case{"ready for the owner's start", false, false, true, 8, true},
                          Case{"the owner, marked ready", false, false, true, 7, false},
                          Case{"watching a hand without cards", true, false, false, 8, false},
                          Case{"nothing under way", false, false, false, 7, false}}) {
        auto table = fullTable(3, c.owner);
        table->setIsGameEnd(!c.handRuns);
        me->resetCard();
        if (c.holdsCards) me->cards()->push_back(CardView::withCardID(3));
        me->setIsReady(c.ready ? 1 : 0);
        table->doLeaveBoard();
        if (c.asks) {
            EXPECT_EQ(dialogText(), text("KAVO_doYouWantExit")) << c.state;
            EXPECT_EQ(openDialogCode(), UIController::kActionLeaveBoard) << c.state;
            EXPECT_TRUE(client.sent().empty()) << c.state;
            press("OK");
        } else {
            EXPECT_EQ(dialogText(), "") << c.state;
        }
        EXPECT_TRUE(client.sentOnce(15, {2, 5})) << c.state;
        EXPECT_NE(top(), table) << c.state;
        client.clear();
    }
}

// Money that changed away from the table (a transfer, a gift bought, a lottery win) is
// the seated player's from then on: his seat shows it, and so does every later drawing
// of the seats (a deal draws them again).
TEST_F(CardTable, MoneyChangedAwayFromTheTableStaysAtThePlayersSeat) {
    auto table = fullTable();
    const auto money = [&](int s) {
        return table->seat(s).btnMoney->titleForState(platform::ui::ControlState::Normal);
    };
    const int anSeat = table->getSeatFromID(8);
    ASSERT_NE(anSeat, -1);
    table->updateMoneyWithUserId(8, 123456);
    EXPECT_EQ(money(anSeat), "123,456 " + text("KAVO_zel"));
    table->showSeats();
    EXPECT_EQ(money(anSeat), "123,456 " + text("KAVO_zel"));
    EXPECT_EQ(money(0), "1,000 " + text("KAVO_zel")) << "my seat is mine";
    table->updateMoneyWithUserId(99, 1); // nobody there: no seat changes
    EXPECT_EQ(money(0), "1,000 " + text("KAVO_zel"));
    EXPECT_EQ(money(anSeat), "123,456 " + text("KAVO_zel"));
}

// ---------------------------------------------------------------- turn clock

TEST_F(CardTable, MyTurnBarEmptiesInItsTimeAndChangesColour) {
    auto table = fullTable();
    table->setInterval(20);
    table->setDieTime(10);
    table->setCurrentPlayer(7);
    table->setTimerWithSeat(0);
    EXPECT_FALSE(table->progressTimer()->isHidden());
    EXPECT_FLOAT_EQ(float(table->progressTimer()->progress()), 0.5f);
    platform::RunLoop::main().advance(2.05);
    EXPECT_NEAR(table->limitProgress(), 0.4, 0.01);
    EXPECT_EQ(table->progressTimer()->tintColor(), platform::ui::Color::orange());
    platform::RunLoop::main().advance(4.0);
    EXPECT_EQ(table->progressTimer()->tintColor(), platform::ui::Color::red());
    platform::RunLoop::main().advance(4.5);
    EXPECT_EQ(table->progressTimer()->progress(), 0);
    table->setInterval(0);
    table->setTimerWithSeat(0);
    EXPECT_TRUE(table->progressTimer()->isHidden());
}

TEST_F(CardTable, MyTimeRunningOutSkipsOnlyAtTheTienLenTables) {
    struct Case {
        int8_t type;
        int32_t turn;
        bool skips;
    };
    for (const Case& c : {Case{3, 7, true}, Case{12, 7, true}, Case{13, 7, false}, Case{11, 7, false},
                          Case{2, 7, false}, Case{16, 7, false}, Case{3, 8, false}}) {
        auto table = fullGameTable(c.type);
        table->setInterval(15);
        table->setDieTime(3);
        table->setCurrentPlayer(c.turn);
        table->setTimerWithSeat(table->getSeatFromID(c.turn));
        table->schedulePlayerTime();
        platform::RunLoop::main().advance(5.0);
        const std::vector<RecordedMessage> skip = {{49, {2, 5}}};
        EXPECT_EQ(client.sent(), c.skips ? skip : std::vector<RecordedMessage>()) << int(c.type);
        EXPECT_EQ(table->currentPlayer(), -1);
        EXPECT_TRUE(table->progressTimer()->isHidden());
        client.clear();
    }
    // The skip goes when the last second is over, not a moment before.
    auto exact = fullGameTable(3);
    exact->setInterval(15);
    exact->setDieTime(3);
    exact->setCurrentPlayer(7);
    exact->setTimerWithSeat(0);
    exact->schedulePlayerTime();
    platform::RunLoop::main().advance(2.9);
    EXPECT_TRUE(client.sent().empty()) << "a tenth of a second left";
    platform::RunLoop::main().advance(0.1);
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{49, {2, 5}}})) << "at 3 s";
    client.clear();
    // Left at once, or through the leave question: no skip in my name afterwards.
    for (bool ask : {false, true}) {
        auto left = fullGameTable(3);
        left->setInterval(15);
        left->setDieTime(3);
        left->setCurrentPlayer(7);
        left->schedulePlayerTime();
        if (ask) {
            left->setIsGameEnd(false);
            me->resetCard();
            me->cards()->push_back(CardView::withCardID(3));
            left->doLeaveBoard();
            press("OK");
        } else {
            left->progressLeaveBoard();
        }
        EXPECT_TRUE(client.sentOnce(15, {2, 5}));
        client.clear();
        platform::RunLoop::main().advance(5.0);
        EXPECT_TRUE(client.sent().empty()) << ask;
    }
}

// ---------------------------------------------------------------- bubbles and money texts

TEST_F(CardTable, BubblesQueueJoinAndTime) {
    auto table = fullTable();
    EXPECT_TRUE(table->onChatFromWithId(9, "", "one"));
    EXPECT_FALSE(table->chat(2)->isHidden());
    table->onChatFromWithId(9, "", "two");
    table->onChatFromWithId(9, "", "three");
    EXPECT_EQ(table->chatPlayers()[2], "two, three");
    platform::RunLoop::main().advance(3.0);
    EXPECT_EQ(table->chatPlayers()[2], "");
    EXPECT_FALSE(table->chat(2)->isHidden());
    platform::RunLoop::main().advance(3.0);
    EXPECT_TRUE(table->chat(2)->isHidden());
    EXPECT_FALSE(table->onChatFromWithId(99, "", "stranger"));
    ASSERT_EQ(table->chatView()->historyChat().size(), 3u);
    EXPECT_EQ(table->chatView()->historyChat()[0]->name(), "binh");

    platform::Vibration::clearRecord();
    UIController::setRung(true);
    table->onBuzzWithContent("BUZZ!");
    EXPECT_EQ(platform::Vibration::count(), 1);
    EXPECT_FALSE(table->chat(4)->isHidden());
    platform::RunLoop::main().advance(3.5);
    EXPECT_FALSE(table->chat(4)->isHidden());
    platform::RunLoop::main().advance(1.0);
    EXPECT_TRUE(table->chat(4)->isHidden());

    // A line long enough to run out of the window moves the top seat's bubble left while
    // it shows; then it goes back.
    const double x = table->chat(2)->frame().x();
    table->onChatFromWithId(9, "", "a line long enough to reach past the edge");
    EXPECT_LE(table->chat(2)->frame().maxX(), 480.0);
    EXPECT_LT(table->chat(2)->frame().x(), x);
    platform::RunLoop::main().advance(6.0);
    EXPECT_TRUE(table->chat(2)->isHidden());
    EXPECT_EQ(table->chat(2)->frame().x(), x);
}

TEST_F(CardTable, MyLineShowsAtOnceAndIsSentOnce) {
    auto table = fullTable();
    table->onChatFromMeWithText("  hello  ");
    table->onChatFromMeWithText("   ");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{9, Bytes().byte(2).byte(5).utf("hello").data()}}));
    EXPECT_FALSE(table->chat(0)->isHidden());
}

// The amounts of a hand's end come moments apart and their flights share the table's
// middle: each takes off when the one before it has landed, so no two are in the air.
TEST_F(CardTable, MoneyTextsFlyBetweenTheCentreAndTheSeatOneAtATime) {
    auto table = fullTable();
    table->showFlyTextWirhFromId(8, 500);
    table->showFlyTextWirhFromId(8, -500);
    table->showFlyTextWirhFromId(7, 0);
    ASSERT_EQ(table->flyTexts().size(), 1u);
    EXPECT_EQ(table->waitingFlyTexts(), 2u);
    const auto gain = table->flyTexts()[0];
    EXPECT_EQ(gain->text(), "+500");
    EXPECT_EQ(gain->presentationCenter(), (platform::ui::Point{240, 135}));
    EXPECT_EQ(gain->center(), (platform::ui::Point{440, 145}));
    drive("expect text=+500\nexpect-not text=-500");
    platform::RunLoop::main().advance(1.0);
    ASSERT_EQ(table->flyTexts().size(), 1u);
    const auto loss = table->flyTexts()[0];
    EXPECT_EQ(loss->text(), "-500");
    EXPECT_EQ(loss->presentationCenter(), (platform::ui::Point{440, 145}));
    EXPECT_EQ(loss->center(), (platform::ui::Point{240, 135}));
    drive("expect-not text=+500\nexpect text=-500");
    platform::RunLoop::main().advance(1.0);
    ASSERT_EQ(table->flyTexts().size(), 1u);
    EXPECT_EQ(table->flyTexts()[0]->text(), "0");
    EXPECT_EQ(table->flyTexts()[0]->center(), (platform::ui::Point{270, 260}));
    EXPECT_EQ(table->waitingFlyTexts(), 0u);
    platform::RunLoop::main().advance(1.0);
    EXPECT_TRUE(table->flyTexts().empty());
}

// A table reset (a new join) drops the last hand's amounts: the one in the air goes and
// none that waited takes off over the new table.
TEST_F(CardTable, AResetTableFliesNoAmountOfTheLastHand) {
    auto table = fullTable();
    table->showFlyTextWirhFromId(8, 500);
    table->showFlyTextWirhFromId(7, -500);
    table->resetView();
    EXPECT_TRUE(table->flyTexts().empty());
    EXPECT_EQ(table->waitingFlyTexts(), 0u);
    drive("expect-not text=+500");
    platform::RunLoop::main().advance(2.0);
    EXPECT_TRUE(table->flyTexts().empty());
    drive("expect-not text=-500");
}

// ---------------------------------------------------------------- seat menu, gifts, sheets

TEST_F(CardTable, TheSeatMenuLiftsASeatAndPutsEverythingBack) {
    auto friendly = player(9, "binh");
    friendly->setIsFriend(1);
    auto table = seat(3, {player(8, "an"), friendly, player(10, "cuong")}, 8);
    const auto before = table->view()->subviews();
    drive("tap id=btnSeat2");
    platform::RunLoop::main().advance(0.5);
    EXPECT_EQ(table->CurrentControlPlayer(), friendly);
    EXPECT_EQ(table->seat(2).ava->superview(), table->viewPlayerMenu().get());
    EXPECT_FALSE(table->seat(2).btnPlayerFriend->isEnabled());
    EXPECT_FALSE(table->seat(2).btnPlayerKick->isEnabled());
    table->clickKick(*table->seat(2).btnPlayerKick);
    EXPECT_TRUE(client.sent().empty());
    table->hideForActionPlayerMenu();
    EXPECT_EQ(table->view()->subviews(), before);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(table->seat(s).btnSeat->tag(), s);
        EXPECT_EQ(table->seat(s).btnPresent->tag(), s);
    }
    table->setOwnerWithNewOwner(7);
    drive("tap id=btnSeat1");
    platform::RunLoop::main().advance(0.5);
    EXPECT_TRUE(table->seat(1).btnPlayerKick->isEnabled());
    drive("tap id=btnPlayerKick1");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{11, Bytes().byte(2).byte(5).int32(8).data()}}));
}

TEST_F(CardTable, AnEmptySeatOpensTheInvitationSheetAfterOneRequest) {
    auto table = seat(3, {player(8, "an")});
    drive("tap id=btnSeat2");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{78, {2}}}));
    EXPECT_EQ(table->inviteView()->typeInvite(), 0);
    EXPECT_EQ(table->inviteView()->view()->superview(), table->view().get());
}

TEST_F(CardTable, AGiftFliesFromGiverToReceiver) {
    auto table = fullTable();
    table->onShowGift(42, 10, 8);
    auto flying = table->view()->subviewsOfType<platform::ui::ImageView>();
    std::shared_ptr<platform::ui::ImageView> gift;
    for (const auto& view : flying)
        if (view->accessibilityIdentifier() == "flyingGift") gift = view;
    ASSERT_TRUE(gift);
    EXPECT_EQ(gift->presentationFrame().origin, (platform::ui::Point{40, 140}));
    EXPECT_EQ(gift->center(), table->seat(1).btnPresent->center());
    platform::RunLoop::main().advance(1.05);
    EXPECT_EQ(gift->superview(), nullptr);
    table->onShowGift(42, 10, 99); // to nobody seated: no seat changes
    platform::RunLoop::main().advance(1.05);
    EXPECT_EQ(imageName(table->seat(2).btnPresent->imageForState(platform::ui::ControlState::Normal)),
              "tl_present.png");
    table->clickGiftDetail(1);
    EXPECT_EQ(dialogText(), "cuong " + text("KAVO_whoGift")) << "the giver, not the seat's player";
}

// A gift button names who gave the gift it shows, whoever sits there: the player gives minh
// a gift, then an gives the player one, then an gives minh another. A seat whose player got
// no gift here and an empty seat name nobody.
TEST_F(CardTable, AGiftButtonNamesItsGiverAndASeatWithoutAGiftNamesNobody) {
    auto table = place(std::make_shared<TienLenView>(), {player(8, "minh"), player(9, "an")});
    const auto button = [&](int32_t id) { return "btnPresent" + std::to_string(table->getSeatFromID(id)); };
    const auto shownAfterTapping = [&](int32_t id) {
        drive("tap id=" + button(id));
        const std::string shown = dialogText();
        if (!shown.empty()) press("OK");
        return shown;
    };

    receiveGift(7, 4102, 8);
    EXPECT_NE(
        imageName(table->seat(table->getSeatFromID(8)).btnPresent->imageForState(platform::ui::ControlState::Normal)),
        "tl_present.png")
        << "minh's seat shows the gift";
    EXPECT_EQ(shownAfterTapping(8), "me " + text("KAVO_whoGift"));
    EXPECT_EQ(shownAfterTapping(9), "") << "an got no gift";
    EXPECT_EQ(shownAfterTapping(7), "") << "nor did I";
    receiveGift(9, 4103, 7);
    EXPECT_EQ(shownAfterTapping(7), "an " + text("KAVO_whoGift"));
    receiveGift(9, 4103, 8);
    EXPECT_EQ(shownAfterTapping(8), "an " + text("KAVO_whoGift")) << "the newest gift's giver";

    const int empty = 3;
    ASSERT_EQ(table->playerAtSeat(empty) ? table->playerAtSeat(empty)->IDDB() : -1, -1);
    table->clickGiftDetail(empty);
    EXPECT_EQ(dialogText(), "");
}

TEST_F(CardTable, TheStakeSheetOpensByTheGamesRule) {
    auto guest = fullTable(3, 8);
    guest->showCuoc();
    EXPECT_EQ(guest->betView()->view()->superview(), nullptr);
    auto owner = fullTable(3, 7);
    owner->showCuoc();
    EXPECT_EQ(owner->betView()->view()->superview(), owner->view().get());
    auto baiCao = fullTable(11, 8);
    baiCao->showCuoc();
    EXPECT_EQ(baiCao->betView()->view()->superview(), baiCao->view().get());
    auto playing = fullTable(11, 8);
    playing->setIsGameEnd(false);
    playing->showCuoc();
    EXPECT_EQ(playing->betView()->view()->superview(), nullptr);
    EXPECT_FALSE(playing->chat(4)->isHidden());
    drive("tap id=clickMailBox");
    EXPECT_TRUE(std::dynamic_pointer_cast<MessageView>(top()));
}

} // namespace
} // namespace kavo::test
