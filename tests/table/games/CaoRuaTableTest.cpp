// The Cao Rua table as the server's bytes and a person's taps drive it: seats, marks,
// readiness, stakes, the end of a hand, the seat menu, bubbles and money texts.
#include "account/ProfileSubView.h"
#include "app/UIController.h"
#include "app/widgets/CustomLabel.h"
#include "games/caorua/CaoRuaMessageHandler.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/Vibration.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/registry/GameController.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"
#include "tests/table/TableTestSupport.h"

#include <algorithm>

namespace kavo::test {
namespace {

constexpr int32_t kMe = 7;
using platform::ui::ControlState;

std::shared_ptr<TienLenPlayer> player(int32_t id, const std::string& name, int64_t money = 5000, bool ready = false) {
    return playerRecord<TienLenPlayer>(id, name, money, 0, ready);
}

std::shared_ptr<TienLenPlayer> empty() {
    return player(-1, "", 0);
}

class CaoRuaTable : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        me = player(kMe, "me", 1000);
        UIController::setMyInfo(me);
        UIController::setGameType(17);
    }
    // The server's bytes through the real handler, then their main-thread step.
    void receive(int16_t command, const Bytes& body) {
        Message message = body.message(command);
        CaoRuaMessageHandler::getInstance()->onMessage(message);
        runMainThread();
    }
    // A table at room 2, board 5 opened by a join with these six places.
    std::shared_ptr<CaoRuaView> join(const std::vector<std::shared_ptr<TienLenPlayer>>& places, int32_t owner = kMe,
                                     int32_t stake = 100) {
        Bytes body = Bytes().byte(2).byte(5).int32(owner).int32(stake);
        for (const auto& p : places) {
            body.int32(p->IDDB());
            if (p->IDDB() != -1) body.utf(p->name()).int64(p->money()).int16(1).int32(300).boolean(p->isReady());
        }
        receive(8, body);
        client.clear();
        return GameController::getCaoRuaView();
    }
    std::shared_ptr<CaoRuaView> table() {
        return join({me, player(8, "an", 5000, true), empty(), player(9, "binh", 5000, true), empty(), empty()});
    }
    std::string title(const std::shared_ptr<platform::ui::Button>& button) {
        return button->titleForState(ControlState::Normal);
    }
    static std::string imageName(const platform::ui::ImagePtr& image) { return image ? image->name() : ""; }
    static void advance(double seconds) { platform::RunLoop::main().advance(seconds); }
    // The table's views in stacking order, by name (the menu's own layer aside: opening
    // brings it to the front; so is the screen base's mail counter, which moves itself).
    static std::vector<std::string> stacking(CaoRuaView& view) {
        std::vector<std::string> names;
        for (const auto& subview : view.view()->subviews())
            if (subview != view.viewPlayerMenu() &&
                subview->accessibilityIdentifier().find("CounterMessage") == std::string::npos)
                names.push_back(subview->accessibilityIdentifier());
        return names;
    }
    std::shared_ptr<TienLenPlayer> me;
};

// ---------------------------------------------------------------- seats and marks

TEST_F(CaoRuaTable, SixPlacesWithMeAtFourPutMeAtTheBottom) {
    auto view = join({player(8, "an"), empty(), player(9, "binh"), empty(), me, player(10, "cuong")}, 8);
    EXPECT_EQ(view->seats(), (std::array<int, 6>{4, 5, 0, 1, 2, 3}));
    EXPECT_EQ(title(view->seat(0).btnUsername), "me");
    EXPECT_EQ(title(view->seat(1).btnUsername), "cuong");
    EXPECT_EQ(title(view->seat(2).btnUsername), "an");
    EXPECT_EQ(title(view->seat(4).btnUsername), "binh");
    for (int s : {3, 5}) {
        EXPECT_EQ(title(view->seat(s).btnSeat), text("KAVO_invite")) << "seat " << s;
        EXPECT_EQ(imageName(view->seat(s).btnSeat->imageForState(ControlState::Normal)), "button_moichoi.png");
        EXPECT_TRUE(view->seat(s).btnUsername->isHidden());
    }
    EXPECT_EQ(title(view->seat(2).btnSeat), "");
    // The owner's mark, and with the owner seated only the owner's mark stays.
    EXPECT_EQ(imageName(view->seat(2).ok->image()), "icon_chuban.png");
    EXPECT_FALSE(view->seat(2).ok->isHidden());
    EXPECT_EQ(view->seat(0).ok->image(), nullptr) << "I am not ready";
    EXPECT_FALSE(view->btnDatCuoc()->isEnabled()) << "only the owner sets the stake";
    EXPECT_EQ(title(view->btnStart()), text("KAVO_ready"));
    EXPECT_FALSE(view->btnStart()->isHidden());
}

TEST_F(CaoRuaTable, SitDownReadyAndLeaveRedrawTheSeats) {
    auto view = table();
    receive(12, Bytes().byte(4).int32(11).utf("dung").int64(700).int16(2).int32(40));
    EXPECT_EQ(title(view->seat(4).btnUsername), "dung");
    EXPECT_EQ(title(view->seat(4).btnMoney), "700");
    receive(12, Bytes().byte(6).int32(12).utf("far").int64(700).int16(2).int32(40));
    EXPECT_EQ(view->getSeatFromID(12), -1) << "place 6 of six, which the table lacks, is dropped";
    receive(16, Bytes().int32(11).boolean(true));
    EXPECT_EQ(imageName(view->seat(4).ok->image()), "icon_ok.png");
    receive(14, Bytes().int32(11).int32(kMe));
    EXPECT_EQ(title(view->seat(4).btnSeat), text("KAVO_invite"));
    EXPECT_EQ(view->getSeatFromID(11), -1);
}

// ---------------------------------------------------------------- ready, start, leave

TEST_F(CaoRuaTable, ReadyComparesMyMoneyWithTheStakeUnlessIAmReadyAlready) {
    auto view = join({me, player(8, "an", 5000, true), empty(), empty(), empty(), empty()}, 8, 1000);
    me->setMoney(999);
    view->clickStartGame();
    EXPECT_EQ(dialogText(), text("KAVO_koDuTienCuoc"));
    press("OK");
    EXPECT_TRUE(client.sent().empty());
    EXPECT_FALSE(view->btnStart()->isHidden()) << "a refused ready keeps the button";
    me->setMoney(1000);
    view->clickStartGame();
    EXPECT_TRUE(client.sentOnce(16, Bytes().byte(2).byte(5).boolean(true).data()));
    EXPECT_TRUE(view->btnStart()->isHidden());
    client.clear();
    me->setMoney(10);
    view->myRecord()->setIsReady(1);
    EXPECT_TRUE(view->doReady()) << "already ready: sent without the money check";
    EXPECT_TRUE(client.sentOnce(16, Bytes().byte(2).byte(5).boolean(true).data()));
    client.clear();
    view->set_disableReady(true);
    EXPECT_FALSE(view->doReady());
    EXPECT_EQ(dialogText(), text("KAVO_boardPlayingNoReady"));
    press("OK");
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(CaoRuaTable, TheOwnerStartsOnlyWithEveryOtherPlayerReadyAndTheStakeInHand) {
    auto alone = join({me, empty(), empty(), empty(), empty(), empty()});
    alone->clickStartGame();
    EXPECT_EQ(dialogText(), text("KAVO_cannotStart"));
    press("OK");
    auto mixed = join({me, player(8, "an", 5000, true), player(9, "binh"), empty(), empty(), empty()});
    mixed->clickStartGame();
    EXPECT_EQ(dialogText(), text("KAVO_cannotStart"));
    press("OK");
    auto poor = join({me, player(8, "an", 5000, true), empty(), empty(), empty(), empty()}, kMe, 1001);
    poor->clickStartGame();
    EXPECT_EQ(dialogText(), text("KAVO_koDuTienCuoc"));
    press("OK");
    EXPECT_TRUE(client.sent().empty());
    auto even = join({me, player(8, "an", 5000, true), empty(), empty(), empty(), empty()}, kMe, 1000);
    even->clickStartGame();
    EXPECT_TRUE(client.sentOnce(20, Bytes().byte(2).byte(5).data()));
}

TEST_F(CaoRuaTable, LeavingWithoutCardsGoesAtOnceAndWithCardsAsksFirst) {
    auto view = join({me, player(8, "an", 5000, true), empty(), empty(), empty(), empty()}, 8);
    ASSERT_EQ(top(), view);
    view->doLeaveBoard();
    EXPECT_TRUE(client.sentOnce(15, Bytes().byte(2).byte(5).data()));
    EXPECT_NE(top(), view);
    client.clear();
    auto again = join({me, player(8, "an", 5000, true), empty(), empty(), empty(), empty()}, 8);
    receive(20, Bytes().byte(2).byte(5).byte(10).int32(100).raw({1, 2, 3}));
    again->doLeaveBoard();
    EXPECT_EQ(dialogText(), text("KAVO_doYouWantExit"));
    EXPECT_TRUE(client.sent().empty());
    EXPECT_EQ(top(), again);
}

// ---------------------------------------------------------------- stakes and the hand's events

TEST_F(CaoRuaTable, ATableStakeClearsTheReadyFlagsAndBothBoardStakesOnlyShowTheAmount) {
    auto view = table();
    receive(19, Bytes().byte(2).byte(5).int32(2500));
    EXPECT_EQ(view->money(), 2500);
    for (const auto& p : view->players())
        EXPECT_EQ(p->isReady(), 0) << p->name();
    EXPECT_EQ(title(view->btnDatCuoc()), "2,500 " + text("KAVO_zel"));
    advance(0.1);
    EXPECT_EQ(title(view->btnStart()), text("KAVO_start")) << "the owner's button comes back after 0.1 s";
    receive(24, Bytes().byte(2).byte(5).int32(500).int32(8));
    EXPECT_EQ(title(view->btnDatCuoc()), "500 " + text("KAVO_zel"));
    receive(80, Bytes().byte(2).byte(5).int32(8).int32(700));
    EXPECT_EQ(title(view->btnDatCuoc()), "700 " + text("KAVO_zel"));
    EXPECT_EQ(view->money(), 2500) << "the board stake leaves the table stake";
    receive(24, Bytes().byte(2).byte(6).int32(900).int32(8));
    EXPECT_EQ(title(view->btnDatCuoc()), "700 " + text("KAVO_zel")) << "another board's";
}

TEST_F(CaoRuaTable, AStartDealsEveryHandAndTheEndRevealsThemAndOffersContinue) {
    auto view = table();
    receive(20, Bytes().byte(2).byte(6).byte(10).int32(100).raw({1, 2, 3}));
    EXPECT_EQ(view->playerWithId(8)->isReady(), 1) << "a start for another table leaves the flags";
    EXPECT_TRUE(view->imgViewDealerCards()->isHidden());
    GameController::setLevelRoom(1);
    receive(20, Bytes().byte(2).byte(5).byte(10).int32(100).raw({1, 2, 3}));
    EXPECT_EQ(view->playerWithId(8)->isReady(), 0);
    EXPECT_FALSE(view->imgViewDealerCards()->isHidden());
    EXPECT_EQ(view->imgViewDealerCards()->accessibilityLabel(), "img_CaoRua_DealerCardYellow.png");
    EXPECT_TRUE(view->btnStart()->isHidden());
    EXPECT_EQ(view->view()->subviewsOfType<BCCardView>().size(), 1u) << "the deal starts with my last card";
    advance(1.25);
    EXPECT_EQ(view->view()->subviewsOfType<BCCardView>().size(), 9u) << "three hands of three";
    receive(21, Bytes().byte(9).byte(9).int32(8).raw({5, 0xff, 0xff}));
    EXPECT_TRUE(view->disableReady()) << "a turn anywhere disables ready";
    receive(21, Bytes().byte(2).byte(5).int32(8).raw({5, 0xff, 0xff}));
    auto hand = std::dynamic_pointer_cast<TienLenPlayer>(view->playerWithId(8));
    ASSERT_TRUE(hand && hand->cards());
    EXPECT_EQ(hand->cards()->at(0)->cardView().accessibilityIdentifier(), "card5");
    EXPECT_EQ(hand->cards()->at(1)->cardView().accessibilityIdentifier(), "cardBack");
    receive(50, Bytes().byte(2).byte(5).byte(0));
    EXPECT_FALSE(view->disableReady());
    EXPECT_TRUE(view->isGameEnd());
    EXPECT_TRUE(view->imgViewDealerCards()->isHidden());
    EXPECT_EQ(title(view->btnStart()), text("KAVO_continuee"));
    EXPECT_FALSE(view->btnStart()->isHidden());
    view->clickStartGame();
    EXPECT_EQ(title(view->btnStart()), text("KAVO_start"));
    EXPECT_TRUE(view->view()->subviewsOfType<BCCardView>().empty());
}

TEST_F(CaoRuaTable, TheRevealShowsEveryReportedCardFaceUp) {
    auto view = table();
    receive(20, Bytes().byte(2).byte(5).byte(10).int32(100).raw({1, 2, 3}));
    Bytes reveal;
    reveal.byte(2).byte(5).byte(3).int32(kMe).raw({1, 2, 3}).int32(8).raw({10, 11, 0xff}).int32(9).raw({20, 21, 22});
    receive(50, reveal);
    auto an = std::dynamic_pointer_cast<TienLenPlayer>(view->playerWithId(8));
    std::vector<std::string> faces;
    for (const auto& card : *an->cards())
        faces.push_back(card->cardView().accessibilityIdentifier());
    EXPECT_EQ(faces, (std::vector<std::string>{"card10", "card11", "cardBack"})) << "255 leaves a card face down";
    EXPECT_TRUE(view->btnNanBai()->isHidden());
}

TEST_F(CaoRuaTable, BonusesScoreTextsAndBuzzesReachTheirSeats) {
    auto view = table();
    receive(52, Bytes().byte(2).byte(5).int32(kMe).int32(-200).utf("thua 200"));
    EXPECT_EQ(me->money(), 800);
    EXPECT_EQ(title(view->seat(0).btnMoney), "800");
    EXPECT_EQ(view->chat(0)->subviews().front()->text(), "thua 200");
    ASSERT_EQ(view->flyTexts().size(), 1u);
    EXPECT_EQ(view->flyTexts().front()->text(), "-200");
    receive(52, Bytes().byte(2).byte(5).int32(44).int32(100).utf("x"));
    EXPECT_EQ(view->flyTexts().size() + view->waitingFlyTexts(), 1u) << "a bonus for nobody at the table";
    receive(91, Bytes().int32(8).utf("9 nut"));
    EXPECT_EQ(view->chat(1)->subviews().front()->text(), "9 nut");
    platform::Vibration::clearRecord();
    receive(103, Bytes().utf("A").utf("B"));
    EXPECT_EQ(platform::Vibration::count(), 1);
    EXPECT_EQ(view->chat(5)->subviews().front()->text(), "A: B");
    receive(62, Bytes().byte(2).byte(5).int32(100).int32(8).raw({0xff, 0xff, 0xff}));
    EXPECT_FALSE(view->isGameEnd());
    EXPECT_EQ(view->chat(6)->subviews().front()->text(), text("KAVO_playingBoard"));
}

TEST_F(CaoRuaTable, AKickOfMePopsTheTableAndTellsWhy) {
    auto view = table();
    receive(11, Bytes().byte(2).byte(5).int32(8));
    EXPECT_EQ(view->getSeatFromID(8), -1);
    EXPECT_EQ(top(), view);
    receive(11, Bytes().byte(2).byte(5).int32(kMe));
    EXPECT_NE(top(), view);
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
}

// ---------------------------------------------------------------- the turn bar

TEST_F(CaoRuaTable, TheTurnBarStepsAHundredthPerTickThroughThreeColours) {
    auto view = table();
    receive(20, Bytes().byte(2).byte(5).byte(10).int32(100).raw({1, 2, 3}));
    EXPECT_FALSE(view->progressTimer()->isHidden());
    EXPECT_FLOAT_EQ(view->limitProgress(), 1.0f);
    advance(0.1);
    EXPECT_NEAR(view->limitProgress(), 0.99f, 1e-4);
    advance(3.9);
    EXPECT_EQ(view->progressTimer()->tintColor(), platform::ui::Color::rgba(27, 175, 57));
    advance(0.2);
    EXPECT_EQ(view->progressTimer()->tintColor(), platform::ui::Color::orange());
    advance(3.0);
    EXPECT_EQ(view->progressTimer()->tintColor(), platform::ui::Color::red());
    advance(3.0);
    EXPECT_FALSE(view->limitTimerRunning());
    receive(20, Bytes().byte(2).byte(5).byte(0).int32(100).raw({1, 2, 3}));
    EXPECT_TRUE(view->progressTimer()->isHidden()) << "a limit of 0 shows no bar";
    EXPECT_FALSE(view->limitTimerRunning());
}

// ---------------------------------------------------------------- the seat menu

TEST_F(CaoRuaTable, ASeatMenuLiftsTheSeatAndFadesFiveButtonsIn) {
    auto view = join({me, player(8, "an"), empty(), empty(), empty(), empty()}, 8);
    const auto before = stacking(*view);
    drive("tap id=btnSeat1");
    EXPECT_FALSE(view->viewPlayerMenu()->isHidden());
    EXPECT_EQ(view->CurrentControlPlayer()->IDDB(), 8);
    EXPECT_TRUE(view->seat(1).avatar->isDescendantOf(view->viewPlayerMenu().get()));
    EXPECT_EQ(view->seat(1).btnSeat->superview(), nullptr) << "the seat button hides while the menu is open";
    const auto& s = view->seat(1);
    EXPECT_EQ(s.btnInfo->alpha(), 1.0);
    EXPECT_EQ(s.btnBuzz->alpha(), 0.0);
    advance(0.25);
    EXPECT_EQ(s.btnKick->alpha(), 0.0);
    advance(0.2);
    EXPECT_EQ(s.btnBuzz->alpha(), 1.0);
    EXPECT_FALSE(s.btnKick->isEnabled()) << "I do not own the table";
    drive("tap id=btnKickPlayer1");
    EXPECT_FALSE(view->viewPlayerMenu()->isHidden()) << "a disabled kick leaves the menu open";
    EXPECT_TRUE(client.sent().empty());
    drive("tap id=clickHideActionPlayer");
    EXPECT_TRUE(view->viewPlayerMenu()->isHidden());
    EXPECT_EQ(stacking(*view), before) << "every lifted view is back at its place";
    for (int seat = 0; seat < CaoRuaView::kSeats; ++seat) {
        EXPECT_EQ(view->seat(seat).btnSeat->tag(), seat);
        EXPECT_EQ(view->seat(seat).btnPresent->tag(), seat);
    }
}

TEST_F(CaoRuaTable, MySeatOpensMyProfileAndAnEmptySeatTheInvitations) {
    auto view = table();
    drive("tap id=btnSeatME");
    EXPECT_TRUE(view->viewPlayerMenu()->isHidden());
    EXPECT_TRUE(view->profileSubView() && view->profileSubView()->view()->superview());
}

TEST_F(CaoRuaTable, AnEmptySeatAsksForTheWaitingListAndOpensTheInvitations) {
    auto view = table();
    drive("tap id=btnSeat2");
    EXPECT_EQ(client.commands(), std::vector<int16_t>{78}) << "the waiting list";
    EXPECT_EQ(view->inviteView()->view()->superview(), view->view().get());
    EXPECT_TRUE(view->viewPlayerMenu()->isHidden());
}

TEST_F(CaoRuaTable, TheOwnersKickAndBuzzGoToTheChosenPlayer) {
    auto view = table();
    drive("tap id=btnSeat1\nadvance 0.5\ntap id=btnKickPlayer1");
    EXPECT_TRUE(client.sentOnce(11, Bytes().byte(2).byte(5).int32(8).data()));
    EXPECT_TRUE(view->viewPlayerMenu()->isHidden());
    client.clear();
    drive("tap id=btnSeat3\nadvance 0.5\ntap id=btnBuzzPlayer3");
    EXPECT_TRUE(client.sentOnce(103, Bytes().int32(9).data()));
}

// ---------------------------------------------------------------- bubbles and texts

TEST_F(CaoRuaTable, TextsArrivingWhileABubbleShowsFollowTogetherThreeSecondsLater) {
    auto view = table();
    receive(9, Bytes().byte(2).byte(5).int32(8).utf("chao"));
    EXPECT_FALSE(view->chat(1)->isHidden());
    EXPECT_EQ(view->chat(1)->subviews().front()->text(), "chao");
    receive(9, Bytes().byte(2).byte(5).int32(8).utf("ban"));
    receive(9, Bytes().byte(2).byte(5).int32(8).utf("oi"));
    EXPECT_EQ(view->chat(1)->subviews().front()->text(), "chao");
    advance(3.0);
    EXPECT_EQ(view->chat(1)->subviews().front()->text(), "ban, oi");
    advance(3.0);
    EXPECT_TRUE(view->chat(1)->isHidden());
    EXPECT_EQ(view->chatView()->historyChat().size(), 3u);
    receive(9, Bytes().byte(2).byte(5).int32(44).utf("who"));
    EXPECT_EQ(view->chatView()->historyChat().size(), 3u) << "a player without a seat shows nothing";
}

TEST_F(CaoRuaTable, BubblesSizeAndPlaceThemselvesByTheirTable) {
    auto view = table();
    view->showChatWithSeat(2, "hello there");
    EXPECT_LE(view->chat(2)->frame().maxX(), 425) << "right aligned: 480 - 55 at the most";
    EXPECT_FALSE(view->chat(2)->frame().intersects(view->seat(2).btnPresent->frame())) << "clear of the heart";
    EXPECT_EQ(view->chat(2)->frame().height(), 40);
    view->showChatWithSeat(3, "ab:)x:)");
    auto bubbleLabel = std::dynamic_pointer_cast<CustomLabel>(view->chat(3)->subviews().front());
    ASSERT_TRUE(bubbleLabel);
    // The label copies the bundle's emoticons when made, and an earlier test in this
    // process may have loaded them: measure the plain text with no emoticons at all.
    bubbleLabel->setEmoticons({});
    view->hideChat(3);
    view->showChatWithSeat(3, "ab:)x:)");
    const double plain = view->chat(3)->frame().width();
    bubbleLabel->setEmoticons({{":)", "1.png"}});
    view->hideChat(3);
    view->showChatWithSeat(3, "ab:)x:)");
    EXPECT_EQ(view->chat(3)->frame().width(), plain + 16) << "two emoticons widen the bubble by 16";
    view->showChatWithSeat(4, "notice");
    advance(3.0);
    EXPECT_FALSE(view->chat(4)->isHidden());
    advance(1.0);
    EXPECT_TRUE(view->chat(4)->isHidden()) << "bubble 4 stays 4 s";
    view->showChatWithSeat(6, "centre");
    EXPECT_EQ(view->chat(6)->center(), (platform::ui::Point{240, 140}));
    view->showChatWithSeat(7, "nowhere");
    EXPECT_EQ(view->chatPlayers().size(), 7u);
    // My bubble keeps its place unless a line would run out of the window.
    const double mine = view->chat(0)->frame().x();
    view->showChatWithSeat(0, "a line long enough to reach past the edge");
    EXPECT_LE(view->chat(0)->frame().maxX(), 480.0);
    view->hideChat(0);
    EXPECT_EQ(view->chat(0)->frame().x(), mine);
}

TEST_F(CaoRuaTable, MyChatIsTrimmedAndSentAndABlankOneIsNot) {
    auto view = table();
    view->onChatFromMeWithText("   ");
    EXPECT_TRUE(client.sent().empty());
    view->onChatFromMeWithText("  xin chao  ");
    EXPECT_TRUE(client.sentOnce(9, Bytes().byte(2).byte(5).utf("xin chao").data()));
    EXPECT_EQ(view->chat(0)->subviews().front()->text(), "xin chao");
}

TEST_F(CaoRuaTable, MoneyTextsFlyBetweenTheBoardAndTheSeatOneAtATime) {
    auto view = table();
    view->showFlyTextWirhFromId(8, 0);
    view->showFlyTextWirhFromId(8, -300);
    ASSERT_EQ(view->flyTexts().size(), 1u);
    EXPECT_EQ(view->waitingFlyTexts(), 1u) << "the loss waits for the gain to land";
    EXPECT_EQ(view->flyTexts()[0]->text(), "0");
    EXPECT_EQ(view->flyTexts()[0]->center(), view->seat(1).avatar->center()) << "a gain ends at the seat";
    advance(1.0);
    ASSERT_EQ(view->flyTexts().size(), 1u);
    EXPECT_EQ(view->flyTexts()[0]->text(), "-300");
    EXPECT_EQ(view->flyTexts()[0]->presentationCenter(), view->seat(1).avatar->center()) << "from the seat";
    EXPECT_EQ(view->flyTexts()[0]->center(), view->imgBoard()->center()) << "a loss ends at the board";
    advance(1.0);
    EXPECT_TRUE(view->flyTexts().empty());
}

TEST_F(CaoRuaTable, AGiftFliesToTheReceiversPresentIcon) {
    auto view = table();
    view->onShowGift(3, 8, kMe);
    platform::ui::ViewPtr flying;
    for (const auto& subview : view->view()->subviews())
        if (subview->accessibilityIdentifier() == "flyingGift") flying = subview;
    ASSERT_TRUE(flying);
    EXPECT_EQ(flying->center(), view->seat(0).btnPresent->center());
    advance(1.0);
    EXPECT_EQ(flying->superview(), nullptr);
}

// A present icon names who gave the gift it shows; a seat without a gift names nobody.
TEST_F(CaoRuaTable, APresentIconNamesItsGiverAndASeatWithoutAGiftNamesNobody) {
    auto view = table();
    receiveGift(8, 4105, kMe);
    drive("tap id=btnPresentME");
    EXPECT_EQ(dialogText(), "an " + text("KAVO_whoGift"));
    press("OK");
    drive("tap id=btnPresentPlayer" + std::to_string(view->getSeatFromID(8)));
    EXPECT_EQ(dialogText(), "") << "an got no gift";
}

TEST_F(CaoRuaTable, AResetTableTakesNoLateStep) {
    auto view = table();
    view->showChatWithSeat(1, "hi");
    view->showFlyTextWirhFromId(8, 5);
    view->resetView();
    EXPECT_TRUE(view->chat(1)->isHidden());
    EXPECT_TRUE(view->flyTexts().empty());
    EXPECT_EQ(view->chatPlayers(), std::vector<std::string>(7));
    advance(5.0);
    EXPECT_TRUE(view->chat(1)->isHidden());
}

TEST_F(CaoRuaTable, AResetDuringTheDealOrAPeekDealsNothingMore) {
    auto view = table();
    receive(20, Bytes().byte(2).byte(5).byte(10).int32(100).raw({1, 2, 3}));
    advance(0.3);
    view->clickNanBai();
    EXPECT_TRUE(view->peek().isPeeking()) << "my last card is on the table already";
    view->resetView();
    EXPECT_FALSE(view->peek().isPeeking());
    EXPECT_FALSE(view->dealer().isDealing());
    advance(3.0);
    EXPECT_TRUE(view->view()->subviewsOfType<BCCardView>().empty());
}

TEST_F(CaoRuaTable, ShowingAllWithNoCardsAsksForNone) {
    auto view = table();
    view->showAllCards();
    EXPECT_TRUE(client.sentOnce(21, Bytes().byte(2).byte(5).data()));
    client.clear();
    view->doFireWithCardId(-1);
    EXPECT_TRUE(client.sent().empty()) << "no card left to ask for";
}

} // namespace
} // namespace kavo::test
