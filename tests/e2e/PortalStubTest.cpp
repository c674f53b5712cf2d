// The local portal stub (tools/portal-stub) as a person uses it: the client signs in on
// it and reaches a game's board list; the user "banned" is refused with a reason; the
// social-network log-in passes the stub's login page and signs in as its player.
#include "account/ShopView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/CoTuongView.h"
#include "lobby/ServerView.h"
#include "platform/automation/ViewQuery.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/HttpClient.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PaymentQueue.h"
#include "platform/services/UrlOpener.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalService.h"
#include "portal/model/KavoMessage.h"
#include "social/MessageView.h"
#include "table/base/ChessPlayer.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StubDrive.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/Sockets.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

using namespace kavo;
using namespace kavo::test;

namespace {

class PortalStub : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
    }
    std::string signIn(const std::string& user, const std::string& server = "Stub") {
        return "screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername " + user +
               "\ntype id=txfPassword 123\ntap id=btnSignIn\nwait text=" + server + "\ntap text=" + server + "\n";
    }
    StubProcess stub_;
};

TEST_F(PortalStub, ServesTheServerListAndItsPages) {
    auto list = platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/servers.txt")));
    EXPECT_EQ(list.status, 200);
    EXPECT_EQ(list.body, "Kavo Local|127.0.0.1:" + std::to_string(stub_.port()));
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/event.html"))).status, 200);
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/guide.html"))).status, 200);
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/payment.txt"))).status, 200);
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/more-games-en.html"))).status, 200);
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(stub_.url("/other"))).status, 404);
}

TEST_F(PortalStub, AnyPlayerSignsInAndReachesTheBoardListOfAGame) {
    launch();
    ASSERT_TRUE(drives(signIn("khach") +
                       "screen GameView 30\nadvance 0.5\ntap id=btnTLMN\nscreen BoardView 30\nadvance 0.5\n"));
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [] { return GlobalLogicHandler::getInstance().boardList().size() == 6; }, 30))
        << "the stub's six boards arrive";
    EXPECT_EQ(UIController::gameType(), 3);
}

TEST_F(PortalStub, AStoreTopUpAndACardTopUpRaiseThePlayersMoney) {
    platform::PaymentQueue::defaultQueue().resetForTesting();
    platform::PaymentQueue::setOutcome(platform::StoreOutcome::Purchased);
    launch();
    ASSERT_TRUE(drives(signIn("nap") + "screen GameView 30\nadvance 0.5\ntap id=btnNapZel\nwait text=Thẻ gate\n"));
    // The store rows follow the SMS and card rows: scrolled into sight as a finger would.
    ShopView::getInstance()
        ->tableOfTab(ShopView::kTabNapZel)
        ->scrollToRow({0, 5}, platform::ui::TableViewScrollPosition::Top, false);
    ASSERT_TRUE(drives("wait text=20.000 Zel\ntap text=20.000 Zel\nwait contains=Nạp thành công 20.000 Zel\n"));
    EXPECT_EQ(UIController::myInfo()->money(), 1020000);
    UIController::closeDialog();
    ShopView::getInstance()
        ->tableOfTab(ShopView::kTabNapZel)
        ->scrollToRow({0, 0}, platform::ui::TableViewScrollPosition::Top, false);
    ASSERT_TRUE(drives("tap text=Thẻ gate\ntype id=txfSeriesNumber 111\ntype id=txfPinCode 222\ntap id=btnTopup\n"
                       "wait text=Nạp thẻ thành công 50.000 Zel\n"));
    EXPECT_EQ(UIController::myInfo()->money(), 1070000);
    platform::PaymentQueue::defaultQueue().resetForTesting();

    // The next table seats me with that balance, and the grid shows it when I come back.
    UIController::closeDialog();
    // A tap beside the card panel closes it (the dimmed background's centre lies under it).
    auto selector = platform::automation::Selector::parse("id=btnBG");
    auto* beside = dynamic_cast<platform::ui::Button*>(platform::automation::ViewQuery::find(*selector));
    ASSERT_TRUE(beside);
    beside->sendActions(platform::ui::ControlEvent::TouchUpInside);
    const std::string balance = Util::formatNumber(1070000);
    ASSERT_TRUE(drives("tap id=doCloseThisView\nadvance 0.5\ntap id=btnTLMN\nscreen BoardView 30\n"
                       "advance 0.5\nwait text=100 zel 30\ntap text=100 zel\nscreen TienLenView 30\nadvance 1\n"
                       "wait text=" +
                       balance + " Zel 10\n"));
    EXPECT_EQ(UIController::myInfo()->money(), 1070000) << "the join carries the balance";
    // No hand was played: leaving asks nothing.
    EXPECT_TRUE(drives("tap id=btnBack\nscreen BoardView 30\nadvance 0.5\ntap id=btnBack\nscreen GameView 30\n"
                       "advance 0.5\nwait text=" +
                       balance + " 30\n"));
}

// What the stub refuses reaches the player, and his money stays: a card typed again once it
// was added is refused as used, and an avatar he has, bought again, is refused; the shop
// keeps the balance the first of each left, and the grid shows it when he comes back.
TEST_F(PortalStub, ACardTypedAgainAndAnAvatarHeHasAreRefusedAndHisMoneyStays) {
    launch();
    ASSERT_TRUE(drives(signIn("lai") + "screen GameView 30\nadvance 0.5\ntap id=btnNapZel\nwait text=Thẻ gate\n"));
    const std::string card = "type id=txfSeriesNumber 111\ntype id=txfPinCode 222\ntap id=btnTopup\n";
    ASSERT_TRUE(drives("tap text=Thẻ gate\n" + card + "wait text=Nạp thẻ thành công 50.000 Zel\n"));
    EXPECT_EQ(UIController::myInfo()->money(), 1050000);
    UIController::closeDialog();
    ASSERT_TRUE(drives(card + "wait text=Thẻ này đã được sử dụng 30\n"));
    EXPECT_EQ(UIController::myInfo()->money(), 1050000) << "the card typed again added nothing";
    UIController::closeDialog();
    auto selector = platform::automation::Selector::parse("id=btnBG");
    auto* beside = dynamic_cast<platform::ui::Button*>(platform::automation::ViewQuery::find(*selector));
    ASSERT_TRUE(beside);
    beside->sendActions(platform::ui::ControlEvent::TouchUpInside);

    // The avatars follow the items: once they came, scrolled into sight as a finger would.
    ASSERT_TRUE(drives("tap id=btnVatPham\nwait text=Vật phẩm 100 30\n"));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return ShopView::getInstance()->arrTotal().size() >= 8; }, 30));
    advance(0.1);
    ShopView::getInstance()
        ->tableOfTab(ShopView::kTabVatPham)
        ->scrollToRow({0, 6}, platform::ui::TableViewScrollPosition::Top, false);
    const std::string ok = "tap text=" + text("KAVO_OK") + "\n";
    const std::string buy = "tap text=Avatar 22\nwait text=" + text("KAVO_Items_Question") + " 30\n" + ok;
    ASSERT_TRUE(drives(buy + "wait text=" + text("KAVO_buyAvatarOK") + " 30\n" + ok));
    EXPECT_EQ(UIController::myInfo()->money(), 1047000);
    ASSERT_TRUE(drives(buy + "wait text=Bạn đã có ảnh đại diện này 30\n" + ok));
    EXPECT_EQ(UIController::myInfo()->money(), 1047000) << "the avatar he has was not paid for again";
    ASSERT_TRUE(drives("tap id=doCloseThisView\nadvance 0.5\nwait text=" + Util::formatNumber(1047000) + " 30\n"));
}

// The shop's two refusals read as every other notice does, their one button the OK word: a
// card typed again once it was added, and a purchase with an empty cart. The button closes
// the notice, as a finger presses it.
TEST_F(PortalStub, TheShopsRefusalsAreNoticesWhoseOneButtonSaysOk) {
    const auto onlyOk = [] {
        const auto dialog = UIController::currentDialog();
        return dialog && dialog->numberOfButtons() == 1 && dialog->buttonTitleAtIndex(0) == text("KAVO_OK");
    };
    const std::string ok = "tap text=" + text("KAVO_OK") + "\n";
    launch();
    ASSERT_TRUE(
        drives(signIn("tuchoi") + "screen GameView 30\nadvance 0.5\ntap id=btnNapZel\nwait text=Thẻ gate 30\n"));
    const std::string card = "type id=txfSeriesNumber 333\ntype id=txfPinCode 444\ntap id=btnTopup\n";
    ASSERT_TRUE(drives("tap text=Thẻ gate\n" + card + "wait text=Nạp thẻ thành công 50.000 Zel 30\n" + ok));
    ASSERT_TRUE(drives(card + "wait text=Thẻ này đã được sử dụng 30\n"));
    EXPECT_TRUE(onlyOk()) << "a card used";
    ASSERT_TRUE(drives(ok));
    EXPECT_EQ(UIController::currentDialog(), nullptr);
    auto selector = platform::automation::Selector::parse("id=btnBG");
    auto* beside = dynamic_cast<platform::ui::Button*>(platform::automation::ViewQuery::find(*selector));
    ASSERT_TRUE(beside);
    beside->sendActions(platform::ui::ControlEvent::TouchUpInside);

    ASSERT_TRUE(drives("tap id=btnVatPham\nwait text=Vật phẩm 100 30\nadvance 0.5\ntap id=viewVatPham_btnMuaNgay\n"
                       "wait text=Hãy chọn vật phẩm trước 30\n"));
    EXPECT_TRUE(onlyOk()) << "an empty cart";
    ASSERT_TRUE(drives(ok));
    EXPECT_EQ(UIController::currentDialog(), nullptr);
}

// The welcome and the maintenance notice are a person's new mail once: a player who
// quits and comes back finds one of each in the stored mailbox.
TEST_F(PortalStub, ThreeSignInsLeaveOneWelcomeAndOneMaintenanceNoticeInTheStoredMailbox) {
    for (int round = 1; round <= 3; ++round) {
        // The client starts afresh each time (quit without leaving the grid), listed
        // under the name the stub's own list gives, which a sign-in stores.
        storeServerList("Kavo Local|127.0.0.1:" + std::to_string(stub_.port()));
        launch();
        ASSERT_TRUE(drives(signIn("thu", "Kavo Local") + "screen GameView 30\n")) << "sign-in " << round;
        // The mail has come when dung's invitation, sent after the notices, has.
        ASSERT_TRUE(platform::RunLoop::main().runUntil(
            [] { return !UIController::listMessageWithFilter(KavoMessage::kTypeFriendRequest).empty(); }, kStateWait));
        advance(1.0);
        const platform::Value stored = platform::UserDefaults::standard().objectForKey(
            UIController::listMessageKey(UIController::myInfo()->IDDB()));
        auto mails = KavoMessage::unarchiveList(stored.dataValue());
        ASSERT_TRUE(mails);
        for (const char* notice : {"Chào mừng đến Kavo Online!", "Bảo trì lúc 2 giờ sáng"})
            EXPECT_EQ(std::count_if(mails->begin(), mails->end(),
                                    [&](const auto& mail) { return mail->message() == notice; }),
                      1)
                << notice << " after sign-in " << round;
    }
}

TEST_F(PortalStub, TheSocialNetworkLogInArrivesAtTheGameGridAsTheStubsPlayer) {
    // The bundle's login host becomes the stub's pages.
    std::string info = ClientWorld::get().bundlePath() + "/Info.plist";
    auto plist = platform::PropertyList::readFile(info);
    plist.set("SocialNetDialogURL", stub_.url(""));
    platform::PropertyList::writeFile(info, plist);
    platform::Bundle::main().setMainPath(ClientWorld::get().bundlePath());
    launch();
    ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\ntap id=btnLoginSN\nwait text=Stub\ntap text=Stub\n"));
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [] { return UIController::myInfo() && UIController::myInfo()->name() == "sn1"; }, kStateWait))
        << "the stub names the player after its token";
    EXPECT_TRUE(drives("screen GameView 30\n"));
}

// "an" answers a private line with a line of his own, which the chat keeps.
TEST_F(PortalStub, TheMailboxShowsTheStubsFriendsAndMailAndAnAnswers) {
    const std::string answer = "Chào bạn! Mình đang dở ván, lát nói chuyện nhé.";
    launch();
    ASSERT_TRUE(drives(signIn("khach") +
                       "screen GameView 30\nadvance 0.5\ntap id=btnChat\nwait text=chi#2\nadvance 0.5\n"
                       "tap id=btnGanDay\nadvance 0.2\nexpect id=showMessageFromAdmin\nexpect id=showFriendInviteView\n"
                       "tap id=btnBanBe\nadvance 0.2\ntap text=an#2\ntype id=txtChat xin chao\ntap id=btnSend\n"
                       "advance 0.2\ntap text=an#2\nwait text=" +
                       answer +
                       "\ntap id=doCloseThisView\ntap id=btnChat\nwait text=chi#2\nadvance 0.5\ntap text=an#2\n" +
                       "wait text=xin chao\nwait text=" + answer));
}

// Accepted, dung is among the friends ("Bạn bè") at once, without a new sign-in.
TEST_F(PortalStub, DungsRequestIsAcceptedAndHeIsAFriendAtOnceAndAFriendIsAskedByName) {
    launch();
    ASSERT_TRUE(drives(signIn("khach") +
                       "screen GameView 30\nadvance 0.5\ntap id=btnChat\nwait text=chi#2\nadvance 0.5\n"
                       "tap id=btnGanDay\nadvance 0.2\ntap id=showFriendInviteView\nadvance 0.5\nwait text=dung\n"
                       "tap id=btnAccept_Clicked\nadvance 0.5\ntap id=doCloseThisView#2\ntap id=btnBanBe\n"
                       "advance 0.2\nwait text=dung 30\n"));
    const auto friends = MessageView::getInstance()->listAllFriends();
    EXPECT_TRUE(std::any_of(friends.begin(), friends.end(), [](const auto& player) {
        return player->name() == "dung";
    })) << "dung joined the mailbox's friends";
    ASSERT_TRUE(drives("tap id=btnAddFriend\nadvance 0.5\ntype id=txtName andrea\ntap id=btnAccept\nadvance 0.5\n"
                       "wait text=" +
                       text("KAVO_addFriendOK") + "\n"));
    // At the next sign-ins dung is still a friend and his invitation does not come again.
    for (int again = 1; again <= 2; ++again) {
        UIController::closeDialog();
        UIController::flushListMessage(); // as the client does at its exit
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
        launch();
        ASSERT_TRUE(drives(signIn("khach") + "screen GameView 30\nadvance 0.5\ntap id=btnChat\nwait text=dung 30\n"
                                             "advance 0.5\ntap id=btnGanDay\nadvance 0.5\n"))
            << "sign-in " << again;
        EXPECT_EQ(MessageView::getInstance()->countInvites(), 0) << "sign-in " << again;
        const auto mail = UIController::listMessage();
        EXPECT_EQ(std::count_if(mail.begin(), mail.end(), [](const auto& m) { return m->isRequestAddFriend(); }), 0)
            << "sign-in " << again;
    }
}

// Recovery is answered with the text message to send, which the client shows; a taken
// name's registration is answered as taken.
TEST_F(PortalStub, RecoveryShowsItsTextMessageAndATakenNameIsToldSo) {
    // Recovery asks the server that last accepted the client: the stub.
    platform::UserDefaults::standard().setString("127.0.0.1", ServerView::kIpServerKey);
    platform::UserDefaults::standard().setInt(stub_.port(), ServerView::kPortServerKey);
    launch();
    ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\ntap id=lblForgetPassword\ntype id=txfUsername moi\n"
                       "tap id=btnSend\nwait text=" +
                       text("KAVO_confirmGetPassword") + "\n"));
    // Yes asks for the text message once the stub has accepted the client.
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return GlobalService::isConnected(); }, kStateWait));
    ASSERT_TRUE(drives("tap text=" + text("KAVO_yes") + "\nwait contains=KAVO MK moi 30\nexpect contains=8777\n"));
    UIController::closeDialog();
    launch();
    EXPECT_TRUE(drives("screen LoginView\nadvance 0.1\ntap id=btnRegister_Clicked\ntype id=txfUsername lan\n"
                       "type id=txfPassword pw1\ntype id=txfRetypePwd pw1\ntap id=btnRegister\nwait text=" +
                       text("KAVO_gameIDAlreadyUsed") + " 30\n"));
}

// "Trò chơi khác" on the grid asks the stub for the more-games address (72, key 3): its
// answer shows the grid's question, and no connection notice follows it once the wait's
// five seconds are over; OK opens the stub's page, which says what games there are.
TEST_F(PortalStub, TheGridsMoreGamesShowsItsQuestionAndOkOpensTheStubsPage) {
    std::vector<std::string> opened;
    platform::UrlOpener::setBrowserLauncher([&opened](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    struct Restore {
        ~Restore() { platform::UrlOpener::setBrowserLauncher(nullptr); }
    } restore;
    launch();
    ASSERT_TRUE(drives(signIn("khach") + "screen GameView 30\nadvance 0.5\ndrag id=scrollView 0 -300\nadvance 1\n" +
                       "expect text=" + text("KAVO_moreGames") +
                       "\ntap id=btnGameKhac\nwait text=" + text("KAVO_notice") + " 30\nadvance 6\n"));
    EXPECT_TRUE(drives("expect text=" + text("KAVO_notice") + "\nexpect-not text=" + text("KAVO_connectFail") + "\n"));
    ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\nadvance 0.5\n"));
    ASSERT_EQ(opened, std::vector<std::string>{stub_.url("/more-games.html")});
    EXPECT_EQ(dialogText(), "") << "the browser shows the page: nothing more to say";
    const auto page = platform::HttpClient::perform(platform::HttpRequest::get(opened.back()));
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.body.find("<h1>Trò chơi khác</h1>"), std::string::npos) << page.body;
    EXPECT_NE(page.body.find("Cờ tướng"), std::string::npos) << "a game the stub plays is named";
}

// On a machine without a browser the question's OK tells the player, in his language, that
// the page cannot be opened here, with its address.
TEST_F(PortalStub, WithoutABrowserTheMoreGamesOkSaysThePageCannotBeOpenedWithItsAddress) {
    platform::UrlOpener::setBrowserLauncher([](const std::string&) { return false; });
    struct Restore {
        ~Restore() { platform::UrlOpener::setBrowserLauncher(nullptr); }
    } restore;
    launch();
    ASSERT_TRUE(drives(signIn("khach") + "screen GameView 30\nadvance 0.5\ndrag id=scrollView 0 -300\nadvance 1\n" +
                       "tap id=btnGameKhac\nwait text=" + text("KAVO_notice") + " 30\n"));
    ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\nwait text=Máy này không mở được trang " +
                       stub_.url("/more-games.html") + " 30\n"));
}

TEST_F(PortalStub, TheUserBannedIsRefusedWithAReason) {
    launch();
    EXPECT_TRUE(drives(signIn("banned") + "wait contains=Tài khoản này đã bị khoá 30\nscreen LoginView 30\n"));
}

TEST_F(PortalStub, ThePlayerSitsAtAChineseChessBoardStartsAndMovesAndTheStubAnswers) {
    const auto [first, rest] = splitScriptAt(stubDriveScript("cotuong.drive"), "# Resign the first game");
    ASSERT_NE(first.find("tap id=btnStart"), std::string::npos) << "the script was read";
    ASSERT_NE(rest.find("tap id=btnLose"), std::string::npos);
    launch();
    ASSERT_TRUE(drives(first));
    auto table = GameController::getCoTuongView();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->black(), "khach") << "the player moves first and plays black";
    EXPECT_TRUE(table->board()->getUnitAtPoint(4, 2)) << "my cannon moved to the centre file";
    // The stub player answers a second after my move.
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            advance(0.1);
            return table->turn() == UIController::myInfo()->IDDB();
        },
        kStateWait))
        << "the stub player's reply came back";
    advance(0.5);
    EXPECT_EQ(table->board()->getAllPieces().size(), 31u) << "its first allowed move takes a piece";
    EXPECT_NE(table->lblQuotaTime2()->text(), "15:00") << "the stub player's clock ran while it thought";

    // I resign; the stub player gets ready again and opens the second game.
    ASSERT_TRUE(drives(rest));
    EXPECT_EQ(table->black(), "may") << "the first move alternates: the stub player opened the second game";
    EXPECT_TRUE(table->board()->getUnitAtPoint(4, 2)) << "my cannon moved to the centre file again";
}

} // namespace

namespace {

TEST_F(PortalStub, RankingsProfileAndTransferAreServed) {
    launch();
    ASSERT_TRUE(drives(signIn("khach") +
                       "screen GameView 30\nadvance 0.5\ntap id=doShowLeaderboard\nscreen LeaderboardView 30\n"
                       "advance 0.5\nwait text=an 30\n"));
    KavoOnlineAppDelegate::getInstance().navigationController()->popViewController(false);
    // An avatar bought (1,000 Zel) is among the profile's avatars.
    GlobalService::getInstance().buyAvatarWithId(20);
    ASSERT_TRUE(
        platform::RunLoop::main().runUntil([] { return UIController::currentDialog() != nullptr; }, kStateWait));
    UIController::closeDialog();
    ASSERT_TRUE(drives("advance 0.5\ntap id=doShowProfileView\nscreen ProfileView 30\nadvance 0.5\n"
                       "wait text=khach 30\ntap id=btnItems\nadvance 0.1\nwait text=Avatar 20 30\n"
                       "tap id=showTransferZel\nadvance 0.5\ntype id=txtName binh\ntype id=txtMoney 20000\n"
                       "tap id=btnOK\nadvance 0.5\nwait contains=Đã chuyển 20.000 Zel cho binh 30\n"
                       "tap text=" +
                       text("KAVO_OK") +
                       "\ntap id=btnTransaction\nadvance 0.1\n"
                       "wait text=Chuyển cho binh (-20.000 Zel) 30\n"));
    EXPECT_EQ(UIController::myInfo()->money(), 1000000 - 1000 - 20000) << "the stub keeps the player's money";
}

} // namespace

namespace {

TEST_F(PortalStub, LotteryPasswordAndAFriendsProfileAreServed) {
    launch();
    ASSERT_TRUE(drives(signIn("khach") +
                       "screen GameView 30\nadvance 0.5\ntap id=showLottoSubView\nadvance 0.5\n"
                       "wait contains=Kỳ 30\ntype id=txfNumber 42\ntype id=txfMoney 600\ntap id=clickBuyLotto\n"
                       "wait contains=Đã mua số 42 30\n"));
    UIController::closeDialog();
    ASSERT_TRUE(drives("advance 0.5\nwait text=42 : 600 ZEL 30\ntap id=slideOut\nadvance 0.5\nwait text=an 30\n"
                       "tap text=an\nadvance 0.5\nwait contains=Zel 30\n"));
    EXPECT_TRUE(drives(
        "tap id=doClose\nadvance 0.5\ntap id=clickSetting\nadvance 0.5\ntap text=" + text("KAVO_ChangePassword") +
        "\nadvance 0.5\ntype id=txtOldPass 123\ntype id=txtNewPass 456\ntype id=txtConfirmNewPass 456\n"
        "tap id=onChangePass\nwait text=" +
        text("KAVO_changePassSuccess") + " 30\n"));
}

} // namespace
