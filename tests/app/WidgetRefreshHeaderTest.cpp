#include "app/Resources.h"
#include "app/widgets/RefreshTableHeaderView.h"
#include "platform/foundation/DateFormat.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/GraphicsContext.h"
#include "tests/app/AppTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::RunLoop;
using platform::ui::Rect;

class WidgetRefreshHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Resources::getInstance().loadLanguage();
        header_ = RefreshTableHeaderView::initWithFrameRelativeToFrame(Rect(0, 0, 480, 200));
    }
    static std::string text(const char* key) { return Resources::getInstance().textWithKey(key); }
    bool arrowTurned() const { return !header_->arrowImage()->transform().isIdentity(); }
    bool arrowTurning() const {
        const auto* state = header_->arrowImage()->animationState();
        return state && !state->isOver(platform::Clock::time());
    }

    AppEnvironment environment_;
    platform::ScopedManualClock clock_;
    std::shared_ptr<RefreshTableHeaderView> header_;
};

TEST_F(WidgetRefreshHeaderTest, ItSitsJustAboveTheListAndAsksToPullDown) {
    EXPECT_EQ(header_->frame().maxY(), 0);
    EXPECT_EQ(header_->frame().width(), 480);
    EXPECT_EQ(header_->state(), PullRefreshNormal);
    EXPECT_EQ(header_->statusLabel()->text(), text("KAVO_pullDownToRefresh"));
    EXPECT_FALSE(header_->arrowImage()->isHidden());
    EXPECT_FALSE(header_->activityView()->isAnimating());
}

// A pull by the distance that reloads shows the header's bottom part: a tall header and a
// short one keep their texts, arrow and spinner in it.
TEST_F(WidgetRefreshHeaderTest, APullShowsEveryPartOfTheHeader) {
    for (const auto& header : {header_, RefreshTableHeaderView::make(Rect(0, 0, 320, 60))}) {
        const Rect bounds = header->bounds();
        const Rect shown(0, bounds.height() - RefreshTableHeaderView::kPullDistance, bounds.width(),
                         RefreshTableHeaderView::kPullDistance);
        const platform::ui::ViewPtr parts[] = {header->lastUpdatedLabel(), header->statusLabel(), header->arrowImage(),
                                               header->activityView()};
        for (const auto& part : parts)
            EXPECT_TRUE(shown.contains(part->frame())) << bounds.height() << " " << part->accessibilityIdentifier();
        // The two lines of text stand one above the other, a line's height apart at least.
        EXPECT_GE(std::abs(header->statusLabel()->center().y - header->lastUpdatedLabel()->center().y),
                  header->statusLabel()->font().lineHeight())
            << bounds.height();
    }
}

TEST_F(WidgetRefreshHeaderTest, PullingPastTheThresholdAsksToLetGoAndBackAgain) {
    header_->pullDidScroll(-40, false);
    EXPECT_EQ(header_->state(), PullRefreshNormal);
    header_->pullDidScroll(-65, false);
    EXPECT_EQ(header_->state(), PullRefreshNormal);
    header_->pullDidScroll(-66, false);
    EXPECT_EQ(header_->state(), PullRefreshPulling);
    EXPECT_EQ(header_->statusLabel()->text(), text("KAVO_releaseToRefresh"));
    EXPECT_TRUE(arrowTurned());
    EXPECT_TRUE(arrowTurning());
    header_->pullDidScroll(-30, false);
    EXPECT_EQ(header_->state(), PullRefreshNormal);
    // From "let go" the arrow turns back over the flip time.
    EXPECT_FALSE(arrowTurned());
    EXPECT_TRUE(arrowTurning());
    RunLoop::main().advance(RefreshTableHeaderView::kFlipDuration);
    EXPECT_FALSE(arrowTurning());
}

TEST_F(WidgetRefreshHeaderTest, APullEndingAtTheThresholdReloadsAndOneShortOfItDoesNot) {
    EXPECT_FALSE(header_->pullDidEndDragging(-64, false));
    EXPECT_EQ(header_->state(), PullRefreshNormal);
    EXPECT_TRUE(header_->pullDidEndDragging(-65, false));
    EXPECT_EQ(header_->state(), PullRefreshLoading);
    EXPECT_EQ(header_->statusLabel()->text(), text("KAVO_load"));
    EXPECT_TRUE(header_->activityView()->isAnimating());
    EXPECT_TRUE(header_->arrowImage()->isHidden());
}

TEST_F(WidgetRefreshHeaderTest, NoPullStartsAnotherReloadWhileOneRuns) {
    header_->pullDidScroll(-100, true);
    EXPECT_EQ(header_->state(), PullRefreshNormal);
    EXPECT_FALSE(header_->pullDidEndDragging(-100, true));
    EXPECT_EQ(header_->state(), PullRefreshNormal);
}

TEST_F(WidgetRefreshHeaderTest, AfterLoadingTheArrowIsUprightAtOnce) {
    header_->pullDidScroll(-80, false);
    header_->pullDidEndDragging(-80, false);
    RunLoop::main().advance(1);
    header_->setState(PullRefreshNormal);
    EXPECT_FALSE(arrowTurned());
    EXPECT_FALSE(arrowTurning());
    EXPECT_FALSE(header_->arrowImage()->isHidden());
    EXPECT_FALSE(header_->activityView()->isAnimating());
}

TEST_F(WidgetRefreshHeaderTest, FinishedHidesTheArrowAndKeepsTheText) {
    header_->setState(PullRefreshLoading);
    header_->setState(PullRefreshFinished);
    EXPECT_EQ(header_->statusLabel()->text(), text("KAVO_load"));
    EXPECT_TRUE(header_->arrowImage()->isHidden());
    EXPECT_FALSE(header_->activityView()->isAnimating());
    header_->setState(7);
    EXPECT_EQ(header_->state(), 7);
}

TEST_F(WidgetRefreshHeaderTest, TheLastUpdateShowsTheDateOrThatThereWasNone) {
    header_->setLastRefreshDate(std::nullopt);
    EXPECT_EQ(header_->lastUpdatedLabel()->text(), text("KAVO_neverUpdate"));
    const double date = 1'700'000'000;
    header_->setLastRefreshDate(date);
    EXPECT_EQ(header_->lastUpdatedLabel()->text(),
              text("KAVO_lastUpdate") + ": " + platform::formatShortDate(date) + " " + platform::formatShortTime(date));
}

TEST_F(WidgetRefreshHeaderTest, TheBorderLineIsCentredInItsThickness) {
    platform::ui::RecordingContext none;
    auto plain = RefreshTableHeaderView::make(Rect(0, 0, 320, 60));
    plain->draw(none);
    EXPECT_TRUE(none.linesStartingWith("drawLine").empty());

    plain->setBottomBorderThickness(2);
    platform::ui::RecordingContext drawn;
    plain->draw(drawn);
    EXPECT_EQ(drawn.linesStartingWith("drawLine"), (std::vector<std::string>{"drawLine 0 59 320 59"}));
    EXPECT_EQ(drawn.linesStartingWith("setStrokeColor").size(), 1u);
}

} // namespace
} // namespace kavo::test
