#include "app/widgets/CircularProgressIndicator.h"
#include "app/widgets/ColoredProgressView.h"
#include "app/widgets/SubSeatView.h"
#include "app/widgets/TimerProgressView.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/GraphicsContext.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::RunLoop;
using platform::ui::Color;
using platform::ui::Rect;

class SeatIndicatorsTest : public ::testing::Test {
protected:
    // Ticks of the seat countdown until it stops (bounded).
    static int ticksUntilStopped(SubSeatView& seat, int limit = 100000) {
        int ticks = 0;
        while (seat.isCounting() && ticks < limit) {
            RunLoop::main().advance(SubSeatView::TickSeconds);
            ++ticks;
        }
        return ticks;
    }
    // The colour the indicator draws in at a progress.
    static Color drawnColor(CircularProgressIndicator& indicator, float progress) {
        indicator.setProgress(progress);
        platform::ui::RecordingContext context;
        indicator.draw(context);
        return indicator.fillColor();
    }

    AppEnvironment environment_;
    platform::ScopedManualClock clock_;
};

TEST_F(SeatIndicatorsTest, TwentySecondsLeftRunsOutAfterTwentySecondsOfTicksAndHidesTheCountdown) {
    auto seat = SubSeatView::make(Rect{0, 0, 60, 60});
    seat->startWithSeconds(20, 20);
    EXPECT_EQ(seat->CPI()->alpha(), 1);
    EXPECT_EQ(seat->CPI()->progress(), 0);
    const int ticks = ticksUntilStopped(*seat);
    EXPECT_NEAR(ticks, 20 / 0.033, 2);
    EXPECT_EQ(seat->CPI()->alpha(), 0);
    EXPECT_FALSE(seat->timer());
}

TEST_F(SeatIndicatorsTest, LateEntryRunsTheWholePieInTheSecondsLeft) {
    auto seat = SubSeatView::make(Rect{0, 0, 60, 60});
    seat->startWithSeconds(30, 10); // a 30 s turn joined with 10 s left
    EXPECT_EQ(seat->limitseconds(), 10);
    EXPECT_NEAR(ticksUntilStopped(*seat), 10 / 0.033, 2);
}

TEST_F(SeatIndicatorsTest, NoTimeLeftStopsAtTheFirstTick) {
    auto seat = SubSeatView::make(Rect{0, 0, 60, 60});
    seat->startWithSeconds(15, 0);
    EXPECT_EQ(ticksUntilStopped(*seat), 1);
    EXPECT_EQ(seat->CPI()->alpha(), 0);
}

TEST_F(SeatIndicatorsTest, RestartReplacesTheRunningCountdownAndStopOnlyHidesAnIdleSeat) {
    auto seat = SubSeatView::make(Rect{0, 0, 60, 60});
    seat->stop();
    EXPECT_EQ(seat->CPI()->alpha(), 0);
    seat->startWithSeconds(20, 20);
    RunLoop::main().advance(5);
    auto first = seat->timer();
    seat->startWithSeconds(20, 1);
    EXPECT_FALSE(first->isValid());
    EXPECT_EQ(seat->CPI()->progress(), 0);
    EXPECT_NEAR(ticksUntilStopped(*seat), 1 / 0.033, 2);
}

TEST_F(SeatIndicatorsTest, PieIsGreenToHalfYellowToEightyPercentThenRed) {
    auto indicator = CircularProgressIndicator::make(Rect{0, 0, 60, 60});
    EXPECT_EQ(drawnColor(*indicator, 0), Color::white()) << "white before the first change";
    EXPECT_EQ(drawnColor(*indicator, 0.25f), Color::green());
    EXPECT_EQ(drawnColor(*indicator, 0.5f), Color::green());
    EXPECT_EQ(drawnColor(*indicator, 0.51f), Color::yellow());
    EXPECT_EQ(drawnColor(*indicator, 0.79f), Color::yellow());
    EXPECT_EQ(drawnColor(*indicator, 0.8f), Color::red()) << "a single-precision 0.8 lies above 0.8";
    EXPECT_EQ(drawnColor(*indicator, 0), Color::red()) << "progress 0 keeps the last colour";
    EXPECT_EQ(drawnColor(*indicator, 7), Color::red());
    EXPECT_EQ(indicator->progress(), 1) << "the drawing clamps the stored progress";
}

TEST_F(SeatIndicatorsTest, PieCoversTheTurnStillToRun) {
    auto indicator = CircularProgressIndicator::make(Rect{0, 0, 60, 60});
    platform::ui::RecordingContext whole;
    indicator->draw(whole);
    EXPECT_EQ(whole.linesStartingWith("fillPath").size(), 1u);
    indicator->setProgress(1);
    platform::ui::RecordingContext none;
    indicator->draw(none);
    EXPECT_TRUE(none.linesStartingWith("fillPath").empty()) << "nothing left to draw at the end";
}

TEST_F(SeatIndicatorsTest, BarAnimatesInHundredthsEveryTwoHundredthsOfASecond) {
    auto bar = ColoredProgressView::make(Rect{0, 0, 100, 14});
    bar->setProgress(0.30);
    bar->setProgress(0.35, true);
    for (double expected : {0.31, 0.32, 0.33, 0.34, 0.35}) {
        RunLoop::main().advance(ColoredProgressView::StepSeconds);
        EXPECT_NEAR(bar->progress(), expected, 1e-9);
    }
    RunLoop::main().advance(ColoredProgressView::StepSeconds);
    EXPECT_FALSE(bar->isAnimating()) << "the timer ends on the target";
    bar->setProgress(0.30, true);
    for (double expected : {0.34, 0.33, 0.32, 0.31, 0.30}) {
        RunLoop::main().advance(ColoredProgressView::StepSeconds);
        EXPECT_NEAR(bar->progress(), expected, 1e-9);
    }
}

TEST_F(SeatIndicatorsTest, BarTargetOutsideTheBarEndsAtItsEdge) {
    auto bar = ColoredProgressView::make(Rect{0, 0, 100, 14});
    bar->setProgress(0.98);
    bar->setProgress(1.5, true);
    RunLoop::main().advance(1);
    EXPECT_EQ(bar->progress(), 1);
    EXPECT_FALSE(bar->isAnimating());
}

TEST_F(SeatIndicatorsTest, BarCornersFollowItsHeight) {
    EXPECT_EQ(ColoredProgressView::cornerRadiusForHeight(14), 4);
    EXPECT_EQ(ColoredProgressView::cornerRadiusForHeight(15), 6);
    EXPECT_EQ(ColoredProgressView::cornerRadiusForHeight(29), 6);
    EXPECT_EQ(ColoredProgressView::cornerRadiusForHeight(30), 10);
}

TEST_F(SeatIndicatorsTest, BarDrawsBlackTrackThenTintedFill) {
    auto bar = ColoredProgressView::make(Rect{0, 0, 102, 14});
    bar->setTintColor(Color::rgba(255, 0, 0));
    bar->setProgress(0.5);
    platform::ui::RecordingContext context;
    bar->draw(context);
    auto fills = context.linesStartingWith("setFillColor");
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0], "setFillColor 0,0,0,1");
    EXPECT_EQ(fills[1], "setFillColor 1,0,0,1");
    EXPECT_EQ(context.linesStartingWith("strokePath").size(), 1u);
}

TEST_F(SeatIndicatorsTest, TimerPieFillsThePartThatHasRun) {
    auto timer = TimerProgressView::make(Rect{0, 0, 40, 40});
    platform::ui::RecordingContext empty;
    timer->draw(empty);
    EXPECT_TRUE(empty.linesStartingWith("fillPath").empty());
    timer->setProgress(0.25f);
    platform::ui::RecordingContext quarter;
    timer->draw(quarter);
    EXPECT_EQ(quarter.linesStartingWith("setFillColor"), std::vector<std::string>{"setFillColor 0,0,0,0.5"});
}

} // namespace
} // namespace kavo::test
