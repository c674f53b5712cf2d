#include "ControlsTestSupport.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/ScrollView.h"

#include <string>
#include <utility>
#include <vector>

using namespace platform::ui;

namespace {
// A column whose number of rows the test changes between reloads.
class StakePicker : public PickerViewDataSource, public PickerViewDelegate {
public:
    int numberOfRowsInComponent(PickerView&, int) override { return rows; }
    std::string titleForRow(PickerView&, int row, int) override { return std::to_string((row + 1) * 100); }
    void didSelectRow(PickerView&, int row, int component) override { picked.push_back({row, component}); }
    int rows = 8;
    std::vector<std::pair<int, int>> picked;
};
} // namespace

class PickerTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        picker = PickerView::make({0, 20, 480, 280});
        picker->setDataSource(&stakes);
        picker->setDelegate(&stakes);
        window->addSubview(picker);
        middle = centerOf(*picker);
    }
    StakePicker stakes;
    std::shared_ptr<PickerView> picker;
    Point middle;
};

TEST_F(PickerTest, ReloadedToFewerRowsTheLastRowSelectedMovesToTheNewLastRow) {
    picker->selectRow(7, 0);
    ASSERT_EQ(picker->selectedRowInComponent(0), 7);
    stakes.rows = 3;
    picker->reloadComponent(0);
    EXPECT_EQ(picker->numberOfRowsInComponent(0), 3);
    EXPECT_EQ(picker->selectedRowInComponent(0), 2);
    EXPECT_EQ(picker->titleForRow(2, 0), "300");
    EXPECT_EQ(picker->titleForRow(3, 0), "");
    stakes.rows = 0;
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), -1);
    stakes.rows = 5;
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    EXPECT_TRUE(stakes.picked.empty()); // reloading picks nothing
}

TEST_F(PickerTest, ReloadedToMoreRowsTheSelectionStays) {
    picker->selectRow(4, 0);
    stakes.rows = 20;
    picker->reloadComponent(0);
    EXPECT_EQ(picker->selectedRowInComponent(0), 4);
}

// A tap between two rows picks the row whose middle is nearer, above as below the band.
TEST_F(PickerTest, ATapPicksTheNearestRow) {
    const double row = picker->rowHeight();
    picker->selectRow(4, 0);
    tap(Point{middle.x, middle.y + 1.6 * row});
    EXPECT_EQ(picker->selectedRowInComponent(0), 6);
    tap(Point{middle.x, middle.y - 1.6 * row});
    EXPECT_EQ(picker->selectedRowInComponent(0), 4);
    tap(Point{middle.x, middle.y + 1.4 * row});
    EXPECT_EQ(picker->selectedRowInComponent(0), 5);
    tap(Point{middle.x, middle.y + 0.3 * row}); // inside the band: nothing
    EXPECT_EQ(picker->selectedRowInComponent(0), 5);
    // A click that trembles on its way up is still a click.
    drag({middle.x, middle.y + 1.2 * row}, {middle.x + 3, middle.y + 1.2 * row - 9}, 2);
    EXPECT_EQ(picker->selectedRowInComponent(0), 6);
    EXPECT_EQ(stakes.picked, (std::vector<std::pair<int, int>>{{6, 0}, {4, 0}, {5, 0}, {6, 0}}));
}

// A tap or drag past either end settles on the end row; when that row is already the
// selected one nothing is picked.
TEST_F(PickerTest, GoingPastTheEndOnTheEndRowPicksNothing) {
    const double row = picker->rowHeight();
    picker->selectRow(7, 0);
    tap(Point{middle.x, middle.y + 1.2 * row});
    drag(middle, {middle.x, middle.y - 2.2 * row});
    EXPECT_EQ(picker->selectedRowInComponent(0), 7);
    picker->selectRow(0, 0);
    tap(Point{middle.x, middle.y - 1.2 * row});
    EXPECT_EQ(picker->selectedRowInComponent(0), 0);
    EXPECT_TRUE(stakes.picked.empty());
}

TEST_F(PickerTest, ADragSettlesOnTheNearestRow) {
    const double row = picker->rowHeight();
    picker->selectRow(1, 0);
    drag(middle, {middle.x, middle.y - 2.6 * row});
    EXPECT_EQ(picker->selectedRowInComponent(0), 4);
    drag(middle, {middle.x, middle.y + 1.4 * row});
    EXPECT_EQ(picker->selectedRowInComponent(0), 3);
}

// The mouse wheel over a column steps it a row a notch (40 points), as the window sends
// it, and picks like a tap; past either end it leaves the wheel to a scroll view around it.
TEST_F(PickerTest, TheWheelStepsTheRowsAndLeavesTheEndsToTheScrollViewAround) {
    auto scroll = ScrollView::make({0, 0, 480, 320});
    scroll->setContentSize({480, 1000});
    window->addSubview(scroll);
    scroll->addSubview(picker);
    for (double dy : {40, 40, -40, 120, -200, -40, 15, 400})
        Application::shared().dispatchScroll(middle, {0, dy});
    EXPECT_EQ(stakes.picked,
              (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {1, 0}, {4, 0}, {0, 0}, {1, 0}, {7, 0}}));
    EXPECT_EQ(scroll->contentOffset().y, 0);
    Application::shared().dispatchScroll(middle, {0, 40});        // on the last row
    Application::shared().dispatchScroll({2, middle.y}, {0, 40}); // beside the columns
    EXPECT_EQ(scroll->contentOffset().y, 80);
    EXPECT_EQ(picker->selectedRowInComponent(0), 7);
}

class ScrollBackTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        scroll = ScrollView::make({0, 0, 200, 100});
        scroll->setContentSize({1000, 600});
        window->addSubview(scroll);
    }
    std::shared_ptr<ScrollView> scroll;
};

TEST_F(ScrollBackTest, ScrollRectToVisibleScrollsRightThenBackLeft) {
    scroll->scrollRectToVisible({600, 0, 50, 20}, false);
    EXPECT_EQ(scroll->contentOffset().x, 450);
    scroll->scrollRectToVisible({100, 0, 50, 20}, false);
    EXPECT_EQ(scroll->contentOffset().x, 100);
    scroll->scrollRectToVisible({120, 0, 50, 20}, false); // already in sight: stays
    EXPECT_EQ(scroll->contentOffset().x, 100);
}

TEST_F(ScrollBackTest, ScrollRectToVisibleScrollsDownThenBackUpAndStopsAtTheContentEdge) {
    scroll->scrollRectToVisible({0, 400, 20, 50}, false);
    EXPECT_EQ(scroll->contentOffset().y, 350);
    scroll->scrollRectToVisible({0, 30, 20, 50}, false);
    EXPECT_EQ(scroll->contentOffset().y, 30);
    scroll->scrollRectToVisible({950, 580, 200, 200}, false);
    EXPECT_EQ(scroll->contentOffset().x, 800);
    EXPECT_EQ(scroll->contentOffset().y, 500);
}
