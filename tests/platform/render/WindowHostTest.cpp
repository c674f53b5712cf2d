#include "platform/render/WindowHost.h"

#include "RenderTestSupport.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "tests/platform/runtime/Marks.h"
#include "tests/support/StateWaits.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

// The host runs here on SDL's dummy video driver (set for every test): a window with a
// framebuffer that nobody sees, fed with events pushed into SDL's queue as the desktop would.
namespace platform::render::test {
namespace {

class WindowHostTest : public RenderTest {
protected:
    // Never a real desktop, even when the developer running the tests has one.
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        RenderTest::SetUp();
    }
    void TearDown() override {
        ui::Application::shared().reset();
        RenderTest::TearDown();
    }

    // A time limit for every run, so a fault cannot hang the test: a bound for what never
    // comes, far above what any load makes of a run.
    static constexpr double kSafety = 30;
    void limitRun(WindowHost& host) {
        safety_ = performAfterDelay(kSafety, [this, &host] {
            timedOut_ = true;
            host.stop();
        });
    }

    // Stops the host once `done` holds, looked at every 10 ms (the safety ends it else).
    void stopWhen(WindowHost& host, std::function<bool()> done) {
        lookAgain_ = [this, &host, done = std::move(done)] {
            if (done()) return host.stop();
            performAfterDelay(0.01, lookAgain_);
        };
        performAfterDelay(0.01, lookAgain_);
    }

    static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
    static SDL_Event mouse(uint32_t type, int x, int y) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.clicks = 1;
        event.button.x = x;
        event.button.y = y;
        return event;
    }

    std::shared_ptr<Timer> safety_;
    bool timedOut_ = false;
    std::function<void()> lookAgain_;
};

// Takes typed text and keys while it is the first responder; a click focuses it, as a
// text field's does.
class TypingView : public ui::View {
public:
    using View::View;
    void touchesEnded(const std::vector<ui::Touch>&) override { becomeFirstResponder(); }
    bool canBecomeFirstResponder() const override { return true; }
    bool isTextInput() const override { return true; }
    void insertText(const std::string& text) override { typed += text; }
    void deleteBackward() override { typed += "<back>"; }
    void pressReturn() override { typed += "<return>"; }
    std::string typed;
};

TEST_F(WindowHostTest, DummyVideoDriverIsNoDisplay) {
    EXPECT_FALSE(WindowHost::displayAvailable());
}

TEST_F(WindowHostTest, ClosureFromAnotherThreadWakesTheLoop) {
    auto window = ui::Window::make();
    window->makeKeyAndVisible();
    WindowHost host;
    limitRun(host);
    bool ran = false, ranBeforeTheSafetyWasDue = false;
    // Posted once the loop waits with nothing else to wake it but the safety timer: only
    // the post's own wake-up lets the closure run long before that timer is due (a loop
    // woken by the timer runs the closure first, then finds the timer due).
    platform::test::Marks marks;
    host.setSleepsHook([&] { marks.mark("sleeps"); });
    std::thread poster([&] {
        if (!marks.waitFor("sleeps")) return;
        runOnMainThread([&] {
            ran = true;
            // With a second to spare: the wait for the timer may end a millisecond early.
            ranBeforeTheSafetyWasDue = Clock::time() + 1 < safety_->fireDate();
            host.stop();
        });
    });
    EXPECT_TRUE(host.run());
    poster.join();
    host.setSleepsHook(nullptr);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(ranBeforeTheSafetyWasDue) << "the loop slept until its timer";
    EXPECT_FALSE(timedOut_);
    EXPECT_GE(host.framesDrawn(), 1u);
}

TEST_F(WindowHostTest, PumpInsideALongTaskHandlesClicksAndRedraws) {
    auto window = ui::Window::make();
    auto button = ui::Button::make({100, 100, 120, 40});
    window->addSubview(button);
    window->makeKeyAndVisible();
    WindowHost host;
    limitRun(host);
    int taps = 0;
    button->onTouchUpInside([&] { ++taps; });
    uint64_t before = 0, after = 0;
    // A task that holds the main thread (as a script run does) and pumps the window.
    runOnMainThread([&] {
        before = host.framesDrawn();
        window->setBackgroundColor(ui::Color::red());
        push(mouse(SDL_MOUSEBUTTONDOWN, 160, 120));
        push(mouse(SDL_MOUSEBUTTONUP, 160, 120));
        // Pumps the window until the tap and its frame came; what came is checked below.
        (void)kavo::test::lookUntil(
            [&] {
                if (taps > 0 && host.framesDrawn() != before) return true;
                host.pump();
                return false;
            },
            kSafety, 0.02);
        after = host.framesDrawn();
        host.stop();
    });
    ASSERT_TRUE(host.run());
    EXPECT_EQ(taps, 1);
    EXPECT_GT(after, before);
    EXPECT_FALSE(timedOut_);
}

TEST_F(WindowHostTest, RedrawsOnlyWhenSomethingDrawnChanged) {
    auto window = ui::Window::make();
    window->makeKeyAndVisible();
    WindowHost host;
    limitRun(host);
    uint64_t settled = 0, idle = 0, changed = 0;
    // Looked at every 10 ms: the first frame; then, nothing changing, 0.3 s in which a frame
    // drawn for nothing would come (a negative check's chance); then a change, the frame it
    // brings, and 0.2 s more in which a second one would come.
    std::function<void()> firstFrame, changeDrawn;
    firstFrame = [&] {
        if (host.framesDrawn() == 0) return (void)performAfterDelay(0.01, firstFrame);
        settled = host.framesDrawn();
        performAfterDelay(0.3, [&] {
            idle = host.framesDrawn();
            window->setBackgroundColor(ui::Color::red());
            changeDrawn();
        });
    };
    changeDrawn = [&] {
        if (host.framesDrawn() == idle) return (void)performAfterDelay(0.01, changeDrawn);
        performAfterDelay(0.2, [&] {
            changed = host.framesDrawn();
            host.stop();
        });
    };
    performAfterDelay(0.01, firstFrame);
    ASSERT_TRUE(host.run());
    ASSERT_FALSE(timedOut_);
    EXPECT_GE(settled, 1u);
    EXPECT_EQ(idle, settled) << "nothing changed, nothing drawn";
    EXPECT_EQ(changed, idle + 1);
}

// A slow move (the event ticker) is drawn at half the frame rate; between its frames the
// loop sleeps instead of turning until the next one is due.
TEST_F(WindowHostTest, SlowMoveSleepsBetweenItsFrames) {
    auto window = ui::Window::make();
    window->makeKeyAndVisible();
    auto strip = ui::View::make(ui::Rect{0, 0, 200, 20});
    window->addSubview(strip);
    WindowHost host;
    limitRun(host);
    uint64_t turns = 0, frames = 0;
    // Over the move's first frames, counted once four are drawn (looked at every quarter
    // of a second: a turn each, within the count's allowance).
    std::function<void()> counted;
    counted = [&] {
        if (host.framesDrawn() - frames < 4) return (void)performAfterDelay(0.25, counted);
        turns = host.loopTurns() - turns;
        frames = host.framesDrawn() - frames;
        host.stop();
    };
    performAfterDelay(0.05, [&] {
        ui::AnimationOptions linear;
        linear.curve = ui::AnimationCurve::Linear;
        ui::View::animate(2, 0, linear, [&] { strip->setFrame(ui::Rect{-100, 0, 200, 20}); });
        turns = host.loopTurns();
        frames = host.framesDrawn();
        performAfterDelay(0.25, counted);
    });
    ASSERT_TRUE(host.run());
    ASSERT_FALSE(timedOut_);
    EXPECT_GE(frames, 2u) << "the move is drawn";
    EXPECT_LE(turns, 3 * frames + 10) << frames << " frames";
}

TEST_F(WindowHostTest, MouseClickTapsTheButtonUnderIt) {
    auto window = ui::Window::make();
    auto button = ui::Button::make({100, 100, 120, 40});
    button->setTitle("Tiếp tục");
    window->addSubview(button);
    window->makeKeyAndVisible();
    WindowHost host;
    limitRun(host);
    int taps = 0;
    button->onTouchUpInside([&] {
        ++taps;
        host.stop();
    });
    performAfterDelay(0.05, [&] {
        push(mouse(SDL_MOUSEBUTTONDOWN, 160, 120));
        push(mouse(SDL_MOUSEBUTTONUP, 160, 120));
    });
    ASSERT_TRUE(host.run());
    EXPECT_EQ(taps, 1);
    EXPECT_FALSE(timedOut_);
}

TEST_F(WindowHostTest, TypedTextAndKeysReachTheFirstResponder) {
    auto window = ui::Window::make();
    auto field = std::make_shared<TypingView>(ui::Rect{10, 10, 100, 30});
    window->addSubview(field);
    window->makeKeyAndVisible();
    WindowHost host;
    limitRun(host);
    bool inputOnWhileEditing = false;
    performAfterDelay(0.05, [&] { field->becomeFirstResponder(); });
    performAfterDelay(0.1, [&] {
        inputOnWhileEditing = SDL_IsTextInputActive();
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        SDL_strlcpy(text.text.text, "ắ", sizeof(text.text.text));
        push(text);
        for (SDL_Keycode key : {SDLK_BACKSPACE, SDLK_RETURN}) {
            SDL_Event down{};
            down.type = SDL_KEYDOWN;
            down.key.keysym.sym = key;
            push(down);
        }
    });
    // Once the last key has come.
    stopWhen(host, [&] { return field->typed.ends_with("<return>"); });
    ASSERT_TRUE(host.run());
    EXPECT_FALSE(timedOut_);
    EXPECT_TRUE(inputOnWhileEditing);
    EXPECT_EQ(field->typed, "ắ<back><return>");
}

// A click on a field and the letters typed right after it can be read in one batch (the
// client was busy or held up): the letters are made text as they are read, before the
// click has focused the field, so the window takes text before any field is focused and
// they reach the field the click focused.
TEST_F(WindowHostTest, TextTypedRightAfterTheClickOnAFieldReachesTheFieldItFocused) {
    auto window = ui::Window::make();
    auto field = std::make_shared<TypingView>(ui::Rect{100, 100, 120, 40});
    window->addSubview(field);
    window->makeKeyAndVisible();
    WindowHost host;
    limitRun(host);
    bool takingTextBeforeFocus = false;
    performAfterDelay(0.05, [&] {
        takingTextBeforeFocus = SDL_IsTextInputActive();
        push(mouse(SDL_MOUSEBUTTONDOWN, 160, 120));
        push(mouse(SDL_MOUSEBUTTONUP, 160, 120));
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        SDL_strlcpy(text.text.text, "quen", sizeof(text.text.text));
        push(text);
    });
    // Once four letters have reached the field (none reach it when the click came late).
    stopWhen(host, [&] { return field->typed.size() >= 4; });
    ASSERT_TRUE(host.run());
    EXPECT_FALSE(timedOut_);
    EXPECT_TRUE(takingTextBeforeFocus);
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_EQ(field->typed, "quen");
}

} // namespace
} // namespace platform::render::test
