#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/widgets/ImageCache.h"
#include "games/caro/CaroView.h"
#include "lobby/BoardView.h"
#include "lobby/GameView.h"
#include "lobby/LoginView.h"
#include "net/MobileClient.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Touch.h"
#include "portal/model/KavoMessage.h"
#include "social/MessageView.h"
#include "tests/app/ShellTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::ui::SwipeDirection;

std::shared_ptr<KavoMessage> mail(int32_t type) {
    auto message = std::make_shared<KavoMessage>();
    message->setType(type);
    return message;
}

class AppDelegateTest : public ShellTest {};

// ---- launch

TEST_F(AppDelegateTest, FreshInstallTurnsVibrationInvitationsAndSoundOn) {
    launch();
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_TRUE(defaults.boolForKey("savedRung"));
    EXPECT_TRUE(defaults.boolForKey("savedInviting"));
    EXPECT_TRUE(defaults.boolForKey("savedSound"));
    EXPECT_TRUE(UIController::rung());
    EXPECT_TRUE(UIController::inviting());
    EXPECT_TRUE(UIController::sound());
}

// A launch that finds its switches and device token stored sets them again, to the same
// values: the defaults file, which may hold a large mailbox, is not written again. (The
// file is changed behind the defaults' back to show whether it was.)
TEST_F(AppDelegateTest, ALaunchThatChangesNothingWritesNothing) {
    launch();
    auto& defaults = platform::UserDefaults::standard();
    ASSERT_TRUE(defaults.flush());
    const std::string file = environment_->data().path() + "/defaults.plist";
    platform::Value behind = platform::PropertyList::readFile(file);
    ASSERT_TRUE(behind.isDictionary());
    behind.set("marker", platform::Value("written elsewhere"));
    ASSERT_TRUE(platform::PropertyList::writeFile(file, behind));
    defaults.reset(); // as a new process would start
    resetForRelaunch();
    launch();
    ASSERT_TRUE(defaults.flush());
    EXPECT_EQ(platform::PropertyList::readFile(file).get("marker").stringValue(), "written elsewhere");
    EXPECT_TRUE(UIController::sound());
}

// A picture whose write an earlier run cut short left its temporary file with the pictures.
TEST_F(AppDelegateTest, LaunchRemovesWhatAnInterruptedPictureWriteLeft) {
    const std::string folder = ImageCache::sharedImageCache().getCacheDirectoryName();
    for (const char* name : {"0a1b.png.tmpAB12CD", "0a1b.png"})
        ASSERT_TRUE(platform::writeFileAtomically(folder + "/" + name, std::string("picture")));
    launch();
    EXPECT_FALSE(platform::fileExists(folder + "/0a1b.png.tmpAB12CD"));
    EXPECT_TRUE(platform::fileExists(folder + "/0a1b.png"));
}

TEST_F(AppDelegateTest, StoredSwitchThatIsOffStaysOff) {
    platform::UserDefaults::standard().setBool(false, "savedSound");
    launch();
    EXPECT_FALSE(platform::UserDefaults::standard().boolForKey("savedSound"));
    EXPECT_FALSE(UIController::sound());
    EXPECT_TRUE(UIController::rung());
}

TEST_F(AppDelegateTest, LaunchShowsTheFirstScreenWithTheSmsSwitchOnAndNoConnection) {
    KavoOnlineAppDelegate::setSwitchOnSMS(false);
    launch();
    EXPECT_TRUE(KavoOnlineAppDelegate::switchOnSMS());
    ASSERT_TRUE(delegate().window());
    EXPECT_TRUE(delegate().window()->isKeyWindow());
    EXPECT_EQ(delegate().navigationController()->viewControllers().size(), 1u);
    EXPECT_TRUE(platform::ui::Application::shared().isIdleTimerDisabled());
    EXPECT_FALSE(MobileClient::getInstance().isConnected());
    // The top bar waits above the screen with the title shown.
    EXPECT_LT(delegate().viewTopBar()->frame().y(), 0);
    EXPECT_FALSE(delegate().lblWindowTitle()->isHidden());
}

TEST_F(AppDelegateTest, PushTokenIsStoredInItsTextForm) {
    EXPECT_EQ(KavoOnlineAppDelegate::deviceTokenDescription({0x01, 0xab, 0x00, 0xff, 0x10, 0x20}), "<01ab00ff 1020>");
    launch();
    delegate().didRegisterForRemoteNotifications(platform::ui::Application::shared(), {0xde, 0xad, 0xbe, 0xef, 1});
    EXPECT_EQ(platform::UserDefaults::standard().stringForKey("PNDT"), "<deadbeef 01>");
}

// ---- back button and swipe

TEST_F(AppDelegateTest, BackOnTheGameGridDropsInvitationsAndDisconnectsInsteadOfPopping) {
    launchAndPush(std::make_shared<GameView>());
    UIController::addItemIntoListMessage(mail(3));
    UIController::addItemIntoListMessage(mail(4));
    MobileClient::getInstance().manualDisconnect(); // status 3: nothing reported
    delegate().doBack();
    EXPECT_EQ(MobileClient::getInstance().connectStatus(), MobileClient::kStatusDisconnected);
    EXPECT_EQ(top()->className(), "GameView");
    EXPECT_TRUE(UIController::listMessageWithFilter(3).empty());
    EXPECT_EQ(UIController::listMessageWithFilter(4).size(), 1u);
}

TEST_F(AppDelegateTest, BackOnACardTableAsksTheTableToLeaveAndDoesNotPop) {
    auto table = launchAndPush(std::make_shared<RecordingTable>());
    delegate().doBack();
    EXPECT_EQ(table->leaves, 1);
    EXPECT_EQ(top(), table);
}

TEST_F(AppDelegateTest, BackOnAnyOtherScreenPopsIt) {
    launchAndPush();
    delegate().doBack();
    advance(1); // the animated pop ends
    EXPECT_EQ(delegate().navigationController()->viewControllers().size(), 1u);
}

TEST_F(AppDelegateTest, LeftwardSwipeOnATableDoesNothingAndRightwardNothingAnywhere) {
    launchAndPush();
    auto table = std::make_shared<RecordingTable>();
    push(table);
    delegate().handleSwipeFrom(SwipeDirection::Left);
    advance(1);
    EXPECT_EQ(top(), table);
    EXPECT_EQ(table->leaves, 0);

    delegate().navigationController()->popViewController(false);
    delegate().handleSwipeFrom(SwipeDirection::Right);
    advance(1);
    EXPECT_EQ(delegate().navigationController()->viewControllers().size(), 2u);
    delegate().handleSwipeFrom(SwipeDirection::Left);
    advance(1);
    EXPECT_EQ(delegate().navigationController()->viewControllers().size(), 1u);
}

// What the window shows around each screen: the back button over it, hidden where the screen
// has a way out of its own and lower under the board list's header, and the background under it.
TEST_F(AppDelegateTest, EachScreenGetsItsOwnBackButtonOverItAndBackgroundUnderIt) {
    launch();
    for (const auto& [screen, shown, backHidden, backY, background] :
         {std::tuple<const char*, platform::ui::ViewControllerPtr, bool, double, const char*>{
              "game grid", std::make_shared<GameView>(), true, 18, "bg_main.png"},
          {"board list", std::make_shared<BoardView>(), false, 24, "bg_main.png"},
          {"log-in", std::make_shared<LoginView>(), true, 18, "bg_main.png"},
          {"Caro table", std::make_shared<CaroView>(), true, 18, "caro-bg.png"},
          {"any other", std::make_shared<KavoViewController>(), false, 18, "bg_main.png"}}) {
        push(shown);
        EXPECT_EQ(delegate().btnBack()->isHidden(), backHidden) << screen;
        EXPECT_EQ(delegate().btnBack()->center().y, backY) << screen;
        EXPECT_EQ(delegate().imgBG()->image()->name(), background) << screen;
    }
    const auto& window = delegate().window();
    EXPECT_EQ(window->hitTest(delegate().btnBack()->center()), delegate().btnBack().get()) << "over the screens";
    EXPECT_EQ(window->subviews().front(), delegate().imgBG()) << "under them";
}

// A finger moving from (x0, 160) to (x1, 160) at once.
void swipeAcross(double x0, double x1) {
    auto& app = platform::ui::Application::shared();
    app.dispatchTouch(platform::ui::TouchPhase::Began, {x0, 160});
    for (int step = 1; step <= 4; ++step)
        app.dispatchTouch(platform::ui::TouchPhase::Moved, {x0 + (x1 - x0) * step / 4, 160});
    app.dispatchTouch(platform::ui::TouchPhase::Ended, {x1, 160});
    platform::RunLoop::main().runPending();
}

TEST_F(AppDelegateTest, FingerSwipedLeftPopsALobbyScreenButNotATable) {
    launchAndPush();
    auto table = std::make_shared<RecordingTable>();
    push(table);
    swipeAcross(400, 200);
    advance(1);
    EXPECT_EQ(top(), table);
    delegate().navigationController()->popViewController(false);
    platform::RunLoop::main().runPending();
    swipeAcross(400, 200);
    advance(1);
    EXPECT_EQ(delegate().navigationController()->viewControllers().size(), 1u);
}

// ---- event ticker

TEST_F(AppDelegateTest, TickerEntersAtTheMiddleOfTheTopEdgeAndCrossesToTheLeftEdge) {
    launch();
    delegate().startEventWithiOS4("Sự kiện mới");
    const auto& label = delegate().lblServerInfo();
    const auto bar = delegate().viewTopBar()->frame();
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(delegate().lblWindowTitle()->isHidden());
    // The label's end position is past the bar's left edge; it started at the bar's
    // right edge, which is the middle of the screen.
    EXPECT_DOUBLE_EQ(label->frame().x(), -delegate().lenEvent());
    EXPECT_DOUBLE_EQ(bar.x() + bar.width(), 240);
    EXPECT_DOUBLE_EQ(bar.y(), 0) << "the bar slid down into view";
    const int seconds = int((bar.width() + delegate().lenEvent()) * 23 / 1000);
    advance(seconds - 0.01);
    EXPECT_FALSE(label->isHidden());
    advance(0.02);
    EXPECT_TRUE(label->isHidden());
    EXPECT_FALSE(delegate().lblWindowTitle()->isHidden());
    advance(1);
    EXPECT_LT(delegate().viewTopBar()->frame().y(), 0) << "the bar went back up";
}

TEST_F(AppDelegateTest, TickerThatNeedsUnderASecondStopsAtOnce) {
    launch();
    // A bar this narrow with an empty text: (20 + 0) x 23 / 1000 rounds down to 0.
    auto frame = delegate().viewTopBar()->frame();
    frame.size.width = 20;
    delegate().viewTopBar()->setFrame(frame);
    delegate().startEventWithiOS4("");
    advance(0);
    EXPECT_TRUE(delegate().lblServerInfo()->isHidden());
    EXPECT_FALSE(delegate().lblWindowTitle()->isHidden());
}

TEST_F(AppDelegateTest, SecondTickerTextRunsItsWholeTimeDespiteTheFirstRunsStop) {
    launch();
    delegate().startEventWithiOS4("first");
    const auto bar = delegate().viewTopBar()->frame();
    const int firstSeconds = int((bar.width() + delegate().lenEvent()) * 23 / 1000);
    advance(firstSeconds / 2.0);
    delegate().startEventWithiOS4("a somewhat longer second notice");
    const int secondSeconds = int((bar.width() + delegate().lenEvent()) * 23 / 1000);
    ASSERT_GT(secondSeconds, firstSeconds / 2.0);
    advance(firstSeconds / 2.0 + 0.1); // past the first run's stop
    EXPECT_FALSE(delegate().lblServerInfo()->isHidden());
    EXPECT_EQ(delegate().lblServerInfo()->text(), "a somewhat longer second notice");
    advance(secondSeconds - firstSeconds / 2.0);
    EXPECT_TRUE(delegate().lblServerInfo()->isHidden());
}

TEST_F(AppDelegateTest, SteppedTickerMovesOneAndAHalfPointsATickUntilItHasCrossedTheBar) {
    launch();
    delegate().startEventWithiOS3("abc");
    const float start = delegate().lenEvent();
    EXPECT_DOUBLE_EQ(delegate().lblServerInfo()->frame().x(), 200);
    advance(0.033);
    EXPECT_DOUBLE_EQ(delegate().lblServerInfo()->frame().x(), 198.5);
    EXPECT_FLOAT_EQ(delegate().lenEvent(), start - 1.5f);
    advance(60);
    EXPECT_FALSE(delegate().mytimer());
    EXPECT_TRUE(delegate().lblServerInfo()->isHidden());
}

// ---- mailbox shortcut and presents

TEST_F(AppDelegateTest, MailboxShortcutOpensAdministratorsThenFriendRequestsAndNothingForNoticesOnly) {
    launch();
    UIController::addItemIntoListMessage(mail(2));
    delegate().onOpenMessage();
    EXPECT_EQ(delegate().navigationController()->viewControllers().size(), 1u) << "only notices: nothing opens";
    EXPECT_EQ(UIController::listMessage().front()->isSee(), 1);

    UIController::addItemIntoListMessage(mail(3));
    delegate().onOpenMessage();
    advance(1);
    auto mailbox = std::dynamic_pointer_cast<MessageView>(top());
    ASSERT_TRUE(mailbox);
    EXPECT_EQ(mailbox->messageType(), 3);
    EXPECT_EQ(mailbox->listMessage().size(), 2u) << "in view it reads the whole mailbox";
}

TEST_F(AppDelegateTest, EmptyMailboxShortcutOpensTheEmptyAdministratorsList) {
    launch();
    delegate().onOpenMessage();
    advance(1);
    auto mailbox = std::dynamic_pointer_cast<MessageView>(top());
    ASSERT_TRUE(mailbox);
    EXPECT_EQ(mailbox->messageType(), 4);
    EXPECT_TRUE(mailbox->listMessage().empty());
}

TEST_F(AppDelegateTest, PresentTextFloatsDownOverTheTopScreenAndGoesAfterFiveSeconds) {
    launch();
    FlyTextInfo present;
    present.setImgId(-1);
    present.setText("Bạn nhận được quà");
    delegate().startPresend(present);
    const auto& screen = top()->view();
    auto flying = screen->subviews().back();
    EXPECT_EQ(flying->text(), "Bạn nhận được quà");
    EXPECT_DOUBLE_EQ(flying->center().y, 320);
    advance(5.0);
    EXPECT_EQ(flying->superview(), screen.get());
    advance(0.2);
    EXPECT_EQ(flying->superview(), nullptr);
}

} // namespace
} // namespace kavo::test
