#include "CoreTestSupport.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <numbers>

using namespace platform::ui;

namespace {

// Writes each touch it gets as "<name> began|moved|ended|cancelled".
class TouchLog : public View {
public:
    TouchLog(Rect frame, std::string name, std::vector<std::string>& log, bool handles = true)
        : View(frame), name_(std::move(name)), log_(log), handles_(handles) {}
    void touchesBegan(const std::vector<Touch>& t) override { note("began", t, &Responder::touchesBegan); }
    void touchesMoved(const std::vector<Touch>& t) override { note("moved", t, &Responder::touchesMoved); }
    void touchesEnded(const std::vector<Touch>& t) override { note("ended", t, &Responder::touchesEnded); }
    void touchesCancelled(const std::vector<Touch>& t) override { note("cancelled", t, &Responder::touchesCancelled); }
    Point lastLocation;

private:
    void note(const char* what, const std::vector<Touch>& t, void (Responder::*pass)(const std::vector<Touch>&)) {
        log_.push_back(name_ + " " + what);
        lastLocation = t.front().locationInView(this);
        if (!handles_ && nextResponder()) (nextResponder()->*pass)(t); // not handled: up the chain
    }
    std::string name_;
    std::vector<std::string>& log_;
    bool handles_;
};

class TouchController : public ViewController {
public:
    explicit TouchController(std::vector<std::string>& log) : log_(log) {}
    void touchesBegan(const std::vector<Touch>&) override { log_.push_back("controller began"); }
    void touchesEnded(const std::vector<Touch>&) override { log_.push_back("controller ended"); }

private:
    std::vector<std::string>& log_;
};

class ButtonLike : public TouchLog {
public:
    using TouchLog::TouchLog;
    bool isControl() const override { return true; }
};

} // namespace

class TouchTest : public CoreUiTest {
protected:
    std::shared_ptr<Window> shownWindow(double level = WindowLevel::Normal) {
        auto window = Window::make();
        window->setWindowLevel(level);
        window->makeKeyAndVisible();
        return window;
    }
    void tap(Point p) {
        Application::shared().dispatchTouch(TouchPhase::Began, p);
        Application::shared().dispatchTouch(TouchPhase::Ended, p);
    }
    std::vector<std::string> log;
};

TEST_F(TouchTest, TheViewATouchBeganInGetsTheWholeSequence) {
    auto window = shownWindow();
    auto left = std::make_shared<TouchLog>(Rect{0, 0, 100, 100}, "left", log);
    auto right = std::make_shared<TouchLog>(Rect{100, 0, 100, 100}, "right", log);
    window->addSubview(left);
    window->addSubview(right);
    auto& app = Application::shared();
    app.dispatchTouch(TouchPhase::Began, {50, 50});
    app.dispatchTouch(TouchPhase::Moved, {150, 50}); // over the other view now
    EXPECT_EQ(left->lastLocation, (Point{150, 50}));
    app.dispatchTouch(TouchPhase::Ended, {150, 50});
    EXPECT_EQ(log, (std::vector<std::string>{"left began", "left moved", "left ended"}));
    EXPECT_EQ(app.touchedView(), nullptr);
}

TEST_F(TouchTest, TouchLocationsAreInTheViewsOwnCoordinates) {
    auto window = shownWindow();
    auto holder = View::make({100, 100, 100, 100});
    auto target = std::make_shared<TouchLog>(Rect{10, 10, 50, 50}, "target", log);
    holder->addSubview(target);
    window->addSubview(holder);
    tap({120, 130});
    EXPECT_EQ(target->lastLocation, (Point{10, 20}));
}

TEST_F(TouchTest, HigherWindowLevelsGetTouchesFirst) {
    auto normal = shownWindow(WindowLevel::Normal);
    auto underneath = std::make_shared<TouchLog>(Rect{0, 0, 480, 320}, "screen", log);
    normal->addSubview(underneath);
    auto alert = shownWindow(WindowLevel::Alert);
    auto dialog = std::make_shared<TouchLog>(Rect{140, 100, 200, 120}, "dialog", log);
    alert->addSubview(dialog);
    // The alert window is empty outside the dialog, but it still covers the screen.
    alert->setUserInteractionEnabled(true);

    tap({200, 150});
    EXPECT_EQ(log.back(), "dialog ended");
    ASSERT_EQ(Window::visibleWindows().size(), 2u);
    EXPECT_EQ(Window::visibleWindows().back().get(), alert.get());

    // A window that does not take touches lets them through to the one below.
    alert->setUserInteractionEnabled(false);
    tap({200, 150});
    EXPECT_EQ(log.back(), "screen ended");

    alert->setHidden(true);
    alert->setUserInteractionEnabled(true);
    tap({200, 150});
    EXPECT_EQ(log.back(), "screen ended");
    EXPECT_EQ(Window::visibleWindows().size(), 1u);
}

TEST_F(TouchTest, HiddenAndDisabledViewsLetTouchesThrough) {
    auto window = shownWindow();
    auto below = std::make_shared<TouchLog>(Rect{0, 0, 100, 100}, "below", log);
    auto cover = std::make_shared<TouchLog>(Rect{0, 0, 100, 100}, "cover", log);
    window->addSubview(below);
    window->addSubview(cover);
    tap({10, 10});
    cover->setUserInteractionEnabled(false);
    tap({10, 10});
    cover->setUserInteractionEnabled(true);
    cover->setHidden(true);
    tap({10, 10});
    EXPECT_EQ(log, (std::vector<std::string>{"cover began", "cover ended", "below began", "below ended", "below began",
                                             "below ended"}));
}

TEST_F(TouchTest, TransformedViewIsTouchedWhereItIsDrawn) {
    auto window = shownWindow();
    auto seat = std::make_shared<TouchLog>(Rect{200, 100, 20, 100}, "seat", log);
    seat->setTransform(AffineTransform::rotation(std::numbers::pi / 4));
    window->addSubview(seat);
    tap({210, 150}); // the centre is on it whatever the turn
    tap({202, 102}); // the unturned corner is no longer covered
    EXPECT_EQ(log, (std::vector<std::string>{"seat began", "seat ended"}));
}

TEST_F(TouchTest, UnhandledTouchesGoUpToTheOwningControllerThenTheSuperview) {
    auto window = shownWindow();
    auto controller = std::make_shared<TouchController>(log);
    window->setRootViewController(controller);
    auto passer = std::make_shared<TouchLog>(Rect{0, 0, 50, 50}, "passer", log, false);
    controller->view()->addSubview(passer);
    tap({10, 10});
    EXPECT_EQ(log, (std::vector<std::string>{"passer began", "controller began", "passer ended", "controller ended"}));
    EXPECT_EQ(controller->nextResponder(), window.get());
    EXPECT_EQ(controller->view()->nextResponder(), controller.get());
}

TEST_F(TouchTest, DoubleTapRecognizerFiresOnTheSecondTapAndCancelsIt) {
    auto window = shownWindow();
    auto board = std::make_shared<TouchLog>(Rect{0, 0, 200, 200}, "board", log);
    window->addSubview(board);
    int doubleTaps = 0;
    Point where;
    board->addGestureRecognizer(TapGestureRecognizer::make(2, [&](TapGestureRecognizer& r) {
        ++doubleTaps;
        where = r.locationInView(board.get());
    }));
    tap({20, 30});
    advance(0.2);
    EXPECT_EQ(doubleTaps, 0);
    tap({22, 31});
    EXPECT_EQ(doubleTaps, 1);
    EXPECT_EQ(where, (Point{22, 31}));
    EXPECT_EQ(log, (std::vector<std::string>{"board began", "board ended", "board began", "board cancelled"}));

    // Two taps too far apart in time are two single taps.
    tap({20, 30});
    advance(0.5);
    tap({20, 30});
    EXPECT_EQ(doubleTaps, 1);
    advance(0.1);
    tap({20, 30});
    EXPECT_EQ(doubleTaps, 2);
}

TEST_F(TouchTest, SwipeRecognizerOnAnAncestorTakesOverTheDrag) {
    auto window = shownWindow();
    auto screen = View::make({0, 0, 480, 320});
    auto area = std::make_shared<TouchLog>(Rect{0, 0, 480, 320}, "area", log);
    screen->addSubview(area);
    window->addSubview(screen);
    int lefts = 0, rights = 0;
    screen->addGestureRecognizer(SwipeGestureRecognizer::make(SwipeDirection::Left, [&](auto&) { ++lefts; }));
    screen->addGestureRecognizer(SwipeGestureRecognizer::make(SwipeDirection::Right, [&](auto&) { ++rights; }));
    auto& app = Application::shared();
    app.dispatchTouch(TouchPhase::Began, {300, 100});
    app.dispatchTouch(TouchPhase::Moved, {280, 102});
    app.dispatchTouch(TouchPhase::Moved, {220, 105});
    app.dispatchTouch(TouchPhase::Moved, {200, 105});
    app.dispatchTouch(TouchPhase::Ended, {200, 105});
    EXPECT_EQ(lefts, 1);
    EXPECT_EQ(rights, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"area began", "area moved", "area cancelled"}));

    // The edges of a swipe (here the swipe back's direction): 50 points along at least,
    // and no steeper than one point across for two along.
    const struct {
        double dx, dy;
        int fires;
    } drags[] = {{60, 30, 1}, {60, 31, 0}, {60, -30, 1}, {60, -31, 0}, {50, 0, 1}, {49, 0, 0}, {-60, 0, 0}};
    for (const auto& drag : drags) {
        const int before = rights;
        app.dispatchTouch(TouchPhase::Began, {100, 100});
        app.dispatchTouch(TouchPhase::Ended, {100 + drag.dx, 100 + drag.dy});
        EXPECT_EQ(rights - before, drag.fires) << drag.dx << ", " << drag.dy;
    }
    EXPECT_EQ(lefts, 2);
}

TEST_F(TouchTest, GesturesWithoutCancellingLeaveTheViewItsTouches) {
    auto window = shownWindow();
    auto area = std::make_shared<TouchLog>(Rect{0, 0, 480, 320}, "area", log);
    window->addSubview(area);
    int taps = 0;
    auto recognizer = TapGestureRecognizer::make(1, [&](auto&) { ++taps; });
    recognizer->setCancelsTouchesInView(false);
    area->addGestureRecognizer(recognizer);
    tap({10, 10});
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(log.back(), "area ended");
}

TEST_F(TouchTest, SingleTapOnAControlIsTheControlsNotTheScreens) {
    auto window = shownWindow();
    auto screen = View::make({0, 0, 480, 320});
    auto button = std::make_shared<ButtonLike>(Rect{10, 10, 80, 30}, "button", log);
    screen->addSubview(button);
    window->addSubview(screen);
    int screenTaps = 0;
    screen->addGestureRecognizer(TapGestureRecognizer::make(1, [&](auto&) { ++screenTaps; }));
    tap({20, 20});
    EXPECT_EQ(screenTaps, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"button began", "button ended"}));
    tap({300, 200});
    EXPECT_EQ(screenTaps, 1);
}

TEST_F(TouchTest, LongPressBeginsAfterItsTimeOnTheClock) {
    auto window = shownWindow();
    auto area = std::make_shared<TouchLog>(Rect{0, 0, 480, 320}, "area", log);
    window->addSubview(area);
    std::vector<GestureState> states;
    area->addGestureRecognizer(LongPressGestureRecognizer::make([&](auto& r) { states.push_back(r.state()); }));
    auto& app = Application::shared();
    app.dispatchTouch(TouchPhase::Began, {50, 50});
    advance(0.49);
    EXPECT_TRUE(states.empty());
    advance(0.02);
    EXPECT_EQ(states, (std::vector<GestureState>{GestureState::Began}));
    app.dispatchTouch(TouchPhase::Ended, {50, 50});
    EXPECT_EQ(states.back(), GestureState::Ended);
    EXPECT_EQ(log, (std::vector<std::string>{"area began", "area cancelled"}));
}

TEST_F(TouchTest, PanReportsTheTranslation) {
    auto window = shownWindow();
    auto area = View::make({0, 0, 480, 320});
    window->addSubview(area);
    std::vector<Point> moves;
    area->addGestureRecognizer(
        PanGestureRecognizer::make([&](PanGestureRecognizer& r) { moves.push_back(r.translationInView(area.get())); }));
    auto& app = Application::shared();
    app.dispatchTouch(TouchPhase::Began, {100, 100});
    app.dispatchTouch(TouchPhase::Moved, {103, 100}); // too small to begin
    app.dispatchTouch(TouchPhase::Moved, {120, 110});
    app.dispatchTouch(TouchPhase::Ended, {130, 90});
    EXPECT_EQ(moves, (std::vector<Point>{{20, 10}, {30, -10}}));
}

TEST_F(TouchTest, ViewRemovedWhileTouchedStillGetsTheEndSafely) {
    auto window = shownWindow();
    std::weak_ptr<View> weak;
    {
        auto temp = std::make_shared<TouchLog>(Rect{0, 0, 100, 100}, "temp", log);
        weak = temp;
        window->addSubview(temp);
    }
    auto& app = Application::shared();
    app.dispatchTouch(TouchPhase::Began, {10, 10});
    weak.lock()->removeFromSuperview();
    EXPECT_FALSE(weak.expired()); // the touch holds it until the sequence ends
    app.dispatchTouch(TouchPhase::Ended, {10, 10});
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(log.back(), "temp ended");
}
