#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/BoardView.h"
#include "net/Message.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/model/Asset.h"
#include "portal/model/KavoMessage.h"
#include "social/MessageView.h"
#include "tests/app/ShellTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

std::shared_ptr<KavoMessage> privateMessage(const std::string& from, const std::string& text) {
    auto message = std::make_shared<KavoMessage>();
    message->setType(4);
    message->setFromName(from);
    message->setMessage(text);
    return message;
}

// The replies arrive as the reader thread hands them over; the test then runs what they
// posted to the main thread.
class MailTwinsTest : public ShellTest {
protected:
    static GlobalLogicHandler& logic() { return GlobalLogicHandler::getInstance(); }
    static void deliverToMainThread() { platform::RunLoop::main().runPending(); }
};

TEST_F(MailTwinsTest, PrivateMessageOnTheBoardListGoesIntoTheMailboxAndTheBadge) {
    auto boards = launchAndPush(std::make_shared<BoardView>());
    auto message = privateMessage("lan", "vào bàn 3 nhé");
    logic().onChatFromWithMessage(message);
    deliverToMainThread();
    ASSERT_EQ(UIController::listMessage().size(), 1u);
    EXPECT_EQ(UIController::listMessage().front(), message);
    EXPECT_EQ(boards->lblCounterMessage()->text(), "1");
}

TEST_F(MailTwinsTest, PrivateMessageWithTheMailboxOnTopIsShownThere) {
    launch();
    auto mailbox = std::make_shared<MessageView>();
    mailbox->setMessageType(4);
    push(mailbox);
    auto message = privateMessage("minh", "chào");
    logic().onChatFromWithMessage(message);
    deliverToMainThread();
    ASSERT_FALSE(mailbox->listMessage().empty());
    EXPECT_EQ(mailbox->listMessage().front(), message);
    EXPECT_EQ(UIController::listMessage().size(), 1u) << "kept in the mailbox once";
}

TEST_F(MailTwinsTest, NewMailBatchOnALobbyScreenFillsTheMailboxAndReloadsTheBadge) {
    auto screen = launchAndPush();
    logic().onListNewMessage({privateMessage("a", "1"), privateMessage("b", "2")});
    deliverToMainThread();
    EXPECT_EQ(UIController::listMessage().size(), 2u);
    EXPECT_EQ(screen->lblCounterMessage()->text(), "2");
    EXPECT_FALSE(screen->imgViewCounterMessage()->isHidden());
}

TEST_F(MailTwinsTest, EmptyMailBatchRemovesTheUnreadMailButton) {
    auto screen = launchAndPush();
    auto button = platform::ui::Button::make();
    screen->view()->addSubview(button);
    UIController::setBtnAlertMessage(button);
    logic().onListNewMessage({});
    deliverToMainThread();
    EXPECT_EQ(button->superview(), nullptr);
    EXPECT_FALSE(UIController::btnAlertMessage());
}

TEST_F(MailTwinsTest, ServerEventRunsInTheTopBarTicker) {
    launch();
    Message event(46); // the server's event notice
    event.writeUTF("Giải đấu tối nay");
    GlobalMessageHandler::getInstance().onMessage(event);
    deliverToMainThread();
    EXPECT_EQ(delegate().lblServerInfo()->text(), "Giải đấu tối nay");
    EXPECT_FALSE(delegate().lblServerInfo()->isHidden());
    EXPECT_TRUE(delegate().lblWindowTitle()->isHidden());
    advance(120);
    EXPECT_TRUE(delegate().lblServerInfo()->isHidden());
}

TEST_F(MailTwinsTest, ReceivedPresentFloatsOverTheScreenWithANotice) {
    auto screen = launchAndPush();
    auto present = std::make_shared<Asset>();
    present->setAssetId(12);
    present->setName("Hoa hồng");
    logic().onPresentReceived({present});
    deliverToMainThread();
    const auto& flying = screen->view()->subviews().back();
    EXPECT_EQ(flying->accessibilityIdentifier(), "flyPresend");
    EXPECT_TRUE(UIController::currentDialog());
    advance(5.2);
    EXPECT_NE(screen->view()->subviews().back(), flying) << "gone after its flight";
}

} // namespace
} // namespace kavo::test
