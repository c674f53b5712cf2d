#include "CoreTestSupport.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

class DelegateLog : public ApplicationDelegate {
public:
    void didFinishLaunching(Application&) override { calls.push_back("launched"); }
    void didBecomeActive(Application&) override { calls.push_back("active"); }
    void willResignActive(Application&) override { calls.push_back("resign"); }
    void didEnterBackground(Application&) override { calls.push_back("background"); }
    void willEnterForeground(Application&) override { calls.push_back("foreground"); }
    bool openURL(Application&, const std::string& url) override {
        calls.push_back("open " + url);
        return true;
    }
    void didReceiveMemoryWarning(Application&) override { calls.push_back("memory"); }
    void didRegisterForRemoteNotifications(Application&, const std::vector<uint8_t>& token) override {
        tokens.push_back(token);
    }
    void didFailToRegisterForRemoteNotifications(Application&, const std::string&) override {
        calls.push_back("no token");
    }
    std::vector<std::string> calls;
    std::vector<std::vector<uint8_t>> tokens;
};

class WarnedScreen : public ViewController {
public:
    void didReceiveMemoryWarning() override { ++warnings; }
    int warnings = 0;
};

} // namespace

class ApplicationTest : public CoreUiTest {
protected:
    void SetUp() override {
        CoreUiTest::SetUp();
        Application::shared().setDelegate(&delegate);
    }
    void TearDown() override {
        Application::setUrlOpener(nullptr);
        CoreUiTest::TearDown();
    }
    DelegateLog delegate;
};

TEST_F(ApplicationTest, LifecycleCallsReachTheDelegateInOrder) {
    auto& app = Application::shared();
    app.launch();
    app.enterBackground();
    app.enterBackground(); // already there: nothing
    app.enterForeground();
    EXPECT_EQ(app.state(), ApplicationState::Active);
    EXPECT_TRUE(app.handleOpenURL("kavo://fb123"));
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"launched", "active", "resign", "background", "foreground",
                                                        "active", "open kavo://fb123"}));
}

TEST_F(ApplicationTest, DeviceTokenArrivesOnALaterRunLoopTurn) {
    Application::shared().registerForRemoteNotifications();
    EXPECT_TRUE(delegate.tokens.empty());
    runPending();
    if (Application::deviceToken().empty()) {
        EXPECT_EQ(delegate.calls.back(), "no token"); // a machine without a machine id
        return;
    }
    ASSERT_EQ(delegate.tokens.size(), 1u);
    EXPECT_EQ(delegate.tokens[0].size(), 32u);
    EXPECT_EQ(delegate.tokens[0], Application::deviceToken()); // stable for the machine
}

TEST_F(ApplicationTest, OpeningAnAddressGoesThroughTheInstalledOpener) {
    auto& app = Application::shared();
    EXPECT_FALSE(app.openURL("tel:19001234")); // nothing installed
    std::vector<std::string> opened;
    Application::setUrlOpener([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    EXPECT_TRUE(app.openURL("tel:19001234"));
    EXPECT_EQ(opened, (std::vector<std::string>{"tel:19001234"}));
}

TEST_F(ApplicationTest, MemoryWarningReachesEveryScreenOnTheStack) {
    auto bottom = std::make_shared<WarnedScreen>();
    auto top = std::make_shared<WarnedScreen>();
    auto nav = NavigationController::make(bottom);
    nav->pushViewController(top, false);
    auto window = Window::make();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
    Application::shared().simulateMemoryWarning();
    EXPECT_EQ(delegate.calls.back(), "memory");
    EXPECT_EQ(bottom->warnings, 1);
    EXPECT_EQ(top->warnings, 1);
    EXPECT_TRUE(top->isViewLoaded()); // views are kept
}

TEST_F(ApplicationTest, KeyWindowMovesWhenTheKeyWindowIsHidden) {
    auto main = Window::make();
    main->makeKeyAndVisible();
    auto alert = Window::make();
    alert->setWindowLevel(WindowLevel::Alert);
    alert->makeKeyAndVisible();
    EXPECT_TRUE(alert->isKeyWindow());
    EXPECT_FALSE(main->isKeyWindow());
    alert->setHidden(true);
    EXPECT_EQ(Window::keyWindow(), main.get());
}
