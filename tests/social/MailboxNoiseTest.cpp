// Garbled private messages, mail and friend replies with the mailbox on top.
#include "app/UIController.h"
#include "portal/GlobalMessageHandler.h"
#include "social/ChatView.h"
#include "social/MessageView.h"
#include "tests/table/TableTestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace kavo::test {
namespace {

class MailboxNoise : public TableTest {};

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
    std::uniform_int_distribution<int> byteValue(0, 255);
    for (int round = 0; round < 300; ++round) {
        for (int16_t command : {int16_t(5), int16_t(1701), int16_t(104)}) {
            Bytes fields;
            if (command == 104) fields.byte(int8_t(byteValue(random) % 24));
            for (int n = byteValue(random) % 8; n > 0; --n) {
                switch (byteValue(random) % 3) {
                case 0:
                    fields.byte(int8_t(byteValue(random)));
                    break;
                case 1:
                    fields.int32(byteValue(random) % 5);
                    break;
                default:
                    fields.utf(std::string(size_t(byteValue(random) % 4), 'a'));
                    break;
                }
            }
            Message message(command, fields.data());
            GlobalMessageHandler::getInstance().onMessage(message);
            runMainThread();
        }
    }
    EXPECT_TRUE(screen->messageViewLoaded());
    ASSERT_TRUE(screen->activeChatView());
    screen->activeChatView()->txtChat()->setText("still here");
    screen->activeChatView()->doSendMessage();
    EXPECT_EQ(client.sent().back().commandId, 5);
    EXPECT_EQ(client.sent().back().body, Bytes().int32(3).utf("still here").data());
}

} // namespace
} // namespace kavo::test
