// Replies that change what the screens read, sent by the portal in quick succession
// to a signed-in client: each applies on the main thread in the order it came, so a
// later reply is never undone by an earlier one that the main thread had not yet run.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/BoardView.h"
#include "net/Message.h"
#include "platform/runtime/RunLoop.h"
#include "portal/model/KavoMessage.h"
#include "social/MessageView.h"
#include "tests/e2e/ReaderCaughtUp.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

struct Mail {
    int32_t type;
    int64_t time;
    int32_t from;
    std::string name;
    std::string text;
};

Message mailboxReply(const std::vector<Mail>& rows) {
    Bytes reply;
    for (const Mail& row : rows) {
        reply.int32(row.type).int64(row.time).int32(row.from).utf(row.name).utf(row.text);
    }
    return reply.message(1701);
}

Message friendRequests(const std::vector<std::pair<int32_t, std::string>>& rows) {
    Bytes reply;
    reply.byte(4);
    for (const auto& [id, name] : rows) {
        reply.int32(id).utf(name);
    }
    return reply.message(104);
}

// The texts of the stored mail of one type, in list order.
std::vector<std::string> storedTexts(int32_t type) {
    std::vector<std::string> texts;
    for (const auto& message : UIController::listMessageWithFilter(type))
        texts.push_back(message->message());
    return texts;
}

std::vector<std::string> storedSenders(int32_t type) {
    std::vector<std::string> names;
    for (const auto& message : UIController::listMessageWithFilter(type))
        names.push_back(message->fromName());
    return names;
}

class ReplyOrder : public ClientFixture {
protected:
    // The portal sends each reply; the reader thread gets to all of them before the
    // main thread runs any of their twins.
    void sendBeforeTheMainThreadRuns(const std::vector<Message>& replies) {
        for (const Message& reply : replies)
            ASSERT_TRUE(portal().sendToClient(reply));
        ASSERT_TRUE(readerHasRead(portal()));
    }
};

TEST_F(ReplyOrder, TwoQuickNoticeBatchesLeaveOnlyTheSecondBatchsNotices) {
    ASSERT_TRUE(signInByReply());
    advance(0.4);
    sendBeforeTheMainThreadRuns({
        mailboxReply({{4, 10, 1, "admin", "bao tri 1"}, {4, 11, 1, "admin", "bao tri 2"}, {2, 12, 2, "he", "chao"}}),
        mailboxReply({{4, 20, 1, "admin", "bao tri moi"}}),
    });
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return storedTexts(2).size() == 1; }, 30));
    advance(0.1);

    EXPECT_EQ(storedTexts(4), std::vector<std::string>{"bao tri moi"});
    EXPECT_EQ(storedTexts(2), std::vector<std::string>{"chao"});
}

TEST_F(ReplyOrder, TwoQuickFriendRequestBatchesLeaveOnlyTheSecondBatchsRequests) {
    ASSERT_TRUE(signInByReply());
    advance(0.4);
    sendBeforeTheMainThreadRuns({
        friendRequests({{5, "An"}, {6, "Binh"}}),
        friendRequests({{7, "Cuc"}}),
    });
    ASSERT_TRUE(
        platform::RunLoop::main().runUntil([] { return storedSenders(3) == std::vector<std::string>{"cuc"}; }, 30));
    advance(0.1);

    EXPECT_EQ(storedSenders(3), std::vector<std::string>{"cuc"});
}

TEST_F(ReplyOrder, MoneyChangesOnTheMainThreadToTheLastTransfersBalance) {
    ASSERT_TRUE(signInByReply());
    advance(0.4);
    Message firstTransfer(17);
    firstTransfer.writeLong(5000);
    firstTransfer.writeUTF("da chuyen 1");
    Message secondTransfer(17);
    secondTransfer.writeLong(4000);
    secondTransfer.writeUTF("da chuyen 2");
    sendBeforeTheMainThreadRuns({firstTransfer, secondTransfer});
    // Until the main thread runs, the player still has the sign-in's money.
    EXPECT_EQ(UIController::myInfo()->money(), ClientWorld::kPlayerMoney);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return UIController::myInfo()->money() == 4000; }, 30));
}

TEST_F(ReplyOrder, ABatchOfMailReachesTheOpenMailboxWhole) {
    acceptGameChoices(portal());
    ASSERT_TRUE(signInByReply());
    advance(0.4);
    ASSERT_TRUE(drives("tap id=btnTLMN\nscreen BoardView 30\nadvance 0.4\ntap id=btnChat\nadvance 0.5\n"));
    const auto& mailbox = MessageView::getInstance();
    ASSERT_TRUE(mailbox->isViewLoaded() && mailbox->view()->window());

    ASSERT_TRUE(portal().sendToClient(
        mailboxReply({{2, 30, 1, "he", "thu mot"}, {2, 31, 1, "he", "thu hai"}, {2, 32, 1, "he", "thu ba"}})));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return mailbox->listMessage().size() >= 3; }, 30));

    std::vector<std::string> shown;
    for (const auto& message : mailbox->listMessage())
        shown.push_back(message->message());
    // As in the stored mailbox, each goes to the front in turn.
    EXPECT_EQ(shown, (std::vector<std::string>{"thu mot", "thu hai", "thu ba"}));
    EXPECT_EQ(storedTexts(2), (std::vector<std::string>{"thu mot", "thu hai", "thu ba"}));
}

} // namespace
} // namespace kavo::test
