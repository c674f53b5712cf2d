// The mailbox road end to end: a signed-in client on the manual clock against the test
// portal, driven like a person: the grid's chat button, the friend list, a private
// chat stored in the chat database, lines that arrive while the mailbox is open or
// while the board list is on top, a later opening and a card table's mailbox button.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/widgets/CustomLabel.h"
#include "games/tienlen/TienLenView.h"
#include "lobby/BoardView.h"
#include "lobby/GameView.h"
#include "net/Message.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "social/ChatBubbleTableCell.h"
#include "social/ChatDatabase.h"
#include "social/ChatView.h"
#include "social/MessageView.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/ReadableScreen.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kAn = 201;

Message friendList() {
    Bytes reply = Bytes().byte(5);
    struct Row {
        int32_t id;
        const char* name;
        bool online;
    };
    for (const Row& row : {Row{kAn, "an", true}, Row{202, "binh", false}}) {
        reply.int32(row.id).utf(row.name).int64(1000).int16(1).byte(row.online ? 1 : 0);
        if (row.online) reply.byte(1).byte(2).byte(3);
        reply.utf("");
    }
    return reply.message(104);
}

Message privateLine(const std::string& text) {
    return Bytes().int32(kAn).utf("an").utf(text).message(5);
}

class MailboxRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() == 5) reply.send(friendList());
        });
        acceptGameChoices(portal());
        answerBoardList(portal(), 1000, {});
    }

    void signIn() { ASSERT_TRUE(signInToGameGrid()); }

    static std::shared_ptr<GameView> grid() {
        return std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    static MessageView& mailbox() { return *MessageView::getInstance(); }

    void run(const std::string& script) { ASSERT_TRUE(drives(script)); }

    static std::vector<std::string> shownLines() {
        std::vector<std::string> lines;
        if (auto panel = mailbox().activeChatView())
            for (const auto& chat : panel->arrChat())
                lines.push_back((chat->isMe() ? "me: " : "an: ") + chat->content());
        return lines;
    }

    static size_t storedLines(int32_t partner = kAn) {
        ChatDatabase db;
        if (!db.open(ChatDatabase::defaultPath())) return 0;
        return db.queryConversationWithUserID(std::to_string(partner), {}).size();
    }
};

TEST_F(MailboxRoad, AFriendsConversationIsSentStoredReceivedAndFoundAgain) {
    signIn();
    portal().clearMessages();
    run("tap id=btnChat\nwait text=binh#2\nadvance 0.5");
    ASSERT_TRUE(waitForCommand(104)); // the request crosses the socket in real time
    auto asks = portal().messages(104);
    ASSERT_FALSE(asks.empty());
    EXPECT_EQ(asks[0].body, std::vector<uint8_t>{5});
    EXPECT_TRUE(mailbox().messageViewLoaded());

    run("tap text=an#2\ntype id=txtChat xin chao\ntap id=btnSend");
    ASSERT_TRUE(waitForCommand(5));
    EXPECT_EQ(portal().messages(5)[0].body,
              (std::vector<uint8_t>{0, 0, 0, 201, 0, 8, 'x', 'i', 'n', ' ', 'c', 'h', 'a', 'o'}));
    EXPECT_EQ(storedLines(), 1u);

    ASSERT_TRUE(portal().sendToClient(privateLine("chao ban")));
    // With his conversation open, his answer shows in it at once.
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return shownLines().size() == 2; }, 30));
    advance(0.2);
    run("tap text=an#2");
    EXPECT_EQ(shownLines(), (std::vector<std::string>{"me: xin chao", "an: chao ban"}));
    EXPECT_TRUE(UIController::listMessage().empty());
    EXPECT_EQ(storedLines(), 2u);

    run("tap id=doCloseThisView");
    EXPECT_FALSE(mailbox().messageViewLoaded());
    run("tap id=btnChat\nwait text=binh#2\nadvance 0.5\ntap id=btnGanDay\nadvance 0.2\ntap text=an#2");
    EXPECT_EQ(shownLines(), (std::vector<std::string>{"me: xin chao", "an: chao ban"})) << "a new connection";
}

// Long lines read whole in the open conversation, the friend's and mine: each bubble and
// its text stand inside the panel, the text wraps onto as many lines as it needs and its
// row grows to hold them. The friend's line is one of real length, 130 characters, sent by
// the server; mine is the 40 characters the field takes and an emoticon.
TEST_F(MailboxRoad, ALongLineWrapsInsideThePanelOnBothSidesAndReadsWhole) {
    const std::string his = "Chào bạn, tối nay mình vào bàn Tiến Lên phòng 3 lúc tám giờ nhé, nhớ mang nhiều Zel vì "
                            "bàn đó cược cao lắm, đừng đến muộn nha bạn!";
    const std::string mine = "Ok bạn ơi, tám giờ mình vào bàn đó nha:)";
    ASSERT_EQ(platform::utf16Length(his), 130u);
    signIn();
    run("tap id=btnChat\nwait text=binh#2\nadvance 0.5\ntap text=an#2\ntype id=txtChat " + mine + "\ntap id=btnSend");
    ASSERT_TRUE(portal().sendToClient(privateLine(his)));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return shownLines().size() == 2; }, 30));
    advance(0.2);
    ASSERT_EQ(shownLines(), (std::vector<std::string>{"me: " + mine, "an: " + his}));

    const auto panel = mailbox().activeChatView();
    const platform::ui::Rect drawn = panel->convertRect(panel->bounds(), nullptr);
    auto& table = *panel->tblContent();
    for (const int row : {0, 1}) {
        SCOPED_TRACE(row);
        table.scrollToRow({0, row}, platform::ui::TableViewScrollPosition::Top, false);
        auto cell = std::dynamic_pointer_cast<ChatBubbleTableCell>(table.cellForRow({0, row}));
        ASSERT_TRUE(cell);
        const platform::ui::Rect rowRect = table.convertRect(table.rectForRow({0, row}), nullptr);
        const std::vector<const platform::ui::View*> parts = {cell->bgImageView().get(),
                                                              cell->messageContentView().get()};
        for (const platform::ui::View* part : parts) {
            const platform::ui::Rect frame = part->convertRect(part->bounds(), nullptr);
            EXPECT_GE(frame.minX(), drawn.minX()) << part->className();
            EXPECT_LE(frame.maxX(), drawn.maxX()) << part->className();
            EXPECT_GE(frame.minY(), rowRect.minY()) << part->className();
            EXPECT_LE(frame.maxY(), rowRect.maxY() + 0.5) << part->className() << ": its row holds it";
        }
        const CustomLabel& label = *cell->messageContentView();
        const auto lines = label.displayLines();
        EXPECT_GT(lines.size(), 1u) << "wrapped";
        std::string joined;
        for (const std::string& line : lines)
            joined += (joined.empty() ? "" : " ") + line;
        EXPECT_EQ(joined, row == 0 ? mine : his);
        EXPECT_GE(label.frame().height() + 0.5, double(lines.size()) * label.font().lineHeight());
        // What a player reads there: nothing cut, nothing overlapping.
        EXPECT_EQ(describe(unreadableTexts(cell.get())), "");
    }
}

// A friend's line that arrives while his conversation is not the one open waits in the
// mailbox, never under the system bar, until his conversation opens, also after a sign-in
// restored the mailbox from the store. (With it open, it shows at once: above.)
TEST_F(MailboxRoad, AFriendsLineWaitsForHisConversationWhereverElseItArrives) {
    const std::string open = "tap id=btnChat\nwait text=binh#2\nadvance 0.5\n";
    const std::pair<const char*, const char*> cases[] = {
        {"another conversation open", "tap text=binh#2"}, {"mailbox closed", nullptr}, {"signed in again", nullptr}};
    signIn();
    for (const auto& [name, before] : cases) {
        SCOPED_TRACE(name);
        const std::string text = std::string("chao, ") + name;
        const auto waiting = [&] {
            const auto list = UIController::listMessage();
            return std::any_of(list.begin(), list.end(), [&](const auto& mail) { return mail->message() == text; });
        };
        if (before) run(open + before);
        ASSERT_TRUE(portal().sendToClient(privateLine(text)));
        ASSERT_TRUE(platform::RunLoop::main().runUntil(waiting, 30));
        advance(0.2);
        if (std::string(name) == "signed in again") {
            UIController::signOutListMessage();
            UIController::restoreListMessage(UIController::readListMessage(ClientWorld::kPlayerId));
            ASSERT_TRUE(waiting()) << "stored";
        }
        if (!mailbox().messageViewLoaded()) run(open);
        EXPECT_EQ(mailbox().countMessageFromSystem(), 0) << "no system mail";
        run("tap text=an#2");
        ASSERT_FALSE(shownLines().empty());
        EXPECT_EQ(shownLines().back(), "an: " + text);
        EXPECT_FALSE(waiting());
        run("tap id=doCloseThisView");
    }
}

Message friendRequestFromDung() {
    return Bytes().byte(4).int32(301).utf("dung").message(104);
}

Message noticeFromAn() {
    return Bytes().int32(0).int64(1765000000000LL).int32(kAn).utf("an").utf("qua tang cho ban").message(1701);
}

TEST_F(MailboxRoad, FriendRequestsAndNoticesWhileTheMailboxIsOpenStayMailAndNeverChat) {
    signIn();
    run("tap id=btnChat\nwait text=binh#2\nadvance 0.5\ntap text=an#2");
    ASSERT_TRUE(mailbox().activeChatView());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(portal().sendToClient(friendRequestFromDung()));
    ASSERT_TRUE(portal().sendToClient(noticeFromAn()));
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [] {
            for (const auto& message : UIController::listMessage())
                if (message->fromName() == "an") return true;
            return false;
        },
        kStateWait));
    advance(0.2);
    EXPECT_EQ(storedLines(301), 0u);
    EXPECT_EQ(storedLines(kAn), 0u);
    EXPECT_TRUE(shownLines().empty()) << "a notice is no line of the open conversation";
    size_t requests = 0, notices = 0;
    for (const auto& message : UIController::listMessage()) {
        requests += message->isRequestAddFriend() && message->fromName() == "dung";
        notices += message->message() == "qua tang cho ban";
    }
    EXPECT_EQ(requests, 1u) << "the same request again is left out";
    EXPECT_EQ(notices, 1u);

    // A private line still reaches the open conversation and the chat file.
    ASSERT_TRUE(portal().sendToClient(privateLine("chao")));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return storedLines(kAn) == 1; }, 30));
}

TEST_F(MailboxRoad, ALineThatArrivesOverTheBoardListWaitsInTheMailboxAndShowsOnce) {
    signIn();
    run("tap id=btnTLMN\nscreen BoardView 30\nadvance 0.4");
    ASSERT_TRUE(portal().sendToClient(privateLine("o dau?")));
    auto boards = std::dynamic_pointer_cast<BoardView>(KavoOnlineAppDelegate::getInstance().topViewController());
    ASSERT_TRUE(boards);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return UIController::listMessage().size() == 1; }, 30));
    advance(0.2);
    EXPECT_EQ(boards->lblCounterMessage()->text(), "1");

    run("tap id=btnChat\nwait text=binh\nadvance 0.5\ntap text=an");
    EXPECT_EQ(shownLines(), (std::vector<std::string>{"an: o dau?"}));
    EXPECT_EQ(storedLines(), 1u);
    EXPECT_TRUE(UIController::listMessage().empty());
}

TEST_F(MailboxRoad, ACardTablesMailboxButtonPushesAMailboxOfItsOwn) {
    signIn();
    auto table = std::make_shared<TienLenView>();
    KavoOnlineAppDelegate::getInstance().navigationController()->pushViewController(table, false);
    advance(0.4);
    run("tap id=clickMailBox\nscreen MessageView 30\nadvance 0.5\nwait text=binh");
    auto pushed = std::dynamic_pointer_cast<MessageView>(KavoOnlineAppDelegate::getInstance().topViewController());
    ASSERT_TRUE(pushed);
    EXPECT_NE(pushed, MessageView::getInstance());
    EXPECT_TRUE(pushed->chatDatabase() && pushed->chatDatabase()->isOpen());
    run("tap text=an\ntype id=txtChat tu ban\ntap id=btnSend");
    ASSERT_TRUE(waitForCommand(5));
    EXPECT_EQ(storedLines(), 1u);
    run("tap id=doCloseThisView\nscreen TienLenView 30");
}

class MailboxScreens : public MailboxRoad, public ::testing::WithParamInterface<platform::ui::Idiom> {};

TEST_P(MailboxScreens, ShotsOfTheRecentTabTheFriendsTabAndAChatPanel) {
    platform::ui::Screen::setIdiom(GetParam());
    // The mailbox is made once per process: built again for this device, as a fresh start
    // would.
    if (!MessageView::getInstance()->view()->superview()) MessageView::getInstance()->setView(nullptr);
    signIn();
    auto mail = [](int32_t type, const std::string& from, bool invite) {
        auto message = std::make_shared<KavoMessage>();
        message->setType(type);
        message->setFromName(from);
        message->setMessage(from + " says hello");
        message->setIsRequestAddFriend(invite ? 1 : 0);
        message->setTime(1765000000000LL); // the server's mail carries its time
        return message;
    };
    UIController::setListMessage({mail(3, "dung", true), mail(3, "admin", false), mail(0, "kavo", false)});
    const std::string idiom = GetParam() == platform::ui::Idiom::Tablet ? "tablet" : "phone";
    const std::filesystem::path folder = std::filesystem::current_path() / "screenshots";
    std::filesystem::create_directories(folder);
    const auto shot = [&](const std::string& name) {
        return (folder / ("mailbox-" + name + "-" + idiom + ".png")).string();
    };
    run("tap id=btnChat\nwait text=binh#2\nadvance 0.5\nshot " + shot("friends") +
        "\ntap id=btnGanDay\nadvance 0.5\nexpect id=showMessageFromSystem\nshot " + shot("recent") +
        "\ntap id=btnBanBe\nadvance 0.5\ntap text=an#2\ntype id=txtChat xin chao :)\ntap id=btnSend");
    ASSERT_TRUE(portal().sendToClient(privateLine("chao ban (y)")));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return shownLines().size() == 2; }, 30));
    run("advance 0.2\nshot " + shot("chat-lines"));
    // The lines' bubbles start and end inside the panel, their texts whole.
    EXPECT_EQ(describe(unreadableTexts()), "") << shot("chat-lines");
    run("tap id=btnEmoticon\nshot " + shot("chat"));
    EXPECT_EQ(shownLines().size(), 2u);
    for (const char* name : {"friends", "recent", "chat-lines", "chat"})
        EXPECT_TRUE(std::filesystem::exists(shot(name))) << name;
}

INSTANTIATE_TEST_SUITE_P(Idioms, MailboxScreens,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
} // namespace kavo::test
