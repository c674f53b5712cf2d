// Garbled private messages, mail and friend replies with the mailbox on top.
#include "app/UIController.h"
#include "games/caro/CaroView.h"
#include "portal/GlobalMessageHandler.h"
#include "social/AddFriendView.h"
#include "social/ChatView.h"
#include "social/FriendInviteView.h"
#include "social/MessageView.h"
#include "social/PlayerDetailView.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace kavo::test {
namespace {

class MailboxNoise : public TableTest {
protected:
    // Rounds of random fields under each command, each handled before the next arrives.
    void sendNoise(std::mt19937& random, std::initializer_list<int16_t> commands, int rounds) {
        std::uniform_int_distribution<int> byteValue(0, 255);
        for (int round = 0; round < rounds; ++round) {
            for (int16_t command : commands) {
                Bytes fields;
                if (command == 104) fields.byte(int8_t(byteValue(random) % 24));
                for (int n = byteValue(random) % 10; n > 0; --n) {
                    switch (byteValue(random) % 4) {
                    case 0:
                        fields.byte(int8_t(byteValue(random)));
                        break;
                    case 1:
                        fields.int32(byteValue(random) % 4 == 0 ? -1 : byteValue(random) % 9);
                        break;
                    case 2:
                        fields.int64(byteValue(random));
                        break;
                    default:
                        fields.utf(std::string(size_t(byteValue(random) % 4), 'b'));
                        break;
                    }
                }
                Message message(command, fields.data());
                GlobalMessageHandler::getInstance().onMessage(message);
                runMainThread();
            }
        }
    }
};

TEST_F(MailboxNoise, RandomRepliesWithTheMailboxOnTopLeaveItWorking) {
    UIController::myInfo()->setIDDB(4242);
    auto screen = std::make_shared<MessageView>();
    push(screen);
    runMainThread();
    auto friendOf = std::make_shared<Player>();
    friendOf->setIDDB(3);
    friendOf->setName("aaa");
    screen->set_listAllFriends({friendOf});
    screen->forceReloadFriendList();
    screen->selectRow(0);
    std::mt19937 random(7011);
    sendNoise(random, {5, 1701, 104}, 300);
    EXPECT_TRUE(screen->messageViewLoaded());
    ASSERT_TRUE(screen->activeChatView());
    screen->activeChatView()->txtChat()->setText("still here");
    screen->activeChatView()->doSendMessage();
    EXPECT_EQ(client.sent().back().commandId, 5);
    EXPECT_EQ(client.sent().back().body, Bytes().int32(3).utf("still here").data());
}

// Noise in the friend replies (add result, details, search, friends) reaching the open
// sheets: the invitation list and the add-friend sheet over the mailbox, then the
// details sheet at a Caro table.
TEST_F(MailboxNoise, RandomFriendRepliesWithTheSheetsOpenLeaveThemWorking) {
    auto screen = std::make_shared<MessageView>();
    push(screen);
    runMainThread();
    screen->showFriendInviteView();
    screen->showAddFriendView();
    auto table = std::make_shared<CaroView>();
    std::mt19937 random(3236);
    sendNoise(random, {32, 34, 36, 104}, 150);
    EXPECT_TRUE(screen->friendInviteView()->isViewLoaded());
    push(table);
    sendNoise(random, {32, 34, 36, 104}, 150);
    Message detail(
        34, Bytes().int32(8).utf("minh").int64(99).int16(1).int32(150).int32(1).int32(2).int32(3).int32(4).data());
    GlobalMessageHandler::getInstance().onMessage(detail);
    runMainThread();
    runMainThread();
    ASSERT_TRUE(table->playerDetailView());
    EXPECT_EQ(table->playerDetailView()->lblName()->text(), "minh");
    EXPECT_EQ(table->playerDetailView()->lblLevel()->text(), "2 + 25%");
}

} // namespace
} // namespace kavo::test
