// The messages screen on the headless client: header counts, friend rows, panels,
// deleting, the recent tab and removing all mail.
#include "app/UIController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Image.h"
#include "portal/GlobalLogicHandler.h"
#include "social/ChatDatabase.h"
#include "social/ChatView.h"
#include "social/MessageView.h"
#include "tests/support/client/OpenDialog.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

std::shared_ptr<KavoMessage> mail(int32_t type, const std::string& from, const std::string& text, bool invite = false,
                                  int32_t fromId = 0) {
    auto message = std::make_shared<KavoMessage>();
    message->setType(type);
    message->setFromName(from);
    message->setFromID(fromId);
    message->setMessage(text);
    message->setIsRequestAddFriend(invite ? 1 : 0);
    message->setTime(1765000000000LL);
    return message;
}

std::shared_ptr<Player> buddy(int32_t id, const std::string& name, bool online) {
    auto player = std::make_shared<Player>();
    player->setIDDB(id);
    player->setName(name);
    player->setIsReady(online ? 1 : 0);
    player->setAvatar(1);
    return player;
}

class MessageScreen : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        UIController::myInfo()->setIDDB(4242);
        UIController::myInfo()->setName("toi");
    }
    std::shared_ptr<MessageView> open() {
        auto screen = std::make_shared<MessageView>();
        push(screen);
        runMainThread();
        return screen;
    }
    void giveFriends(MessageView& screen) {
        screen.set_listAllFriends({buddy(201, "an", true), buddy(202, "binh", false)});
        screen.forceReloadFriendList();
    }
    static std::string statusOf(MessageView& screen, int row) {
        auto cell = screen.tblView()->cellForRow({0, row});
        if (!cell) return "";
        auto* status = dynamic_cast<platform::ui::ImageView*>(cell->contentView()->viewWithTag(102));
        return status && status->image() ? status->image()->name() : "";
    }
};

// Each kind of mail present gets one bar of 33 points, in a fixed order, on the recent tab only.
TEST_F(MessageScreen, HeaderHasABarForEachKindOfMailEveryTimeItComesIntoView) {
    const struct {
        int invites, admin, system;
    } cases[] = {{3, 1, 2}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {1, 0, 1}, {0, 2, 1}};
    auto screen = open();
    for (const auto& c : cases) {
        KavoMessageList box;
        std::vector<std::string> bars;
        for (int i = 0; i < c.invites; ++i)
            box.push_back(mail(3, "dung", "x", true));
        for (int i = 0; i < c.admin; ++i)
            box.push_back(mail(3, "admin", "a"));
        for (int i = 0; i < c.system; ++i)
            box.push_back(mail(0, "admin", "b"));
        for (const auto& [count, bar] : {std::pair{c.invites, "showFriendInviteView"},
                                         {c.admin, "showMessageFromAdmin"},
                                         {c.system, "showMessageFromSystem"}})
            if (count > 0) bars.push_back(bar);
        UIController::setListMessage(box);
        screen->viewDidAppear(false);
        const std::string which = std::to_string(c.invites) + std::to_string(c.admin) + std::to_string(c.system);
        EXPECT_EQ(screen->countInvites(), c.invites) << which;
        EXPECT_EQ(screen->countMessageFromAdmin(), c.admin) << which;
        EXPECT_EQ(screen->countMessageFromSystem(), c.system) << which;
        EXPECT_EQ(screen->heightForHeader(*screen->tblView(), 0), 0) << which << ": no header on the friends tab";
        screen->doChangeTab(MessageView::kTabRecent);
        EXPECT_EQ(screen->heightForHeader(*screen->tblView(), 0), 33.0 * double(bars.size())) << which;
        std::vector<std::string> shown;
        if (auto header = screen->viewForHeader(*screen->tblView(), 0))
            for (const auto& bar : header->subviews())
                shown.push_back(bar->subviews().at(0)->accessibilityIdentifier());
        EXPECT_EQ(shown, bars) << which;
    }
}

TEST_F(MessageScreen, UnreadMailWinsOverTheOnlineMark) {
    UIController::setListMessage({mail(0, "binh", "hello", false, 202)});
    auto screen = open();
    giveFriends(*screen);
    EXPECT_EQ(statusOf(*screen, 0), "chat_icon_trangthai2.png");
    EXPECT_EQ(statusOf(*screen, 1), "chat_icon_trangthai1.png");
    UIController::setListMessage({});
    screen->viewDidAppear(false);
    giveFriends(*screen);
    EXPECT_EQ(statusOf(*screen, 1), "chat_icon_trangthai3.png");
}

TEST_F(MessageScreen, ChoosingAFriendTwiceMakesOnePanel) {
    auto screen = open();
    giveFriends(*screen);
    drive("tap text=an");
    drive("tap text=binh");
    drive("tap text=an");
    EXPECT_EQ(screen->listChatView().size(), 2u);
    ASSERT_TRUE(screen->activeChatView());
    EXPECT_EQ(screen->activeChatView()->friendName(), "an");
    EXPECT_EQ(screen->activeChatView()->friendID(), 201);
    EXPECT_EQ(screen->lblUserName()->text(), "an");
    EXPECT_EQ(screen->viewContent()->subviews().size(), 2u);
}

TEST_F(MessageScreen, OnlyTheFriendsTabDeletesAndTheRowStays) {
    auto screen = open();
    giveFriends(*screen);
    auto& table = *screen->tblView();
    EXPECT_TRUE(screen->canEditRow(table, {0, 1}));
    EXPECT_EQ(screen->titleForDeleteConfirmationButton(table, {0, 1}), text("KAVO_delete"));
    screen->commitEditingStyle(table, platform::ui::TableViewCellEditingStyle::Delete, {0, 1});
    EXPECT_TRUE(client.sentOnce(33, Bytes().int32(202).data()));
    EXPECT_EQ(screen->numberOfRows(table, 0), 2);
    screen->doChangeTab(MessageView::kTabRecent);
    EXPECT_FALSE(screen->canEditRow(table, {0, 0}));
}

TEST_F(MessageScreen, APartnerStoredTwiceIsListedOnceAndAStrangerByHisId) {
    {
        ChatDatabase db;
        ASSERT_TRUE(db.open(ChatDatabase::defaultPath()));
        KavoMessage line;
        line.setFromID(201);
        line.setMessage("1");
        db.insertMsg(line, ChatDatabase::kReceived);
        db.insertMsg(line, ChatDatabase::kSent);
        line.setFromID(999);
        db.insertMsg(line, ChatDatabase::kReceived);
    }
    auto screen = open();
    giveFriends(*screen);
    screen->doChangeTab(MessageView::kTabRecent);
    runMainThread();
    EXPECT_EQ(screen->listRecentChats(), (std::vector<std::string>{"201", "999"}));
    drive("expect text=an\ntap text=999");
    ASSERT_TRUE(screen->activeChatView());
    EXPECT_EQ(screen->activeChatView()->friendID(), 999);
    screen->activeChatView()->txtChat()->setText("who?");
    screen->activeChatView()->doSendMessage();
    EXPECT_TRUE(client.sentOnce(5, Bytes().int32(999).utf("who?").data()));
}

TEST_F(MessageScreen, EachNoticeBarShowsAndRemovesOnlyItsOwnKind) {
    UIController::setListMessage({mail(3, "admin", "admin says", false, 1), mail(0, "kavo", "notice", false, 1),
                                  mail(3, "dung", "invite", true, 204), mail(0, "server", "another notice", false, 2)});
    auto screen = open();
    screen->doChangeTab(MessageView::kTabRecent);
    runMainThread();
    const struct {
        const char* bar;
        const char* sender;
        const char* shown;
        std::vector<std::string> left;
    } bars[] = {{"showMessageFromAdmin", "admin", "admin says", {"notice", "invite", "another notice"}},
                {"showMessageFromSystem", "kavo", "notice", {"invite"}}};
    for (const auto& bar : bars) {
        drive(std::string("tap id=") + bar.bar);
        ASSERT_TRUE(screen->activeChatView()) << bar.bar;
        EXPECT_EQ(screen->activeChatView()->friendName(), bar.sender);
        ASSERT_EQ(screen->activeChatView()->arrChat().size(), 1u) << bar.bar;
        EXPECT_EQ(screen->activeChatView()->arrChat()[0]->content(), bar.shown);
        std::vector<std::string> left;
        for (const auto& message : UIController::listMessage())
            left.push_back(message->message());
        EXPECT_EQ(left, bar.left) << bar.bar << ": the invitation is no administrator message";
        runMainThread();
    }
}

TEST_F(MessageScreen, RemoveAllAsksThenEmptiesTheMailbox) {
    UIController::setListMessage({mail(0, "a", "1"), mail(3, "b", "2")});
    auto screen = open();
    drive("tap id=onRemoveAll");
    EXPECT_EQ(openDialogCode(), UIController::kActionRemoveAllMail);
    EXPECT_EQ(dialogText(), text("KAVO_thongbao_xoa_item"));
    press(text("KAVO_OK"));
    EXPECT_TRUE(UIController::listMessage().empty());
    EXPECT_TRUE(screen->listMessage().empty());
}

TEST_F(MessageScreen, APrivateLineWhileOpenIsStoredOnceAndShownOnceInItsPanel) {
    auto screen = open();
    giveFriends(*screen);
    auto line = mail(0, "an", "are you there?", false, 201);
    screen->onNewMessage(line);
    EXPECT_EQ(UIController::listMessage().size(), 1u);
    drive("tap text=an");
    ASSERT_TRUE(screen->activeChatView());
    ASSERT_EQ(screen->activeChatView()->arrChat().size(), 1u);
    EXPECT_EQ(screen->activeChatView()->arrChat()[0]->content(), "are you there?");
    EXPECT_EQ(screen->chatDatabase()->queryConversationWithUserID("201", {}).size(), 1u);
    EXPECT_TRUE(UIController::listMessage().empty());
    EXPECT_TRUE(screen->newMessageList().empty());

    // Mail of a mailbox batch waits in the list, even from the partner on screen.
    screen->onChatWithMessage(mail(0, "an", "hello?", false, 201));
    EXPECT_EQ(screen->activeChatView()->arrChat().size(), 1u);
    EXPECT_EQ(screen->chatDatabase()->queryConversationWithUserID("201", {}).size(), 1u);
    ASSERT_EQ(UIController::listMessage().size(), 1u);
    EXPECT_EQ(UIController::listMessage()[0]->message(), "hello?");
}

TEST_F(MessageScreen, OpeningAFriendsPanelLeavesTheirRequestsAndTypedMailInTheMailbox) {
    auto request = mail(3, "an", "an muốn kết bạn", true, 201);
    auto notice = mail(3, "an", "thư của quản trị", false, 201);
    auto line = mail(0, "an", "chao ban", false, 201);
    UIController::setListMessage({request, notice, line});
    auto screen = open();
    giveFriends(*screen);
    drive("tap text=an");
    ASSERT_TRUE(screen->activeChatView());
    ASSERT_EQ(screen->activeChatView()->arrChat().size(), 1u);
    EXPECT_EQ(screen->activeChatView()->arrChat()[0]->content(), "chao ban");
    EXPECT_EQ(screen->chatDatabase()->queryConversationWithUserID("201", {}).size(), 1u);
    EXPECT_EQ(UIController::listMessage(), (KavoMessageList{request, notice}));
}

// Every mail the badge counts shows somewhere: notices under their bars, a friend's private
// line in that friend's conversation and never under the system bar. Mail read stays read,
// also when the server sends it again at the next sign-in.
TEST_F(MessageScreen, TheBadgeCountsWhatTheBarsAndConversationsShowAndReadMailStaysRead) {
    UIController::restoreListMessageForPlayer(4242);
    const auto notices = [] {
        return KavoMessageList{mail(4, "admin", "Chào mừng đến Kavo Online!", false, 1),
                               mail(3, "admin", "Bảo trì lúc 2 giờ sáng", false, 5)};
    };
    UIController::addItemsIntoListMessage(notices());
    // A private line as it arrives with the mailbox closed: stamped with its arrival time.
    GlobalLogicHandler::getInstance().onChatFromWithMessage(mail(0, "an", "chao an", false, 201));
    runMainThread();
    auto screen = open();
    giveFriends(*screen);
    const auto badge = [&] {
        return screen->lblCounterMessage()->isHidden() ? "" : screen->lblCounterMessage()->text();
    };
    EXPECT_EQ(badge(), "3");
    screen->doChangeTab(MessageView::kTabRecent);
    runMainThread();
    EXPECT_EQ(screen->countMessageFromAdmin(), 1);
    EXPECT_EQ(screen->countMessageFromSystem(), 1);
    drive("tap id=showMessageFromSystem");
    ASSERT_TRUE(screen->activeChatView());
    EXPECT_EQ(screen->activeChatView()->friendName(), "admin") << "a private line is no system notice";
    EXPECT_EQ(screen->activeChatView()->arrChat().size(), 2u);
    EXPECT_EQ(badge(), "1");
    drive("tap id=btnBanBe\nadvance 0.1\ntap text=an");
    ASSERT_EQ(screen->activeChatView()->friendName(), "an");
    ASSERT_EQ(screen->activeChatView()->arrChat().size(), 1u);
    EXPECT_EQ(screen->activeChatView()->arrChat()[0]->content(), "chao an");
    EXPECT_EQ(badge(), "");

    UIController::signOutListMessage();
    UIController::addItemsIntoListMessage(notices()); // sent again as the next connection starts
    UIController::restoreListMessageForPlayer(4242);
    UIController::addItemsIntoListMessage(notices());
    EXPECT_TRUE(UIController::listMessage().empty()) << "read mail stays read";
}

} // namespace
} // namespace kavo::test
