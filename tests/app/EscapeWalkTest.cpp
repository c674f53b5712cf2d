// Escape over a screen's panels: a panel that declares no close is left as it is (Escape is
// not its close), a target that keeps Escape stops it without being counted as closed.
#include "app/EscapeWalk.h"

#include "app/EscapeTarget.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "tests/app/ShellTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

// A panel whose controller says nothing of Escape.
class UndeclaredPanel : public platform::ui::ViewController {};

// A panel that answers Escape as it is told, and counts its closes.
class AnsweringPanel : public platform::ui::ViewController, public EscapeTarget {
public:
    explicit AnsweringPanel(EscapeAnswer answer) : answer_(answer) {}
    EscapeAnswer closeItself() override {
        if (answer_ == EscapeAnswer::closed) {
            view()->removeFromSuperview();
            ++closes;
        }
        return answer_;
    }
    int closes = 0;

private:
    EscapeAnswer answer_;
};

// A screen that never shows the back button, as the game grid.
class GridLikeScreen : public KavoViewController {
public:
    bool hidesBackButton() const override { return true; }
};

class EscapeWalkTest : public ShellTest {
protected:
    static int count(const std::map<std::string, int>& kinds, const std::string& endsWith) {
        int total = 0;
        for (const auto& [kind, times] : kinds)
            if (kind.ends_with(endsWith)) total += times;
        return total;
    }
};

TEST_F(EscapeWalkTest, APanelThatDeclaresNoCloseStaysAndIsReportedAsNotClosed) {
    auto screen = launchAndPush();
    auto panel = std::make_shared<UndeclaredPanel>();
    screen->view()->addSubview(panel->view());

    EXPECT_EQ(EscapeWalk::closeTopmost(*screen), EscapeAnswer::notOpen) << "nothing closed";
    EXPECT_EQ(panel->view()->superview(), screen->view().get()) << "the panel is not taken away without its close";
    EXPECT_EQ(count(EscapeWalk::closedKinds(), "UndeclaredPanel"), 0);
}

TEST_F(EscapeWalkTest, EscapeGoesPastAPanelThatDeclaresNoCloseToTheOneUnderIt) {
    auto screen = launchAndPush();
    auto under = std::make_shared<AnsweringPanel>(EscapeAnswer::closed);
    auto over = std::make_shared<UndeclaredPanel>();
    screen->view()->addSubview(under->view());
    screen->view()->addSubview(over->view());
    const int before = count(EscapeWalk::closedKinds(), "AnsweringPanel");

    EXPECT_EQ(EscapeWalk::closeTopmost(*screen), EscapeAnswer::closed);
    EXPECT_EQ(under->closes, 1);
    EXPECT_EQ(over->view()->superview(), screen->view().get());
    EXPECT_EQ(count(EscapeWalk::closedKinds(), "AnsweringPanel"), before + 1);
}

TEST_F(EscapeWalkTest, ATargetThatKeepsEscapeStopsItAndIsNotCountedAsClosed) {
    auto screen = launchAndPush();
    auto under = std::make_shared<AnsweringPanel>(EscapeAnswer::closed);
    auto keeping = std::make_shared<AnsweringPanel>(EscapeAnswer::keepsEscape);
    screen->view()->addSubview(under->view());
    screen->view()->addSubview(keeping->view());
    const int closedBefore = count(EscapeWalk::closedKinds(), "AnsweringPanel");
    const int keptBefore = count(EscapeWalk::keptKinds(), "AnsweringPanel");

    EXPECT_EQ(EscapeWalk::closeTopmost(*screen), EscapeAnswer::keepsEscape);
    EXPECT_EQ(under->closes, 0) << "what lies under the keeping panel stays";
    EXPECT_EQ(keeping->view()->superview(), screen->view().get());
    EXPECT_EQ(count(EscapeWalk::closedKinds(), "AnsweringPanel"), closedBefore);
    EXPECT_EQ(count(EscapeWalk::keptKinds(), "AnsweringPanel"), keptBefore + 1);
    // Through the application: the kept Escape is not the back button's either.
    EXPECT_TRUE(delegate().escapePressed());
    EXPECT_EQ(top(), screen);
}

// Two quick Escapes after a click that opens a screen: the screen still slides in, and the
// keys wait for it. The first closes it once it is open; the second goes to the screen under
// it, which shows no back button, and does nothing there.
TEST_F(EscapeWalkTest, EscapesPressedWhileAScreenSlidesInCloseItOnceItIsOpen) {
    auto grid = std::make_shared<GridLikeScreen>();
    launch(grid);
    auto opened = std::make_shared<KavoViewController>();
    delegate().navigationController()->pushViewController(opened, true);
    auto& app = platform::ui::Application::shared();
    app.dispatchKey(platform::ui::Key::Escape);
    app.dispatchKey(platform::ui::Key::Escape);
    EXPECT_EQ(top(), opened) << "still sliding in";

    for (int step = 0; step < 20 && (top() != grid || delegate().navigationController()->isTransitioning()); ++step)
        advance(platform::ui::NavigationController::TransitionDuration);
    EXPECT_EQ(top(), grid) << "the opened screen closed once it was open";
    EXPECT_FALSE(delegate().navigationController()->isTransitioning());
    EXPECT_EQ(delegate().navigationController()->viewControllers().size(), 1u) << "and nothing more";
}

} // namespace
} // namespace kavo::test
