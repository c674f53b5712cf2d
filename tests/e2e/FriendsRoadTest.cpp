// The friends road end to end on the manual clock against the test portal: friend
// requests answered from the mailbox's invitation bar, a friend asked by name, feedback
// from the settings panel and the player details sheet at a Caro table.
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/caro/CaroView.h"
#include "lobby/GameView.h"
#include "net/Message.h"
#include "net/MobileClient.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "social/MessageView.h"
#include "social/PlayerDetailView.h"
#include "social/SendMessageView.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

// Reply 34: minh, 1234567 zel, avatar 2, experience 150, then won, lost, drawn, given up.
Message minhsDetails() {
    Bytes detail;
    detail.int32(88).utf("minh").int64(1234567).int16(2);
    for (int32_t value : {150, 3, 4, 5, 6})
        detail.int32(value);
    return detail.message(34);
}

class FriendsRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        portal().onCommand(36, [](Message& request, TestPortal::Reply& reply) {
            const std::string wanted = request.readUTF();
            reply.send(36, Bytes().int32(76).utf(wanted + "x").int32(77).utf(wanted));
        });
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() != 15) return;
            reply.send(32, Bytes().byte(0));
        });
    }

    void signIn() { ASSERT_TRUE(signInToGameGrid()); }
    static std::shared_ptr<GameView> grid() {
        return std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    void run(const std::string& script) { ASSERT_TRUE(drives(script)); }
    // The bodies of the requests of a command, in order.
    std::vector<std::vector<uint8_t>> bodies(int16_t command) {
        std::vector<std::vector<uint8_t>> out;
        for (const auto& message : portal().messages(command))
            out.push_back(message.body);
        return out;
    }
};

TEST_F(FriendsRoad, TwoRequestsAreAnsweredFromTheInvitationList) {
    signIn();
    Bytes requests;
    requests.byte(4).int32(31).utf("Dung").int32(32).utf("em");
    ASSERT_TRUE(portal().sendToClient(requests.message(104)));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return UIController::listMessage().size() == 2; }, 30));
    run("tap id=btnChat\nadvance 0.5\ntap id=btnGanDay\nadvance 0.2\nexpect id=showFriendInviteView");
    EXPECT_EQ(MessageView::getInstance()->countInvites(), 2);
    portal().clearMessages();
    run("tap id=showFriendInviteView\nadvance 0.2\nwait text=em\nwait text=dung\ntap id=btnAccept_Clicked\nadvance "
        "0.2\n"
        "tap id=btnDelete_Clicked\nadvance 0.2");
    // Only the answers: the mailbox's friend-list request (104/5) may reach the portal
    // after the records were cleared.
    const auto answers = [this] {
        auto sent = bodies(104);
        std::erase_if(sent, [](const std::vector<uint8_t>& body) { return body.empty() || body[0] == 5; });
        return sent;
    };
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return answers().size() == 2; }, 30));
    // The last row read comes first in the mailbox.
    EXPECT_EQ(answers(), (std::vector<std::vector<uint8_t>>{{2, 0, 0, 0, 32}, {3, 0, 0, 0, 31}}));
    EXPECT_TRUE(UIController::listMessage().empty());
    // Back takes the mailbox off over the sheet; opened again, it starts on its lists.
    KavoOnlineAppDelegate::getInstance().doBack();
    run("tap id=btnChat\nadvance 0.5\nexpect-not id=btnXoaTatCa\ntap id=btnAddFriend");
}

TEST_F(FriendsRoad, AFriendIsAskedByNameThroughTheSearch) {
    signIn();
    portal().clearMessages();
    run("tap id=btnChat\nadvance 0.5\ntap id=btnAddFriend\nadvance 0.5\ntype id=txtName minh\ntap id=btnAccept\n"
        "advance 0.5");
    // The grid may still be asking for its friend list (104/5): wait for the request itself.
    const std::vector<uint8_t> request{15, 0, 0, 0, 77, 0, 4, 'm', 'i', 'n', 'h'};
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            const auto sent = bodies(104);
            return std::find(sent.begin(), sent.end(), request) != sent.end();
        },
        kStateWait));
    EXPECT_EQ(bodies(36), (std::vector<std::vector<uint8_t>>{{0, 4, 'm', 'i', 'n', 'h'}}));
    // The server's answer is told in a notice whose OK does nothing more, whatever it says.
    for (const auto& [result, key] : std::vector<std::pair<int8_t, const char*>>{
             {0, "KAVO_addFriendOK"}, {2, "KAVO_tooMuchFriend"}, {1, "KAVO_friendExist"}, {3, "KAVO_friendExist"}}) {
        if (result != 0) {
            Message answer(32);
            answer.writeByte(result);
            ASSERT_TRUE(portal().sendToClient(answer));
        }
        ASSERT_TRUE(platform::RunLoop::main().runUntil([key] { return dialogText() == text(key); }, 30)) << key;
        EXPECT_EQ(openDialogCode(), UIController::kActionNone) << key;
        UIController::closeDialog();
    }
}

TEST_F(FriendsRoad, FeedbackGoesFromTheSettingsPanelToTheAdministrators) {
    signIn();
    grid()->clickSetting();
    advance(0.5);
    // The feedback row is the second of the information section, the panel's first.
    run("tap text=" + text("KAVO_Comment") + "\nadvance 0.5\ntype id=txtContent good game\ntap id=btnOK\nadvance 0.5");
    ASSERT_TRUE(waitForCommand(5));
    EXPECT_EQ(bodies(5).front(), (std::vector<uint8_t>{0, 0, 0, 5, 0, 9, 'g', 'o', 'o', 'd', ' ', 'g', 'a', 'm', 'e'}));
    EXPECT_EQ(dialogText(), text("KAVO_thankComment"));
}

TEST_F(FriendsRoad, ADetailReplyAtACaroTableOpensTheDetailsSheet) {
    signIn();
    UIController::setGameType(1);
    auto table = std::make_shared<CaroView>();
    KavoOnlineAppDelegate::getInstance().navigationController()->pushViewController(table, false);
    advance(0.4);
    ASSERT_TRUE(portal().sendToClient(minhsDetails()));
    run("wait text=minh\nadvance 0.5\nexpect text=2 + 25%\nexpect text=1.234.567 " + text("KAVO_zel"));
    ASSERT_TRUE(table->playerDetailView());
    EXPECT_EQ(table->playerDetailView()->view()->superview(), table->view().get());
}

// Two players, one after the other, on one client: an, whose friend is lan, then binh, whose
// friend is minh. Until binh's own list comes, the client lists no friend of his: the shop's
// gift goes to nobody, never to lan; once it comes, it goes to minh alone.
class FriendsOfTheNextPlayer : public FriendsRoad {
protected:
    static constexpr int32_t kBinh = 4343;

    void SetUp() override {
        FriendsRoad::SetUp();
        // The sign-in answers the player the form names.
        portal().onCommand(1, [this](Message& request, TestPortal::Reply& reply) {
            binh_ = request.readUTF() == "binh";
            const int32_t id = binh_ ? kBinh : ClientWorld::kPlayerId;
            reply.send(3, Bytes().int32(id).int64(ClientWorld::kPlayerMoney).int16(3).int32(1500));
        });
        // an's list answers his grid; binh's comes when the test sends it.
        portal().onCommand(104, [this](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() == 5 && !binh_) reply.send(friendList(7001, "lan"));
        });
        // The shop: a card channel and one item, "Hoa hong".
        portal().onCommand(44, [](Message&, TestPortal::Reply& reply) {
            reply.send(44, Bytes().byte(2).byte(1).utf("Thẻ gate").utf("").utf(""));
        });
        answerShopItems();
        portal().onCommand(1203, [](Message&, TestPortal::Reply& reply) { reply.send(1203, Bytes().int32(1)); });
    }

    // The friend list (104 sub 5) of one friend, offline.
    static Message friendList(int32_t id, const std::string& name) {
        return Bytes().byte(5).int32(id).utf(name).int64(500).int16(1).byte(0).utf("").message(104);
    }
    // From the sign-in form to the game grid as `name`.
    static std::string signInAs(const std::string& name) {
        return "type id=txfUsername " + name +
               "\ntype id=txfPassword bimat\ntap id=btnSignIn\nwait text=" + ClientWorld::kServerName +
               "\ntap text=" + ClientWorld::kServerName + "\nscreen GameView\nadvance 0.5\n";
    }
    // The friend-list requests (104 sub 5) the portal has had.
    size_t friendListsAsked() {
        const auto sent = bodies(104);
        return size_t(
            std::count_if(sent.begin(), sent.end(), [](const auto& body) { return !body.empty() && body[0] == 5; }));
    }
    // an signs in and his grid lists lan.
    void anSignsIn() {
        launch();
        run("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\n" + signInAs("an") + "wait text=lan\n");
        ASSERT_EQ(Resources::getInstance().listMyFriends().size(), 1u);
    }
    // binh, signed in after an, finds the shop's gift to nobody until his list comes, then
    // to minh alone.
    void binhGivesOnlyToHisOwnFriends() {
        const size_t asked = friendListsAsked();
        run(signInAs("binh"));
        ASSERT_TRUE(UIController::myInfo());
        ASSERT_EQ(UIController::myInfo()->IDDB(), kBinh);
        // His grid asks for his list; the server has not answered yet.
        ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return friendListsAsked() > asked; }, kStateWait));
        EXPECT_TRUE(Resources::getInstance().listMyFriends().empty()) << "none of an's friends is binh's";
        const std::string gift =
            "tap id=tile10000\nwait id=doPresent\ntap id=doPresent\nadvance 0.5\nexpect id=wView\n";
        run("tap id=btnNapZel\nwait id=ShopView\ntap id=btnVatPham\nwait id=tile10000\nadvance 0.5\n" + gift +
            "expect-not id=presentFriend0\nexpect-not text=lan\ntap id=hideThisView\nadvance 0.5\n");

        ASSERT_TRUE(portal().sendToClient(friendList(7002, "minh")));
        ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return !Resources::getInstance().listMyFriends().empty(); },
                                                       kStateWait));
        run(gift + "expect text=minh\nexpect-not id=presentFriend1\nexpect-not text=lan\n");
    }

    std::atomic<bool> binh_{false};
};

// an signs out from the settings, as a player does, and binh signs in on the same client.
TEST_F(FriendsOfTheNextPlayer, AfterASignOutTheNextPlayersGiftGoesOnlyToHisOwnFriends) {
    anSignsIn();
    run("tap id=clickSetting\nadvance 0.5\ntap text=" + text("KAVO_logout") + "\nscreen LoginView\nadvance 1\n");
    EXPECT_TRUE(Resources::getInstance().listMyFriends().empty())
        << "signed out, the client lists none of an's friends";
    binhGivesOnlyToHisOwnFriends();
}

// an's connection ends without a word (the client's own quiet end, as when a server is picked
// again) and binh signs in on the same client, started again in the same process.
TEST_F(FriendsOfTheNextPlayer, AfterAQuietEndTheNextPlayersGiftGoesOnlyToHisOwnFriends) {
    anSignsIn();
    MobileClient::getInstance().manualDisconnect();
    ASSERT_TRUE(portal().waitForClientGone(kStateWait));
    launch();
    run("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\n");
    binhGivesOnlyToHisOwnFriends();
}

class FriendScreens : public FriendsRoad, public ::testing::WithParamInterface<platform::ui::Idiom> {};

TEST_P(FriendScreens, ShotsOfTheFriendSheets) {
    platform::ui::Screen::setIdiom(GetParam());
    signIn();
    const std::string idiom = GetParam() == platform::ui::Idiom::Tablet ? "tablet" : "phone";
    const std::filesystem::path folder = std::filesystem::current_path() / "screenshots";
    std::filesystem::create_directories(folder);
    const auto shot = [&](const std::string& name) {
        return (folder / ("friends-" + name + "-" + idiom + ".png")).string();
    };
    Bytes requests;
    requests.byte(4);
    for (int32_t id : {31, 32, 33}) {
        requests.int32(id).utf("ban" + std::to_string(id));
    }
    ASSERT_TRUE(portal().sendToClient(requests.message(104)));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return UIController::listMessage().size() == 3; }, 30));
    run("tap id=btnChat\nadvance 0.5\ntap id=btnGanDay\nadvance 0.2\ntap id=showFriendInviteView\nadvance 0.5\n"
        "wait text=ban31\nshot " +
        shot("invitations") +
        "\ntap id=doCloseThisView#2\ntap id=btnAddFriend\n"
        "advance 0.5\ntype id=txtName minh\nshot " +
        shot("addfriend") +
        "\ntap id=btnCancel\nadvance 0.5\n"
        "tap id=doCloseThisView\nadvance 0.5");
    grid()->showGopY();
    run("advance 0.5\ntype id=txtContent good game\nshot " + shot("feedback") + "\ntap id=onCancel\nadvance 0.5");

    UIController::setGameType(1);
    auto table = std::make_shared<CaroView>();
    KavoOnlineAppDelegate::getInstance().navigationController()->pushViewController(table, false);
    advance(0.4);
    ASSERT_TRUE(portal().sendToClient(minhsDetails()));
    run("wait text=minh\nadvance 0.5\nshot " + shot("details"));
    table->playerDetailView()->slideOut();
    advance(0.5);

    const platform::ui::Rect frame = GetParam() == platform::ui::Idiom::Tablet ? platform::ui::Rect{150, 150, 740, 389}
                                                                               : platform::ui::Rect{60, 100, 370, 162};
    auto panel = SendMessageView::make(frame);
    table->view()->addSubview(panel);
    panel->txtTo()->setText("an; binh");
    panel->txvContent()->setText("hen gap lai :)");
    run("advance 0.5\nshot " + shot("compose"));
    for (const char* name : {"invitations", "addfriend", "feedback", "details", "compose"})
        EXPECT_TRUE(std::filesystem::exists(shot(name))) << name;
}

INSTANTIATE_TEST_SUITE_P(Idioms, FriendScreens,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
} // namespace kavo::test
