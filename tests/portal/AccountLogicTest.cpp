#include "account/LottoSubView.h"
#include "account/LottoView.h"
#include "account/ProfileSubAchievementView.h"
#include "account/ProfileSubUser.h"
#include "account/ProfileSubView.h"
#include "account/ProfileView.h"
#include "account/Profile_AchievementView.h"
#include "account/Profile_AssetsView.h"
#include "account/Profile_TransactionView.h"
#include "account/ShopEntry.h"
#include "account/ShopView.h"
#include "account/ShopViewDetail.h"
#include "account/TopupZelView.h"
#include "account/WaitingGifts.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/baucua/BauCuaView.h"
#include "games/coup/CoUpView.h"
#include "games/tienlen/TienLenView.h"
#include "lobby/GameView.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/Device.h"
#include "platform/services/SmsComposer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/OverlayStack.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"
#include "portal/model/Province.h"
#include "portal/model/User.h"
#include "social/LeaderboardView.h"
#include "table/sheets/InviteView.h"
#include "tests/portal/PortalTestSupport.h"
#include "tests/support/StateWaits.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

// A card table that remembers what the replies asked of it.
class WatchingTable : public TienLenView {
public:
    std::vector<std::vector<int64_t>> gifts;
    std::vector<std::pair<int32_t, int64_t>> moneyUpdates;
    int details = 0;

    void onShowGift(int32_t itemId, int32_t fromUser, int32_t toUser) override {
        gifts.push_back({itemId, fromUser, toUser});
        TienLenView::onShowGift(itemId, fromUser, toUser);
    }
    void updateMoneyWithUserId(int32_t userId, int64_t money) override { moneyUpdates.emplace_back(userId, money); }
    void onRequestDetail(const platform::Value& detail) override {
        ++details;
        TienLenView::onRequestDetail(detail);
    }
};

void resetViews() {
    KavoOnlineAppDelegate::getInstance().reset();
    platform::ui::OverlayStack::reset();
    platform::ui::Window::resetAll();
    platform::ui::Application::shared().reset();
    platform::ui::Responder::forgetFirstResponder();
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Phone);
}

// The shop is one object for the process: each test starts with it closed and empty.
void resetShop() {
    ShopView::getInstance()->resetForTesting();
    ShopViewDetail::setItemPrice(0);
    WaitingGifts::forget();
}

// The real logic handler behind a launched client on the manual clock: the replies
// arrive as from the reader thread and the screens are driven on the main thread.
class AccountLogic : public ::testing::Test {
protected:
    PortalEnvironment env;
    platform::ScopedManualClock clock;
    std::shared_ptr<KavoViewController> root = std::make_shared<KavoViewController>();

    AccountLogic() {
        resetViews();
        resetShop();
        Resources::getInstance().loadLanguage();
        Resources::getInstance().setListMyFriends({});
        auto& delegate = KavoOnlineAppDelegate::getInstance();
        delegate.setRootScreenMaker([screen = root] { return screen; });
        platform::ui::Application::shared().setDelegate(&delegate);
        platform::ui::Application::shared().launch();
        run();
        UIController::myInfo()->setIDDB(10);
        UIController::myInfo()->setMoney(100000);
    }
    ~AccountLogic() override {
        run();
        resetShop();
        resetViews();
        Province::setList({});
        platform::RunLoop::main().reset();
    }

    static void run() { PortalEnvironment::runMainThread(); }
    template <typename Screen> std::shared_ptr<Screen> push(std::shared_ptr<Screen> screen) {
        KavoOnlineAppDelegate::getInstance().navigationController()->pushViewController(screen, false);
        run();
        return screen;
    }
    // Delivers a reply and lets the main thread handle what it posted.
    static void reply(int16_t command, const ByteVector& body = {}) {
        deliver(command, body);
        run();
    }
    static std::string dialogText() {
        auto dialog = UIController::currentDialog();
        return dialog ? dialog->message() : "";
    }
    static std::string text(const char* key) { return Resources::getInstance().textWithKey(key); }
    static int64_t myMoney() { return UIController::myInfo()->money(); }
};

Bytes rankedRow(int32_t id, const std::string& name) {
    Bytes row;
    row.int32(id).utf(name).int64(1000).int16(1).int32(0).utf("");
    return row;
}

Bytes friendRow(int32_t id, const std::string& name, bool online) {
    Bytes row;
    row.int32(id).utf(name).int64(10).int16(1).byte(online ? 1 : 0);
    if (online) row.byte(1).byte(2).byte(3);
    row.utf("s");
    return row;
}

// --------------------------------------------------------------- friends

TEST_F(AccountLogic, SearchAsksForTheFirstExactNameOrSaysNobody) {
    platform::UserDefaults::standard().setString("An", "REQUEST_ADD_FRIEND");
    reply(36, Bytes().int32(1).utf("an").int32(2).utf("An").int32(3).utf("An"));
    ASSERT_EQ(env.client().commands(), std::vector<int16_t>{104});
    EXPECT_EQ(env.client().last().body, ByteVector(Bytes().byte(15).int32(2).utf("An")));
    EXPECT_EQ(dialogText(), "");

    reply(36, Bytes().int32(1).utf("an"));
    EXPECT_EQ(env.client().commands().size(), 1u);
    EXPECT_EQ(dialogText(), text("KAVO_notFoundNick"));
}

TEST_F(AccountLogic, FriendsOnlineFillTheInviteListOfTheTableOnTop) {
    auto table = push(std::make_shared<WatchingTable>());
    table->inviteView()->listPlayers().push_back(std::make_shared<Player>());
    reply(104, Bytes().byte(5).raw(friendRow(1, "an", true)).raw(friendRow(2, "bo", false)));
    ASSERT_EQ(table->inviteView()->listPlayers().size(), 1u);
    EXPECT_EQ(table->inviteView()->listPlayers()[0]->name(), "an");
    EXPECT_EQ(Resources::getInstance().listMyFriends().size(), 2u);

    // The waiting list replaces the invite list.
    reply(78, Bytes().byte(2).raw(rankedRow(5, "chờ")).raw(rankedRow(6, "đợi")));
    EXPECT_EQ(table->inviteView()->listPlayers().size(), 2u);
}

TEST_F(AccountLogic, DiceTableListsNobodyAndHiddenPieceChessIsLeftAlone) {
    auto dice = push(std::make_shared<BauCuaView>());
    dice->inviteView()->listPlayers().push_back(std::make_shared<Player>());
    reply(104, Bytes().byte(5).raw(friendRow(1, "an", true)));
    EXPECT_TRUE(dice->inviteView()->listPlayers().empty());

    auto chess = push(std::make_shared<CoUpView>());
    reply(104, Bytes().byte(5).raw(friendRow(1, "an", true)));
    reply(78, Bytes().byte(2).raw(rankedRow(5, "chờ")));
    reply(34, Bytes().int32(5).utf("an").int64(1).int16(1).int32(1).int32(1).int32(1).int32(1).int32(1));
    EXPECT_TRUE(chess->inviteView()->listPlayers().empty());
    EXPECT_EQ(chess->lastDetailText(), "");
}

TEST_F(AccountLogic, GameGridShowsTheWholeFriendList) {
    auto grid = push(std::make_shared<GameView>());
    reply(104, Bytes().byte(5).raw(friendRow(1, "an", true)).raw(friendRow(2, "bo", false)));
    EXPECT_EQ(grid->arrayAllFriends().size(), 2u);
}

TEST_F(AccountLogic, PlayerDetailGoesToTheTableOnTopOnly) {
    const Bytes detail = Bytes().int32(5).utf("an").int64(2500).int16(1).int32(1).int32(1).int32(1).int32(1).int32(1);
    reply(34, detail); // the root screen is no table: dropped
    auto table = push(std::make_shared<WatchingTable>());
    reply(34, detail);
    EXPECT_EQ(table->details, 1);
    // A card table hands the details on to UIController::showUserInfo, which shows nothing.
    EXPECT_EQ(table->lastDetailText(), "");
}

TEST_F(AccountLogic, ACutShortPlayerDetailShowsNoSheetOfZeros) {
    auto table = push(std::make_shared<WatchingTable>());
    const Bytes cuts[] = {
        Bytes().int32(5).utf("an").int64(2500).int16(1).int32(1).int32(1).int32(1).int32(1), // one short
        Bytes().int32(5).utf("an").int64(2500),
        Bytes().int32(5).byte(0).byte(9).raw({'a'}),
        Bytes().int32(5),
    };
    for (const auto& cut : cuts)
        reply(34, cut);
    EXPECT_EQ(table->details, 0);
    reply(34, Bytes().int32(5).utf("an").int64(2500).int16(1).int32(1).int32(1).int32(1).int32(1).int32(1));
    EXPECT_EQ(table->details, 1);
}

TEST_F(AccountLogic, EachGiftAnswerCostsThePriceOfTheOldestGiftWaiting) {
    ShopViewDetail::setItemPrice(9999); // the panel opened last
    WaitingGifts::add(2500, "lan");
    WaitingGifts::add(700, "minh");
    reply(104, {8});
    EXPECT_EQ(myMoney(), 97500);
    EXPECT_EQ(dialogText(), text("KAVO_PresentCompleted"));
    reply(104, {9});
    EXPECT_EQ(myMoney(), 96800);
    reply(104, {8});
    EXPECT_EQ(myMoney(), 96800);
}

TEST_F(AccountLogic, AGiftLeftUnansweredByAnEndedConnectionCostsNothingLater) {
    WaitingGifts::add(2500, "lan"); // its answer never came
    GlobalLogicHandler::getInstance().onDisconnect();
    run();
    UIController::closeDialog();
    WaitingGifts::add(700, "minh");
    reply(104, {8});
    EXPECT_EQ(myMoney(), 99300) << "the confirmed gift costs its own price";

    // A new sign-in starts with no gift waiting either.
    WaitingGifts::add(4000, "lan");
    reply(3, Bytes().int32(10).int64(50000).int16(0).int32(0));
    WaitingGifts::add(300, "minh");
    reply(104, {8});
    EXPECT_EQ(myMoney(), 49700);
}

// A gift the server refuses comes back as a one-button notice that names the friend it was
// for: the player reads it, the gift costs nothing, and the next answer pays for the gift
// after it. A notice about something else (an avatar he has, a player whose name holds the
// friend's, the maintenance) leaves every gift waiting. The grid on top shows each amount.
TEST_F(AccountLogic, ARefusedGiftCostsNothingAndANoticeAboutSomethingElseLeavesTheGiftsWaiting) {
    auto grid = push(std::make_shared<GameView>());
    WaitingGifts::add(2500, "lan");
    WaitingGifts::add(700, "minh");
    for (const std::string other : {"Bạn đã có ảnh đại diện này", "Không có người chơi lanh", "Bảo trì lúc 2 giờ"}) {
        reply(45, Bytes().byte(0).utf(other));
        EXPECT_EQ(dialogText(), other);
        UIController::closeDialog();
    }
    EXPECT_EQ(myMoney(), 100000);
    reply(45, Bytes().byte(0).utf("Không đủ tiền tặng quà cho Lan"));
    EXPECT_EQ(dialogText(), "Không đủ tiền tặng quà cho Lan") << "the refusal reaches the player";
    EXPECT_EQ(myMoney(), 100000) << "the refused gift costs nothing";
    UIController::closeDialog();
    reply(104, {9});
    EXPECT_EQ(myMoney(), 99300) << "the answer pays for minh's gift, the one after";
    EXPECT_EQ(grid->lblPlayerMoney()->text(), Util::formatNumber(99300));
    EXPECT_EQ(dialogText(), text("KAVO_PresentCompleted"));
    UIController::closeDialog();
    reply(104, {8});
    EXPECT_EQ(myMoney(), 99300) << "no gift waits any more";
}

// A refusal may name the friend first, or anywhere in its text: "lan đã có ảnh đại diện này"
// is lan's gift refused, whatever follows his name, and the next answer pays for minh's. A
// name that only begins a longer word ("lanh") is not his.
TEST_F(AccountLogic, ARefusalThatNamesTheFriendFirstIsHisGiftRefused) {
    auto grid = push(std::make_shared<GameView>());
    for (const std::string refusal : {"lan đã có ảnh đại diện này", "Lan, bạn đã có ảnh này", "Tặng lan: không được"}) {
        SCOPED_TRACE(refusal);
        WaitingGifts::add(2500, "lan");
        WaitingGifts::add(700, "minh");
        reply(45, Bytes().byte(0).utf(refusal));
        EXPECT_EQ(dialogText(), refusal);
        UIController::closeDialog();
        EXPECT_EQ(WaitingGifts::count(), 1u) << "lan's gift was refused";
        const int64_t before = myMoney();
        reply(104, {9});
        EXPECT_EQ(myMoney(), before - 700) << "the answer pays for minh's gift, the one after";
        UIController::closeDialog();
        WaitingGifts::forget();
    }
    WaitingGifts::add(2500, "lan");
    reply(45, Bytes().byte(0).utf("lanh đã có ảnh đại diện này"));
    UIController::closeDialog();
    EXPECT_EQ(WaitingGifts::count(), 1u) << "a longer name is another player's";
}

// The refusal and the next gift's answer are read together, before the main thread turns:
// the refusal's own step lets the refused gift go before the answer takes a price.
TEST_F(AccountLogic, ARefusalReadTogetherWithTheNextGiftsAnswerLeavesThatAnswerItsOwnPrice) {
    auto grid = push(std::make_shared<GameView>());
    WaitingGifts::add(2500, "lan");
    WaitingGifts::add(700, "minh");
    deliver(45, Bytes().byte(0).utf("Không có người chơi lan"));
    deliver(104, {9});
    run();
    EXPECT_EQ(myMoney(), 99300);
    EXPECT_EQ(grid->lblPlayerMoney()->text(), Util::formatNumber(99300));
    EXPECT_EQ(WaitingGifts::count(), 0u);
}

// --------------------------------------------------------------- rankings

TEST_F(AccountLogic, RankingsAppendToTheLeaderboardOnTop) {
    auto board = push(std::make_shared<LeaderboardView>());
    reply(31, Bytes().byte(0).raw(rankedRow(1, "an")).raw({0, 0, 0}));
    reply(31, Bytes().byte(1).raw(rankedRow(2, "bo")).raw({0, 0, 0}));
    ASSERT_EQ(board->listTopRichests().size(), 2u);
    EXPECT_EQ(board->listTopRichests()[1]->name(), "bo");

    reply(30, Bytes().byte(3).byte(0).raw(rankedRow(3, "cu")));
    ASSERT_EQ(board->listTopForGame(3)->size(), 1u);
    EXPECT_EQ((*board->listTopForGame(3))[0]->name(), "cu");
    reply(30, Bytes().byte(20).byte(0).raw(rankedRow(4, "do")));
    EXPECT_EQ(board->listTopForGame(20)->size(), 1u);
}

TEST_F(AccountLogic, StrongestListOfAGameWithoutAListStillReloads) {
    auto board = push(std::make_shared<LeaderboardView>());
    Util::showLoadingOnView(board->tblViewDanhSach()); // a page on its way
    reply(30, Bytes().byte(6).byte(0).raw(rankedRow(3, "cu")));
    EXPECT_TRUE(board->tblViewDanhSach()->isUserInteractionEnabled());
    for (int8_t game : {1, 2, 3, 4, 5, 8, 9, 11, 12, 13, 16, 17, 18, 20}) {
        ASSERT_NE(board->listTopForGame(game), nullptr);
        EXPECT_TRUE(board->listTopForGame(game)->empty()) << int(game);
    }
}

TEST_F(AccountLogic, RankingsForALeaderboardNotOnTopAreDropped) {
    auto board = push(std::make_shared<LeaderboardView>());
    push(std::make_shared<GameView>());
    reply(31, Bytes().byte(0).raw(rankedRow(1, "an")).raw({0, 0, 0}));
    reply(104, Bytes().byte(16).raw(friendRow(1, "an", true)));
    EXPECT_TRUE(board->listTopRichests().empty());
    EXPECT_TRUE(board->listTopRichestsBetweenFriend().empty());
}

TEST_F(AccountLogic, FriendsByMoneyAndByExperienceReplaceTheFriendLists) {
    auto board = push(std::make_shared<LeaderboardView>());
    reply(104, Bytes().byte(16).raw(friendRow(1, "an", true)).raw(friendRow(2, "bo", false)));
    EXPECT_EQ(board->listTopRichestsBetweenFriend().size(), 2u);
    reply(104, Bytes().byte(16).raw(friendRow(3, "cu", false)));
    EXPECT_EQ(board->listTopRichestsBetweenFriend().size(), 1u);
    reply(104, Bytes().byte(20).int32(1).utf("an").int64(1).int16(1).byte(0).utf("x"));
    EXPECT_EQ(board->listTopPlayersBetweenFriends().size(), 1u);
}

// --------------------------------------------------------------- profile

Bytes profileBody(int32_t id) {
    Bytes body;
    body.int32(id).utf("an").int64(5).utf("An").byte(1).boolean(true).int16(1990).utf("").utf("").boolean(false);
    body.utf("").utf("").byte(-1).utf("").byte(1).byte(1).boolean(false).int32(0).boolean(false).utf("").int32(0);
    return body;
}

TEST_F(AccountLogic, ProfileDataGoesToTheProfileOrToTheOpenPlayerPanel) {
    auto profile = push(std::make_shared<ProfileView>());
    reply(1005, profileBody(10));
    ASSERT_NE(profile->userProfile(), nullptr);
    EXPECT_EQ(profile->userProfile()->IDDB(), 10);
    profile->doChangeTab(ProfileView::kTabAchievements);
    for (int game : Profile_AchievementView::kListGameId)
        reply(40, Bytes().byte(3).byte(int8_t(game)).int32(1).int32(2).int32(3).int32(4).int32(5));
    EXPECT_EQ(profile->achievementView()->listGameAchivement().at(4), (std::vector<int32_t>{4, 1, 2, 3, 4, 5}));

    auto grid = push(std::make_shared<GameView>());
    grid->doShowUserInfo(77);
    run();
    reply(1005, profileBody(77));
    const auto& panel = grid->profileSubView();
    ASSERT_NE(panel->subUserDataView()->userData(), nullptr);
    EXPECT_EQ(panel->subUserDataView()->userData()->IDDB(), 77);
    EXPECT_EQ(panel->lbUserName()->text(), "an");
    panel->doChangeTab(ProfileSubView::kTabAchievements);
    for (int game : Profile_AchievementView::kListGameId)
        reply(40, Bytes().byte(5).int32(77).byte(int8_t(game)).int32(1).int32(2).int32(3).int32(4).int32(5).int32(0));
    EXPECT_EQ(panel->subAchievementView()->listGameAchivement().at(9), (std::vector<int32_t>{9, 1, 2, 3, 4, 5}));
    EXPECT_EQ(profile->userProfile()->IDDB(), 10);
}

TEST_F(AccountLogic, ProfilePagesTakeAvatarsItemsEventsAndTransactions) {
    auto profile = push(std::make_shared<ProfileView>());
    profile->doChangeTab(ProfileView::kTabItems);
    profile->doChangeTab(ProfileView::kTabTransactions);
    reply(1010, Bytes().int32(1).int32(10).int32(11).utf("Mèo").utf(""));
    EXPECT_EQ(profile->assetsView()->listBoughtAvatars().size(), 1u);
    reply(101, Bytes().byte(3).int32(7).byte(0).int32(1).int32(90).int32(1).utf("Mũ").int32(100).utf("").boolean(true));
    EXPECT_EQ(profile->assetsView()->listBoughtItems().size(), 1u);
    reply(101, Bytes().byte(16).int32(1).int32(301).utf("Bánh").utf(""));
    EXPECT_EQ(profile->assetsView()->listEventItems().size(), 1u);
    reply(2703, Bytes().int32(2).utf("10:00").utf("+5"));
    EXPECT_EQ(profile->transactionView()->transactionList().size(), 1u);
    EXPECT_TRUE(ShopView::getInstance()->listTransactionLogs().empty());
}

TEST_F(AccountLogic, TransactionsElsewhereGoToTheShop) {
    reply(2703, Bytes().int32(2).utf("10:00").utf("+5").utf("11:00").utf("-3"));
    EXPECT_EQ(ShopView::getInstance()->listTransactionLogs().size(), 2u);
}

TEST_F(AccountLogic, PasswordAndAvatarNotices) {
    platform::UserDefaults::standard().setString("moi", "KAVO_LOGIN_NEWPASS");
    reply(41);
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("KAVO_LOGIN_OLDPASS"), "moi");
    EXPECT_EQ(dialogText(), text("KAVO_changePassSuccess"));
    reply(1003, {0});
    EXPECT_EQ(dialogText(), text("KAVO_changePassUnSuccess"));
    reply(1008, Bytes().int32(4));
    EXPECT_EQ(dialogText(), text("KAVO_Change_Avatar_Success"));
    EXPECT_EQ(UIController::myInfo()->avatar(), 4);
}

TEST_F(AccountLogic, AProfileEditWithoutANewPasswordLeavesTheRememberedOneAndSaysNothing) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString("cu", "KAVO_LOGIN_OLDPASS");
    defaults.setString("cu", "password");
    User edit;
    edit.setFullname("Tran Van An");
    GlobalService::getInstance().updateDateProfileWithUser(edit);
    EXPECT_EQ(defaults.stringForKey("KAVO_LOGIN_NEWPASS"), "");
    reply(41);
    EXPECT_EQ(defaults.stringForKey("KAVO_LOGIN_OLDPASS"), "cu");
    EXPECT_EQ(defaults.stringForKey("password"), "cu");
    EXPECT_EQ(UIController::currentDialog(), nullptr);

    edit.setUNewPass("moi");
    GlobalService::getInstance().updateDateProfileWithUser(edit);
    EXPECT_EQ(defaults.stringForKey("KAVO_LOGIN_NEWPASS"), "moi");
    reply(41);
    EXPECT_EQ(defaults.stringForKey("KAVO_LOGIN_OLDPASS"), "moi");
    EXPECT_EQ(dialogText(), text("KAVO_changePassSuccess"));
    UIController::closeDialog();

    // The next plain edit's answer does not announce that change again.
    edit.setUNewPass("");
    GlobalService::getInstance().updateDateProfileWithUser(edit);
    reply(41);
    EXPECT_EQ(defaults.stringForKey("KAVO_LOGIN_OLDPASS"), "moi");
    EXPECT_EQ(UIController::currentDialog(), nullptr);
}

struct PasswordChangeCase {
    bool remember;
    uint8_t answer;
    const char* rememberedAfter;
    const char* lastSignInAfter;
    const char* dialogKey;
};

TEST_F(AccountLogic, ASuccessfulPasswordChangeIsRememberedOnlyWithTheRememberSwitchOn) {
    const PasswordChangeCase cases[] = {
        {true, 1, "moi", "moi", "KAVO_changePassSuccess"},
        {true, 0, "cu", "cu", "KAVO_changePassUnSuccess"},
        {false, 1, "", "cu", "KAVO_changePassSuccess"},
    };
    for (const auto& c : cases) {
        auto& defaults = platform::UserDefaults::standard();
        defaults.setBool(c.remember, "savednextLogin");
        defaults.setString(c.remember ? "cu" : "", "password");
        defaults.setString("cu", "KAVO_LOGIN_OLDPASS");
        GlobalService::getInstance().updatePasswordWithOldPass("cu", "moi");
        reply(1003, {c.answer});
        EXPECT_EQ(defaults.stringForKey("password"), c.rememberedAfter) << c.remember << int(c.answer);
        EXPECT_EQ(defaults.stringForKey("KAVO_LOGIN_OLDPASS"), c.lastSignInAfter) << c.remember << int(c.answer);
        EXPECT_EQ(dialogText(), text(c.dialogKey));
        UIController::closeDialog();
    }
    // An answer for which no change was asked remembers nothing.
    platform::UserDefaults::standard().setBool(true, "savednextLogin");
    platform::UserDefaults::standard().setString("cu", "password");
    reply(1003, {1});
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("password"), "cu");
}

TEST_F(AccountLogic, ProvinceListAndReportCategoriesAreKept) {
    reply(78, Bytes().byte(3).byte(1).utf("Hà Nội").byte(2).utf("Huế"));
    EXPECT_EQ(Province::getProviceNameWithId(2), "Huế");
    reply(2703, Bytes().int32(0).utf("Gian lận"));
    EXPECT_EQ(Resources::getInstance().listReportCategory(), std::vector<std::string>{"Gian lận"});
    reply(2703, Bytes().int32(1).byte(1));
    EXPECT_EQ(dialogText(), text("KAVO_Report_Complete"));
    reply(2703, Bytes().int32(1).byte(0));
    EXPECT_EQ(dialogText(), text("KAVO_Report_Fail"));
}

// --------------------------------------------------------------- money

TEST_F(AccountLogic, TransferredMoneyUpdatesTheBalanceAndTheTableOnTop) {
    auto table = push(std::make_shared<WatchingTable>());
    reply(17, Bytes().int64(7000000000LL).utf("Đã chuyển"));
    EXPECT_EQ(myMoney(), 7000000000LL);
    ASSERT_EQ(table->moneyUpdates.size(), 1u);
    EXPECT_EQ(table->moneyUpdates[0], (std::pair<int32_t, int64_t>{10, 7000000000LL}));
    EXPECT_EQ(dialogText(), "Đã chuyển");
}

TEST_F(AccountLogic, ACutShortTransferAnswerNeverZeroesTheMoneyNorShowsAnEmptyDialog) {
    auto table = push(std::make_shared<WatchingTable>());
    reply(17, Bytes().byte(0).byte(0).byte(1)); // three bytes of an eight-byte balance
    EXPECT_EQ(myMoney(), 100000);
    EXPECT_TRUE(table->moneyUpdates.empty());
    EXPECT_EQ(UIController::currentDialog(), nullptr);
    reply(17, Bytes());
    EXPECT_EQ(myMoney(), 100000);
    EXPECT_EQ(UIController::currentDialog(), nullptr);

    // The balance came whole but its text was cut: the money is taken, nothing is said.
    reply(17, Bytes().int64(6000).byte(0));
    EXPECT_EQ(myMoney(), 6000);
    ASSERT_EQ(table->moneyUpdates.size(), 1u);
    EXPECT_EQ(table->moneyUpdates[0], (std::pair<int32_t, int64_t>{10, 6000}));
    EXPECT_EQ(UIController::currentDialog(), nullptr);
}

// --------------------------------------------------------------- shop

TEST_F(AccountLogic, ShopListsChangeOnlyWhileTheShopIsOpen) {
    reply(1201, Bytes().int32(1).int32(11).utf("Mèo").int32(500).int32(1).int32(30));
    reply(101, Bytes().byte(2).int32(7).byte(0).int32(1).int32(1).utf("Mũ").int32(100).utf("").boolean(false));
    EXPECT_TRUE(ShopView::getInstance()->listAvatars().empty());
    EXPECT_TRUE(ShopView::getInstance()->listItems().empty());

    root->napZel();
    run();
    reply(1201, Bytes().int32(1).int32(11).utf("Mèo").int32(500).int32(1).int32(30));
    reply(101, Bytes().byte(2).int32(7).byte(0).int32(1).int32(1).utf("Mũ").int32(100).utf("").boolean(false));
    EXPECT_EQ(ShopView::getInstance()->listAvatars().size(), 1u);
    EXPECT_EQ(ShopView::getInstance()->listItems().size(), 1u);
}

TEST_F(AccountLogic, AllItemsAndAllAvatarsAppendToTheShopsRowsInArrivalOrder) {
    reply(101, Bytes().byte(21).int32(1).int32(1).utf("Mũ").int32(100).utf("").boolean(false));
    reply(1203, Bytes().int32(1).int32(11).utf("Mèo").int32(500).int32(30));
    reply(1203, Bytes().int32(1).int32(12).utf("Chó").int32(600).int32(30));
    const auto& rows = ShopView::getInstance()->arrTotal();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name(), "Mũ");
    EXPECT_FALSE(rows[0].isAvatar());
    EXPECT_EQ(rows[2].name(), "Chó");
    EXPECT_TRUE(rows[2].isAvatar());
    EXPECT_TRUE(ShopView::getInstance()->listItems().empty());
}

// An avatar bought while the shop is closed changes nothing but is said; bought in the
// open shop, it is paid. Either way the player wears what he wore: he chooses it in his
// profile.
TEST_F(AccountLogic, AvatarBoughtInTheShopIsPaidNotWornAndWhileItIsClosedOnlySaid) {
    UIController::myInfo()->setAvatar(1);
    for (const bool shopOpen : {false, true}) {
        SCOPED_TRACE(shopOpen ? "shop open" : "shop closed");
        if (shopOpen) root->napZel();
        run();
        auto avatar = std::make_shared<Avatar>();
        avatar->setPrice(3000);
        ShopView::getInstance()->setSelectedItem(ShopEntry::of(avatar));
        reply(1202, Bytes().int32(55));
        EXPECT_EQ(UIController::myInfo()->avatar(), 1);
        EXPECT_EQ(myMoney(), shopOpen ? 97000 : 100000);
        EXPECT_EQ(dialogText(), text("KAVO_buyAvatarOK"));
        UIController::closeDialog();
    }
}

TEST_F(AccountLogic, ItemPurchaseIsPaidAndAFailureCostsNothing) {
    reply(101, Bytes().byte(6).byte(0).int32(1500));
    EXPECT_EQ(myMoney(), 98500);
    EXPECT_EQ(dialogText(), text("KAVO_buyItemOK"));

    reply(101, Bytes().byte(6).byte(1).utf("Không đủ tiền"));
    EXPECT_EQ(dialogText(), "Không đủ tiền");
    EXPECT_EQ(myMoney(), 98500);

    reply(101, Bytes().byte(10).int32(5).byte(1).utf("Không xoá được"));
    EXPECT_EQ(dialogText(), "Không xoá được");
}

// Every refusal the server answers a request with, and every notice it sends, shows as one
// kind of notice: its text, and one button that says OK in the player's language ("Đồng ý",
// "OK"). Nothing is left to cancel once the server has said no.
struct ServerNotice {
    const char* what;
    int16_t command;
    ByteVector body;
};

const ServerNotice kServerNotices[] = {
    {"a refusal", 10, Bytes().utf("Không đủ tiền").data()},
    {"a notice", 45, Bytes().byte(0).utf("Bảo trì lúc 2 giờ").data()},
    {"an item not bought", 101, Bytes().byte(6).byte(1).utf("Hãy chọn vật phẩm trước").data()},
    {"a gift at a table refused", 101, Bytes().byte(7).byte(1).utf("Không đủ tiền tặng quà").data()},
    {"an item not deleted", 101, Bytes().byte(10).int32(5).byte(1).utf("Không xoá được").data()},
    {"a gift not opened", 101, Bytes().byte(17).byte(1).utf("Hết hạn").data()},
    {"a top-up refused", 71, Bytes().byte(2).byte(0).utf("Thẻ này đã được sử dụng").utf("").int64(100000).data()},
    {"a lottery ticket not bought", 1403, Bytes().boolean(false).int32(0).utf("Đã hết giờ mua").data()},
    {"a password not changed", 1003, Bytes().boolean(false).data()},
    {"a name taken", 35, Bytes().utf("moi").boolean(false).utf("").utf("").data()},
};

TEST_F(AccountLogic, EveryRefusalAndNoticeOfTheServerHasOneButtonThatSaysOk) {
    for (const char* language : {"vi", "en"}) {
        Resources::getInstance().setCurrentLanguage(language);
        Resources::getInstance().loadLanguage();
        const std::string ok = text("KAVO_OK");
        for (const ServerNotice& notice : kServerNotices) {
            SCOPED_TRACE(std::string(notice.what) + " in " + language);
            reply(notice.command, notice.body);
            const auto dialog = UIController::currentDialog();
            ASSERT_NE(dialog, nullptr);
            EXPECT_FALSE(dialog->message().empty());
            ASSERT_EQ(dialog->numberOfButtons(), 1);
            EXPECT_EQ(dialog->buttonTitleAtIndex(0), ok);
            UIController::closeDialog();
        }
    }
    Resources::getInstance().setCurrentLanguage("vi");
    Resources::getInstance().loadLanguage();
}

TEST_F(AccountLogic, OpenedGiftAddsItsMoneyOnlyWhenItWorked) {
    reply(101, Bytes().byte(17).byte(0).utf("Được 500").int32(500));
    EXPECT_EQ(myMoney(), 100500);
    EXPECT_EQ(dialogText(), "Được 500");
    reply(101, Bytes().byte(17).byte(1).utf("Hết hạn"));
    EXPECT_EQ(myMoney(), 100500);
    EXPECT_EQ(dialogText(), "Hết hạn");
    UIController::pressOk();
    EXPECT_EQ(myMoney(), 100500);
}

TEST_F(AccountLogic, EachChannelListReplacesTheShopsRowsAndItsPromotionCards) {
    Bytes channels;
    channels.byte(1).byte(3).utf("a").utf("b").utf("c").byte(8).byte(4).utf("d").utf("e").utf("f");
    reply(44, channels);
    reply(44, channels);
    EXPECT_EQ(ShopView::getInstance()->listNapZel().size(), 2u);
    ASSERT_EQ(ShopView::getInstance()->listDiscount().size(), 1u);
    EXPECT_EQ(ShopView::getInstance()->listDiscount()[0]->info(), "d");
    reply(44, Bytes().byte(5).utf("g").utf("").utf(""));
    ASSERT_EQ(ShopView::getInstance()->listNapZel().size(), 1u);
    EXPECT_EQ(ShopView::getInstance()->listNapZel()[0]->info(), "g");
    EXPECT_TRUE(ShopView::getInstance()->listDiscount().empty());
}

// --------------------------------------------------------------- gifts at a table

class GiftAtTable : public AccountLogic {
protected:
    std::shared_ptr<WatchingTable> table = push(std::make_shared<WatchingTable>());

    // The picture cache asks for an item once per process: every test uses new items.
    static int32_t newItem() {
        static int32_t next = 400;
        return ++next;
    }
    static void giftOf(int32_t item) {
        deliver(101, Bytes().byte(7).byte(0).int32(10).int32(item).int32(20));
        run();
    }
};

TEST_F(GiftAtTable, GiftWithItsPictureAtHandShowsAtOnce) {
    const int32_t item = newItem();
    Resources::getInstance().setItemWithImage(sourceFileBytes("resources/images/av0.png"), item);
    giftOf(item);
    ASSERT_EQ(table->gifts.size(), 1u);
    EXPECT_EQ(table->gifts[0], (std::vector<int64_t>{item, 10, 20}));
}

TEST_F(GiftAtTable, GiftWaitsForItsPictureThenShows) {
    const int32_t item = newItem();
    giftOf(item);
    EXPECT_TRUE(table->gifts.empty());
    // The picture was asked for once.
    EXPECT_EQ(env.client().commands(), std::vector<int16_t>{79});
    platform::RunLoop::main().advance(1.0);
    EXPECT_TRUE(table->gifts.empty());
    const ByteVector png = sourceFileBytes("resources/images/av0.png");
    deliver(79, Bytes().byte(4).int32(item).int16(int16_t(png.size())).raw(png));
    run();
    platform::RunLoop::main().advance(0.34);
    ASSERT_EQ(table->gifts.size(), 1u);
    platform::RunLoop::main().advance(20);
    EXPECT_EQ(table->gifts.size(), 1u);
}

TEST_F(GiftAtTable, GiftWhosePictureNeverComesShowsAfterTenSeconds) {
    giftOf(newItem());
    platform::RunLoop::main().advance(9.99);
    EXPECT_TRUE(table->gifts.empty());
    platform::RunLoop::main().advance(0.01);
    ASSERT_EQ(table->gifts.size(), 1u);
    EXPECT_FALSE(table->lastGiftText().empty());
    platform::RunLoop::main().advance(20);
    EXPECT_EQ(table->gifts.size(), 1u);
    EXPECT_LT(platform::RunLoop::main().nextTimerDate(), 0);
}

TEST_F(GiftAtTable, GiftShowsOnWhateverTableIsOnTopWhenItsPictureArrives) {
    giftOf(newItem());
    KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
    run();
    platform::RunLoop::main().advance(11);
    EXPECT_TRUE(table->gifts.empty());
}

// --------------------------------------------------------------- in-app purchase

class Purchase : public AccountLogic {
protected:
    std::shared_ptr<TopupZelView> panel = TopupZelView::make({0, 0, 200, 100});

    Purchase() {
        root->view()->addSubview(panel);
        Util::showLoadingOnView(panel);
    }
    static void answer(int8_t status, const std::string& message, std::optional<int64_t> money) {
        Bytes body;
        body.byte(0).byte(status).utf(message).utf("receipt-9");
        if (money) body.int64(*money);
        reply(71, body);
    }
};

TEST_F(Purchase, SuccessSetsTheNewBalanceAndOkCompletesIt) {
    answer(1, "Nạp thành công", 250000);
    EXPECT_EQ(panel->receiptStringFromServer(), "receipt-9");
    EXPECT_EQ(myMoney(), 250000);
    EXPECT_EQ(openDialogCode(), UIController::kActionPurchaseConfirmed);
    EXPECT_EQ(dialogText(), "Nạp thành công");
    EXPECT_TRUE(panel->isUserInteractionEnabled());
}

TEST_F(Purchase, OtherStatusesShowOnlyCancelAndKeepTheBalance) {
    for (int8_t status : {0, 3}) {
        answer(status, "Thất bại", 250000);
        auto dialog = UIController::currentDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->message(), "Thất bại");
        EXPECT_EQ(dialog->numberOfButtons(), 1);
        EXPECT_EQ(myMoney(), 100000);
    }
    EXPECT_TRUE(panel->isUserInteractionEnabled());
}

TEST_F(Purchase, ASuccessWithoutABalanceLeavesTheMoneyAndStillSaysSo) {
    answer(2, "OK", std::nullopt);
    EXPECT_EQ(myMoney(), 100000);
    EXPECT_EQ(dialogText(), "OK");
    EXPECT_EQ(openDialogCode(), UIController::kActionPurchaseConfirmed);
}

TEST_F(Purchase, AnAnswerWithNoPanelOpenStillSetsTheMoneyAndSaysSo) {
    panel->removeFromSuperview();
    answer(1, "Nạp thành công", 250000);
    EXPECT_EQ(myMoney(), 250000);
    EXPECT_EQ(dialogText(), "Nạp thành công");
    EXPECT_EQ(panel->receiptStringFromServer(), "");
}

// The answer and the OK that completes it look for the panel the same way: only the
// top screen's own subviews count, so a panel held inside another view is not it.
TEST_F(Purchase, OnlyAPanelDirectlyOnTheTopScreenTakesTheAnswer) {
    panel->removeFromSuperview();
    auto holder = std::make_shared<platform::ui::View>();
    holder->addSubview(panel);
    root->view()->addSubview(holder);
    answer(1, "Nạp thành công", 250000);
    EXPECT_EQ(panel->receiptStringFromServer(), "") << "the panel held inside another view is not asked";

    root->view()->addSubview(panel);
    answer(1, "Nạp thành công", 250000);
    EXPECT_EQ(panel->receiptStringFromServer(), "receipt-9");
    EXPECT_EQ(myMoney(), 250000);
}

// --------------------------------------------------------------- lottery

TEST_F(AccountLogic, LotteryRepliesGoToTheLotteryScreenOnTop) {
    auto lotto = push(std::make_shared<LottoView>());
    reply(1400, Bytes().int32(95));
    EXPECT_EQ(lotto->remainTime(), 95);
    EXPECT_TRUE(lotto->isCounting());
    reply(1401, Bytes().int32(12).utf("Kỳ 1"));
    EXPECT_EQ(lotto->btnLastWinning()->currentTitle(), "12");
    reply(1402, Bytes().int32(7).int32(1000).boolean(false));
    EXPECT_EQ(lotto->dataMyHistory().size(), 1u);

    lotto->setSelectedNumber(42);
    reply(1403, Bytes().boolean(true).int32(2000).utf("Đã mua"));
    EXPECT_EQ(dialogText(), "Đã mua");
    reply(1404, Bytes().int32(1).utf("Trúng rồi"));
    EXPECT_EQ(dialogText(), "Trúng rồi");
}

TEST_F(AccountLogic, LotteryRepliesElsewhereGoToTheScreensLotteryPanel) {
    auto grid = push(std::make_shared<GameView>());
    ASSERT_NE(grid->lottoSubView(), nullptr);
    reply(1400, Bytes().int32(30));
    EXPECT_EQ(grid->lottoSubView()->remainTime(), 30);
    reply(1401, Bytes().int32(12).utf("Kỳ 1").int32(13).utf("Kỳ 2"));
    EXPECT_EQ(grid->lottoSubView()->dataLottoHistory().size(), 4u);
    reply(1402, {});
    ASSERT_EQ(grid->lottoSubView()->dataMyHistory().size(), 1u); // the placeholder entry
    EXPECT_EQ(grid->lottoSubView()->dataMyHistory()[0]->number(), -1);
}

// --------------------------------------------------------------- store products and the payment address

TEST(PaymentAddress, ValuesArePercentEncodedIntoThePlaceholders) {
    EXPECT_EQ(GlobalLogicHandler::paymentAddress("http://pay.test/list?u=%@&p=%d&l=%@", "an bình&x=1", 3, "vi"),
              "http://pay.test/list?u=an%20b%C3%ACnh%26x%3D1&p=3&l=vi");
}

TEST(PaymentAddress, ConfiguredTextIsNeverAPrintfFormat) {
    EXPECT_EQ(GlobalLogicHandler::paymentAddress("http://pay.test/%s%n%x%%", "a/b", 1, "en"),
              "http://pay.test/a%2Fb%n1%");
    EXPECT_EQ(GlobalLogicHandler::paymentAddress("http://pay.test/list", "an", 1, "en"), "http://pay.test/list");
}

TEST(StoreProducts, PiecesBecomeProductsOfTheBundle) {
    const auto products =
        GlobalLogicHandler::storeProductsFromAnswer("id=zel1&messenge=1000 Zel;;messenge=no id;id=zel2", "vn.app");
    ASSERT_EQ(products.size(), 2u);
    EXPECT_EQ(products[0]->type(), 5);
    EXPECT_EQ(products[0]->smsContent(), "vn.app.zel1");
    EXPECT_EQ(products[0]->info(), "1000 Zel");
    EXPECT_EQ(products[1]->smsContent(), "vn.app.zel2");
    EXPECT_EQ(products[1]->info(), "");
    EXPECT_TRUE(GlobalLogicHandler::storeProductsFromAnswer(";;", "vn.app").empty());
}

TEST(StoreProducts, ProductsGoInFrontOfTheChannelsLastFirst) {
    auto channel = std::make_shared<ChargeMoneyInfo>(1);
    auto a = std::make_shared<ChargeMoneyInfo>(5);
    auto b = std::make_shared<ChargeMoneyInfo>(5);
    EXPECT_EQ(GlobalLogicHandler::putStoreProductsInFront({channel}, {a, b}), (ChargeMoneyList{b, a, channel}));
}

TEST_F(AccountLogic, StoreProductsAreFetchedWithTheEncodedAddress) {
    TestHttpServer server;
    server.serveText("/store?u=an%20b%C3%ACnh&p=1&l=vi", "id=a&messenge=A;id=b&messenge=B");
    const std::string address =
        GlobalLogicHandler::paymentAddress(server.url("/store") + "?u=%@&p=%d&l=%@", "an bình", 1, "vi");
    std::optional<ChargeMoneyList> products;
    bool done = false;
    GlobalLogicHandler::fetchStoreProducts(address, "vn.app", [&](std::optional<ChargeMoneyList> answer) {
        EXPECT_TRUE(platform::isMainThread());
        products = std::move(answer);
        done = true;
    });
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return done; }, kStateWait));
    ASSERT_TRUE(products);
    ASSERT_EQ(products->size(), 2u);
    EXPECT_EQ((*products)[1]->smsContent(), "vn.app.b");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].path, "/store?u=an%20b%C3%ACnh&p=1&l=vi");
}

TEST_F(AccountLogic, StoreThatFailsGivesNoProducts) {
    TestHttpServer server;
    server.answerStatus(500);
    bool done = false;
    std::optional<ChargeMoneyList> products = ChargeMoneyList{};
    GlobalLogicHandler::fetchStoreProducts(server.url("/store"), "vn.app", [&](std::optional<ChargeMoneyList> answer) {
        products = std::move(answer);
        done = true;
    });
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return done; }, kStateWait));
    EXPECT_FALSE(products);
}

TEST_F(AccountLogic, TopUpPanelGetsItsChannelsEvenWithoutAStoreAnswer) {
    // The configured store address has nobody answering product lists in tests.
    auto panel = TopupZelView::make({0, 0, 100, 100});
    root->view()->addSubview(panel);
    auto channel = std::make_shared<ChargeMoneyInfo>(1);
    GlobalLogicHandler::getInstance().loadInApp({channel});
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return !panel->listMoney().empty(); }, kStateWait));
    EXPECT_EQ(panel->listMoney().back(), channel);
}

} // namespace
} // namespace kavo::test

namespace kavo::test {
namespace {

// --------------------------------------------------------------- registration and recovery answers

// The device is an "iPhone" on 6.1 (it may send text messages); the store switch is
// the configuration's "AppStore" (on) together with the SMS switch.
class SignInAnswers : public AccountLogic {
protected:
    SignInAnswers() {
        platform::SmsComposer::clearRecord();
        auto& defaults = platform::UserDefaults::standard();
        // The machine remembers another account, the switch on; the registration sent "moi"
        // with the password "pw1".
        defaults.setBool(true, "firstTimeRun");
        defaults.setBool(true, "savednextLogin");
        defaults.setString("an", "uname");
        defaults.setString("secret", "password");
        defaults.setString("pw1", GlobalService::kRegisterPasswordKey);
        defaults.setString("quen", "KAVO_FORGET_PASSWORD_USERNAME");
        // The launch turned the SMS switch on; each test says which it wants.
        KavoOnlineAppDelegate::setSwitchOnSMS(false);
    }
    ~SignInAnswers() override {
        platform::SmsComposer::setTestResult(std::nullopt);
        KavoOnlineAppDelegate::setSwitchOnSMS(true);
    }
    static void registerAnswer(bool free) {
        reply(35, Bytes().utf("moi").boolean(free).utf("DK moi").utf("8077"));
        run();
    }
    static void recoveryAnswer(int8_t subId) {
        reply(73, Bytes().byte(subId).utf("MK ?x=1").utf("8177"));
        run();
    }
    static void cannotSendTexts() {
        platform::DeviceFacts facts;
        facts.model = "iPod touch";
        facts.systemVersion = "6.1";
        platform::Device::setForTesting(facts);
    }
    static std::vector<std::string> composed() {
        std::vector<std::string> texts;
        for (const auto& request : platform::SmsComposer::requests())
            texts.push_back(request.body + " -> " + (request.recipients.empty() ? "" : request.recipients[0]));
        return texts;
    }
    static std::string stored(const char* key) { return platform::UserDefaults::standard().stringForKey(key); }
};

TEST_F(SignInAnswers, ATakenNameIsSaidAndNothingIsComposedOrRemembered) {
    platform::SmsComposer::setTestResult(platform::SmsResult::Sent);
    registerAnswer(false);
    EXPECT_EQ(dialogText(), text("KAVO_gameIDAlreadyUsed"));
    EXPECT_TRUE(composed().empty());
    EXPECT_EQ(stored("uname"), "an");
    EXPECT_EQ(stored("password"), "secret");
}

TEST_F(SignInAnswers, WithTheStoreSwitchOnAFreeNameRegistersWithoutAMessage) {
    KavoOnlineAppDelegate::setSwitchOnSMS(true);
    platform::SmsComposer::setTestResult(platform::SmsResult::Sent);
    registerAnswer(true);
    EXPECT_TRUE(composed().empty());
    EXPECT_EQ(UIController::currentDialog(), nullptr);
}

// The account the server opened is the log-in form's remembered one from its answer on,
// whatever becomes of the text message that follows it.
TEST_F(SignInAnswers, TheOpenedAccountIsRememberedWhenItsMessageIsCancelled) {
    platform::SmsComposer::setTestResult(platform::SmsResult::Cancelled);
    registerAnswer(true);
    EXPECT_EQ(composed(), std::vector<std::string>{"DK moi -> 8077"});
    EXPECT_EQ(stored("uname"), "moi");
    EXPECT_EQ(stored("password"), "pw1");
    EXPECT_EQ(dialogText(), text("KAVO_cancelSendMessage"));
}

TEST_F(SignInAnswers, TheOpenedAccountIsRememberedWhenItsMessageIsSent) {
    platform::SmsComposer::setTestResult(platform::SmsResult::Sent);
    registerAnswer(true);
    EXPECT_EQ(stored("uname"), "moi");
    EXPECT_EQ(stored("password"), "pw1");
    EXPECT_EQ(dialogText(), text("KAVO_sendMessageRegistrySuccess"));
}

// With the remember switch off, the new account's name is remembered and no password is
// kept, the new account's or the one remembered before.
TEST_F(SignInAnswers, WithTheSwitchOffTheOpenedAccountLeavesNoPasswordStored) {
    platform::UserDefaults::standard().setBool(false, "savednextLogin");
    KavoOnlineAppDelegate::setSwitchOnSMS(true);
    registerAnswer(true);
    EXPECT_EQ(stored("uname"), "moi");
    EXPECT_EQ(stored("password"), "");
}

TEST_F(SignInAnswers, ADeviceThatCannotSendOffersToCopyTheRegistrationText) {
    cannotSendTexts();
    registerAnswer(true);
    EXPECT_TRUE(composed().empty());
    EXPECT_EQ(openDialogCode(), UIController::kActionCopyText);
    EXPECT_EQ(dialogText(), "Soạn tin DK moi gửi 8077");
    EXPECT_EQ(std::any_cast<std::string>(openDialogAction().context), "DK moi");
}

// The recovery answer tests the store switch the other way round.
TEST_F(SignInAnswers, TheRecoveryMessageIsComposedOnlyWithTheStoreSwitchOn) {
    platform::SmsComposer::setTestResult(platform::SmsResult::Sent);
    recoveryAnswer(1);
    EXPECT_TRUE(composed().empty()) << "store switch off";
    EXPECT_EQ(UIController::currentDialog(), nullptr);

    KavoOnlineAppDelegate::setSwitchOnSMS(true);
    recoveryAnswer(2);
    EXPECT_TRUE(composed().empty()) << "only sub-id 1 is handled";
    recoveryAnswer(1);
    EXPECT_EQ(composed(), std::vector<std::string>{"MK quen -> 8177"});
}

TEST_F(SignInAnswers, ADeviceThatCannotSendShowsTheRecoveryText) {
    KavoOnlineAppDelegate::setSwitchOnSMS(true);
    cannotSendTexts();
    recoveryAnswer(1);
    EXPECT_TRUE(composed().empty());
    EXPECT_EQ(dialogText(), "Soạn tin MK quen gửi 8177");
}

// The new name of a social-network account shows 0.5 s later, on the main loop.
TEST_F(SignInAnswers, ARenameReachesTheGameGridHalfASecondLater) {
    auto grid = push(std::make_shared<GameView>());
    reply(2306, Bytes().int32(501).utf("an_moi"));
    EXPECT_EQ(UIController::myInfo()->name(), "an_moi");
    EXPECT_NE(stored("KAVO_LOGIN_USERNAME_SUCCESS"), "an_moi");
    platform::RunLoop::main().advance(0.49);
    EXPECT_NE(stored("KAVO_LOGIN_USERNAME_SUCCESS"), "an_moi");
    platform::RunLoop::main().advance(0.01);
    EXPECT_EQ(stored("KAVO_LOGIN_USERNAME_SUCCESS"), "an_moi");
    EXPECT_EQ(grid->lblUserName()->text(), "an_moi");
}

} // namespace
} // namespace kavo::test
