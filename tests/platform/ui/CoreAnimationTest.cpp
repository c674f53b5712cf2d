#include "CoreTestSupport.h"
#include "platform/ui/View.h"

using namespace platform::ui;

class AnimationTest : public CoreUiTest {};

TEST_F(AnimationTest, ModelValuesChangeAtOnceAndCompletionRunsAtDelayPlusDuration) {
    auto bar = View::make({0, -24, 480, 24});
    std::vector<bool> finished;
    View::animate(
        0.4, 0.1, {},
        [&] {
            bar->setCenter({240, 12});
        },
        [&](bool f) { finished.push_back(f); });
    EXPECT_EQ(bar->center(), (Point{240, 12})); // the model is final already
    EXPECT_TRUE(finished.empty());
    advance(0.499);
    EXPECT_TRUE(finished.empty());
    advance(0.001);
    EXPECT_EQ(finished, (std::vector<bool>{true}));
}

TEST_F(AnimationTest, ZeroDurationCompletesOnTheNextTurnNotInline) {
    bool done = false;
    View::animate(
        0, [] {}, [&](bool) { done = true; });
    EXPECT_FALSE(done);
    runPending();
    EXPECT_TRUE(done);
}

TEST_F(AnimationTest, RendererSeesInBetweenValuesWhileInFlight) {
    auto label = View::make({480, 0, 100, 24});
    View::animate(2, 0, {.curve = AnimationCurve::Linear, .allowUserInteraction = true}, [&] {
        label->setFrame({-100, 0, 100, 24});
        label->setAlpha(0);
    });
    EXPECT_TRUE(View::animationsInFlight());
    advance(1);
    EXPECT_DOUBLE_EQ(label->presentationFrame().x(), 190);
    EXPECT_DOUBLE_EQ(label->presentationAlpha(), 0.5);
    EXPECT_EQ(label->frame().x(), -100);
    advance(1);
    EXPECT_EQ(label->presentationFrame(), label->frame());
    EXPECT_EQ(label->animationState(), nullptr);
    EXPECT_FALSE(View::animationsInFlight());
}

// A quarter of the way through a one-second fade from 1 to 0, by curve.
TEST_F(AnimationTest, EachCurveShapesTheInBetweenValues) {
    struct Case {
        AnimationCurve curve;
        double alphaAtAQuarter;
        double alphaAtThreeQuarters;
    };
    const Case cases[] = {
        {AnimationCurve::Linear, 0.75, 0.25},
        {AnimationCurve::EaseIn, 0.9375, 0.4375},      // progress t*t
        {AnimationCurve::EaseOut, 0.5625, 0.0625},     // progress 1-(1-t)^2
        {AnimationCurve::EaseInOut, 0.84375, 0.15625}, // progress t*t*(3-2t)
    };
    for (const Case& c : cases) {
        auto view = View::make({0, 0, 10, 10});
        View::animate(1, 0, {.curve = c.curve}, [&] { view->setAlpha(0); });
        advance(0.25);
        EXPECT_DOUBLE_EQ(view->presentationAlpha(), c.alphaAtAQuarter) << int(c.curve);
        advance(0.5);
        EXPECT_DOUBLE_EQ(view->presentationAlpha(), c.alphaAtThreeQuarters) << int(c.curve);
        advance(0.25);
        EXPECT_DOUBLE_EQ(view->presentationAlpha(), 0) << int(c.curve);
    }
}

TEST_F(AnimationTest, NestedAnimationsKeepTheirOwnTimes) {
    auto a = View::make({0, 0, 10, 10});
    auto b = View::make({0, 0, 10, 10});
    std::vector<std::string> order;
    View::animate(
        0.6,
        [&] {
            a->setAlpha(0.5);
            View::animate(
                0.2, [&] { b->setAlpha(0.5); }, [&](bool) { order.push_back("inner"); });
        },
        [&](bool) { order.push_back("outer"); });
    advance(0.2);
    EXPECT_EQ(order, (std::vector<std::string>{"inner"}));
    EXPECT_NE(a->animationState(), nullptr);
    EXPECT_EQ(b->animationState(), nullptr);
    advance(0.4);
    EXPECT_EQ(order, (std::vector<std::string>{"inner", "outer"}));
}

TEST_F(AnimationTest, BeginCommitBlockCallsDidStopWithItsName) {
    auto menu = View::make({0, 0, 100, 30});
    std::vector<std::string> stopped;
    View::beginAnimations("showmenu");
    View::setAnimationDuration(0.6);
    View::setAnimationDelay(0.2);
    View::setAnimationCurve(AnimationCurve::EaseOut);
    View::setAnimationDidStop([&](const std::string& name, bool finished) {
        stopped.push_back(name + (finished ? " finished" : " stopped"));
    });
    menu->setCenter({50, 15});
    View::commitAnimations();
    EXPECT_EQ(menu->center(), (Point{50, 15}));
    advance(0.79);
    EXPECT_TRUE(stopped.empty());
    advance(0.01);
    EXPECT_EQ(stopped, (std::vector<std::string>{"showmenu finished"}));
}

TEST_F(AnimationTest, EmptyBlockStillStops) {
    bool stopped = false;
    View::beginAnimations("hidemenu");
    View::setAnimationDidStop([&](const std::string&, bool) { stopped = true; });
    View::commitAnimations();
    advance(0.2); // the default duration
    EXPECT_TRUE(stopped);
}

TEST_F(AnimationTest, ChangeOutsideABlockEndsTheRunningAnimation) {
    auto v = View::make({0, 0, 10, 10});
    View::animate(1, [&] { v->setCenter({100, 100}); });
    advance(0.5);
    v->setCenter({7, 7});
    EXPECT_EQ(v->presentationCenter(), (Point{7, 7}));
}

TEST_F(AnimationTest, DisabledActionsSetValuesWithoutAnimating) {
    auto v = View::make({0, 0, 10, 10});
    bool done = false;
    Transaction::begin();
    Transaction::setDisableActions(true);
    View::animate(
        1, [&] { v->setAlpha(0.2); }, [&](bool) { done = true; });
    Transaction::commit();
    EXPECT_EQ(v->animationState(), nullptr);
    EXPECT_DOUBLE_EQ(v->presentationAlpha(), 0.2);
    advance(1);
    EXPECT_TRUE(done);
}

TEST_F(AnimationTest, LayerAnimationsRunForTheirTimeThenDropOut) {
    auto card = View::make({0, 0, 40, 60});
    card->layer().addAnimation("rotate", {.keyPath = "transform.rotation.y", .values = {-3.16, 0}, .duration = 0.5});
    EXPECT_EQ(card->layer().animationKeys(), (std::vector<std::string>{"rotate"}));
    EXPECT_TRUE(View::animationsInFlight());
    advance(0.5);
    EXPECT_TRUE(card->layer().animationKeys().empty());
    EXPECT_FALSE(View::animationsInFlight());
}

TEST_F(AnimationTest, AnimatedViewDestroyedBeforeItsCompletionIsHarmless) {
    bool done = false;
    {
        auto v = View::make({0, 0, 10, 10});
        View::animate(
            0.3, [&] { v->setAlpha(0); }, [&](bool) { done = true; });
    }
    EXPECT_FALSE(View::animationsInFlight());
    advance(0.3);
    EXPECT_TRUE(done);
}
