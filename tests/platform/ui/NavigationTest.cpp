#include "CoreTestSupport.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

using Log = std::vector<std::string>;

// Writes every lifecycle call as "<name> <call>".
class Screen_ : public ViewController {
public:
    Screen_(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
    void layoutForPhone() override { log_.push_back(name_ + " phone"); }
    void layoutForTablet() override { log_.push_back(name_ + " tablet"); }
    void viewDidLoad() override { log_.push_back(name_ + " didLoad"); }
    void viewWillAppear(bool) override { log_.push_back(name_ + " willAppear"); }
    void viewDidAppear(bool) override { log_.push_back(name_ + " didAppear"); }
    void viewWillDisappear(bool) override { log_.push_back(name_ + " willDisappear"); }
    void viewDidDisappear(bool) override { log_.push_back(name_ + " didDisappear"); }

private:
    std::string name_;
    Log& log_;
};

class DelegateLog : public NavigationControllerDelegate {
public:
    explicit DelegateLog(Log& log) : log_(log) {}
    void willShowViewController(NavigationController&, ViewController& vc, bool) override {
        log_.push_back("willShow " + name(vc));
    }
    void didShowViewController(NavigationController&, ViewController& vc, bool) override {
        log_.push_back("didShow " + name(vc));
    }

private:
    static std::string name(ViewController& vc) { return vc.title(); }
    Log& log_;
};

} // namespace

class NavigationTest : public CoreUiTest {
protected:
    std::shared_ptr<Screen_> screen(const std::string& name) {
        auto s = std::make_shared<Screen_>(name, log);
        s->setTitle(name);
        return s;
    }
    void SetUp() override {
        CoreUiTest::SetUp();
        root = screen("root");
        nav = NavigationController::make(root);
        nav->setDelegate(&delegate);
        window = Window::make();
        window->setRootViewController(nav);
        window->makeKeyAndVisible();
        log.clear();
    }
    Log log;
    DelegateLog delegate{log};
    std::shared_ptr<Screen_> root;
    std::shared_ptr<NavigationController> nav;
    std::shared_ptr<Window> window;
};

TEST_F(NavigationTest, ScreenViewLoadsOnceWithThePhoneOrTabletLayout) {
    auto a = screen("a");
    EXPECT_FALSE(a->isViewLoaded());
    EXPECT_EQ(a->view()->bounds(), Rect(0, 0, 480, 320));
    a->view();
    Screen::setIdiom(Idiom::Tablet);
    auto b = screen("b");
    EXPECT_EQ(b->view()->bounds(), Rect(0, 0, 1024, 768));
    EXPECT_EQ(log, (Log{"a phone", "a didLoad", "b tablet", "b didLoad"}));
}

TEST_F(NavigationTest, UnanimatedPushCallsEverythingAtOnceInOrder) {
    auto a = screen("a");
    nav->pushViewController(a, false);
    EXPECT_EQ(log, (Log{"a phone", "a didLoad", "root willDisappear", "a willAppear", "willShow a", "root didDisappear",
                        "a didAppear", "didShow a"}));
    EXPECT_EQ(nav->topViewController(), a);
    EXPECT_EQ(a->navigationController(), nav.get());
    // Only the top screen's view is in the navigation view, and it fills it.
    ASSERT_EQ(nav->view()->subviews().size(), 1u);
    EXPECT_EQ(nav->view()->subviews().front(), a->view());
    EXPECT_EQ(a->view()->frame(), nav->view()->bounds());
    EXPECT_EQ(a->view()->window(), window.get());
}

TEST_F(NavigationTest, AnimatedPushFinishesAfterItsTimeOnTheClock) {
    auto a = screen("a");
    a->view();
    log.clear();
    nav->pushViewController(a, true);
    EXPECT_EQ(log, (Log{"root willDisappear", "a willAppear", "willShow a"}));
    advance(0.34);
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(nav->view()->subviews().size(), 2u); // both on screen while sliding
    advance(0.01);
    EXPECT_EQ(log, (Log{"root willDisappear", "a willAppear", "willShow a", "root didDisappear", "a didAppear",
                        "didShow a"}));
    EXPECT_EQ(nav->view()->subviews().size(), 1u);
}

TEST_F(NavigationTest, PopReturnsThePoppedScreenAndShowsTheOneBelow) {
    auto a = screen("a");
    nav->pushViewController(a, false);
    log.clear();
    auto popped = nav->popViewController(true);
    EXPECT_EQ(popped, a);
    EXPECT_EQ(log, (Log{"a willDisappear", "root willAppear", "willShow root"}));
    advance(0.35);
    EXPECT_EQ(log, (Log{"a willDisappear", "root willAppear", "willShow root", "a didDisappear", "root didAppear",
                        "didShow root"}));
    EXPECT_EQ(a->navigationController(), nullptr);
    EXPECT_EQ(a->view()->superview(), nullptr);
    EXPECT_EQ(nav->popViewController(false), nullptr); // the root stays
}

TEST_F(NavigationTest, PopToRootOnlyTellsTheTopAndTheRoot) {
    auto a = screen("a"), b = screen("b"), c = screen("c");
    nav->pushViewController(a, false);
    nav->pushViewController(b, false);
    nav->pushViewController(c, false);
    log.clear();
    auto popped = nav->popToRootViewController(false);
    EXPECT_EQ(popped, (std::vector<ViewControllerPtr>{a, b, c}));
    EXPECT_EQ(log, (Log{"c willDisappear", "root willAppear", "willShow root", "c didDisappear", "root didAppear",
                        "didShow root"}));
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_TRUE(nav->popToRootViewController(false).empty());
}

TEST_F(NavigationTest, PushDuringAnAnimatedPushFinishesTheFirstOne) {
    auto a = screen("a"), b = screen("b");
    a->view();
    b->view();
    log.clear();
    nav->pushViewController(a, true);
    nav->pushViewController(b, false);
    EXPECT_EQ(log,
              (Log{"root willDisappear", "a willAppear", "willShow a", "root didDisappear", "a didAppear", "didShow a",
                   "a willDisappear", "b willAppear", "willShow b", "a didDisappear", "b didAppear", "didShow b"}));
    advance(1);
    EXPECT_EQ(log.size(), 12u); // the first push's timer does not finish it again
}

TEST_F(NavigationTest, ModalScreenCoversTheScreenInThePresentersWindow) {
    auto sheet = screen("sheet");
    sheet->view();
    log.clear();
    root->presentModalViewController(sheet, true);
    EXPECT_EQ(log, (Log{"root willDisappear", "sheet willAppear"}));
    EXPECT_EQ(sheet->view()->window(), window.get());
    EXPECT_EQ(sheet->view()->frame(), window->bounds());
    EXPECT_EQ(window->subviews().back(), sheet->view());
    EXPECT_EQ(nav->visibleViewController(), sheet);
    advance(0.35);
    EXPECT_EQ(log, (Log{"root willDisappear", "sheet willAppear", "sheet didAppear", "root didDisappear"}));

    log.clear();
    sheet->dismissModalViewController(false); // asked of the presented one: its presenter dismisses it
    EXPECT_EQ(log, (Log{"sheet willDisappear", "root willAppear", "sheet didDisappear", "root didAppear"}));
    EXPECT_EQ(root->modalViewController(), nullptr);
    EXPECT_EQ(sheet->view()->superview(), nullptr);
    EXPECT_EQ(sheet->presentingViewController(), nullptr);
}

TEST_F(NavigationTest, DestroyedNavigationControllerLeavesNoBackPointers) {
    auto orphan = screen("orphan");
    {
        auto other = NavigationController::make(screen("base"));
        other->pushViewController(orphan, true); // the transition timer is still pending
    }
    EXPECT_EQ(orphan->navigationController(), nullptr);
    advance(1); // the invalidated timer must not run
}
