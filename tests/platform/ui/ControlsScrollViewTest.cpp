#include "ControlsTestSupport.h"
#include "platform/ui/Button.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/ScrollView.h"

#include <string>
#include <vector>

using namespace platform::ui;

namespace {
class ScrollLog : public ScrollViewDelegate {
public:
    void didScroll(ScrollView& view) override { offsets.push_back(view.contentOffset().y); }
    void willBeginDragging(ScrollView&) override { calls.push_back("willBeginDragging"); }
    void didEndDragging(ScrollView& view, bool willDecelerate) override {
        calls.push_back(std::string("didEndDragging ") + (willDecelerate ? "decelerating" : "still"));
        offsetAtEnd = view.contentOffset();
    }
    void didEndDecelerating(ScrollView&) override { calls.push_back("didEndDecelerating"); }
    void didEndScrollingAnimation(ScrollView&) override { calls.push_back("didEndScrollingAnimation"); }
    std::vector<std::string> calls;
    std::vector<double> offsets;
    Point offsetAtEnd;
};
} // namespace

class ScrollViewTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        scroll = ScrollView::make({100, 50, 200, 200});
        scroll->setContentSize({200, 800});
        scroll->setDelegate(&log);
        window->addSubview(scroll);
    }
    ScrollLog log;
    std::shared_ptr<ScrollView> scroll;
};

TEST_F(ScrollViewTest, DraggingMovesTheOffsetWithinItsLimits) {
    scroll->setBounces(false);
    drag({200, 230}, {200, 80});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 150}));
    for (int i = 0; i < 3; ++i)
        drag({200, 240}, {200, 60});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 600})); // 800 - 200
    drag({200, 60}, {200, 300}, 3);
    drag({200, 60}, {200, 300}, 3);
    drag({200, 60}, {200, 300}, 3);
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 0}));
    drag({120, 100}, {280, 100}); // sideways: the content is not wider than the view
    EXPECT_EQ(scroll->contentOffset().x, 0);
    EXPECT_EQ(log.calls.front(), "willBeginDragging");
    EXPECT_EQ(log.calls[1], "didEndDragging still");
}

TEST_F(ScrollViewTest, PullingPastTheTopSpringsBackOnTheClock) {
    drag({200, 60}, {200, 200});
    EXPECT_EQ(log.offsetAtEnd, (Point{0, -70})); // half the 140 points pulled
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 0}));
    EXPECT_TRUE(scroll->isDecelerating());
    EXPECT_EQ(log.calls, (std::vector<std::string>{"willBeginDragging", "didEndDragging decelerating"}));
    advance(ScrollView::settleDuration());
    EXPECT_FALSE(scroll->isDecelerating());
    EXPECT_EQ(log.calls.back(), "didEndDecelerating");
}

TEST_F(ScrollViewTest, InsetChangedWhenTheDragEndsKeepsTheHeaderRoom) {
    struct Refresh : ScrollLog {
        void didEndDragging(ScrollView& view, bool) override {
            if (view.contentOffset().y <= -65) view.setContentInset({60, 0, 0, 0});
        }
    } refresh;
    scroll->setDelegate(&refresh);
    drag({200, 60}, {200, 200});
    EXPECT_EQ(scroll->contentOffset(), (Point{0, -60}));
}

TEST_F(ScrollViewTest, PagingSettlesOnTheNextPageAfterAQuarterPageDrag) {
    scroll->setContentSize({600, 200});
    scroll->setPagingEnabled(true);
    drag({250, 150}, {190, 150}); // 60 of 200: next page
    EXPECT_EQ(scroll->contentOffset(), (Point{200, 0}));
    drag({250, 150}, {220, 150}); // 30: stays
    EXPECT_EQ(scroll->contentOffset(), (Point{200, 0}));
    drag({150, 150}, {280, 150}); // back
    EXPECT_EQ(scroll->contentOffset(), (Point{0, 0}));
    advance(1);
}

TEST_F(ScrollViewTest, AnimatedOffsetEndsOnTheClock) {
    scroll->setContentOffset({0, 300}, true);
    EXPECT_EQ(scroll->contentOffset().y, 300);
    EXPECT_EQ(log.offsets, (std::vector<double>{300}));
    advance(ScrollView::settleDuration() - 0.01);
    EXPECT_TRUE(log.calls.empty());
    advance(0.01);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"didEndScrollingAnimation"}));
    scroll->scrollRectToVisible({0, 700, 10, 50}, false);
    EXPECT_EQ(scroll->contentOffset().y, 550);
}

TEST_F(ScrollViewTest, DragStartingOnAButtonScrollsAndDoesNotPressIt) {
    auto button = Button::make({20, 20, 160, 60});
    button->setTitle("Tiến lên");
    std::vector<ControlEvent> events;
    for (ControlEvent e : {ControlEvent::TouchUpInside, ControlEvent::TouchCancel})
        button->addTarget(e, [&events, e] { events.push_back(e); });
    scroll->addSubview(button);
    Point start = centerOf(*button);
    drag(start, {start.x, start.y - 40});
    EXPECT_EQ(scroll->contentOffset().y, 40);
    EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::TouchCancel}));
    events.clear();
    tap(*button);
    EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::TouchUpInside}));
}

namespace {
// Seat counts 2 to 4, as a one-column picker.
class SeatPicker : public PickerViewDataSource, public PickerViewDelegate {
public:
    int numberOfRowsInComponent(PickerView&, int) override { return 3; }
    std::string titleForRow(PickerView&, int row, int) override { return std::to_string(row + 2); }
    void didSelectRow(PickerView&, int row, int component) override { picked.push_back({row, component}); }
    std::vector<std::pair<int, int>> picked;
};
} // namespace

TEST_F(ScrollViewTest, PickerSelectsByTapAndByDrag) {
    SeatPicker seats;
    auto picker = PickerView::make({0, 30, 480, 166});
    picker->setDataSource(&seats);
    picker->setDelegate(&seats);
    window->addSubview(picker);
    EXPECT_EQ(picker->numberOfComponents(), 1);
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    Point middle = centerOf(*picker);
    tap(Point{middle.x, middle.y + picker->rowHeight()}); // the row below the band
    EXPECT_EQ(picker->selectedRowInComponent(0), 1);
    drag(middle, {middle.x, middle.y - 2 * picker->rowHeight()}); // two rows up: past the end
    EXPECT_EQ(picker->selectedRowInComponent(0), 2);
    tap(middle);             // the selected row itself: nothing
    picker->selectRow(0, 0); // from code: no call
    EXPECT_EQ(seats.picked, (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}}));
    EXPECT_EQ(picker->titleForRow(2, 0), "4");
    picker->selectRow(9, 0);
    EXPECT_EQ(picker->selectedRowInComponent(0), 2);
}
