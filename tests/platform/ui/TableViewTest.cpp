#include "platform/ui/TableView.h"

#include "ControlsTestSupport.h"
#include "platform/ui/Label.h"

#include <map>
#include <string>
#include <vector>

using namespace platform::ui;

namespace {

// A friend list: one section of names, rows 41 high, every row deletable.
class FriendList : public TableViewDataSource, public TableViewDelegate {
public:
    int numberOfRows(TableView&, int) override { return int(names.size()); }
    std::shared_ptr<TableViewCell> cellForRow(TableView& table, const IndexPath& path) override {
        auto cell = table.dequeueReusableCell("CellIdentifier");
        if (!cell) {
            cell = TableViewCell::make(TableViewCellStyle::Default, "CellIdentifier");
            auto name = Label::make({41, 0, 120, 21});
            name->setTag(103);
            cell->contentView()->addSubview(name);
            ++made;
        }
        static_cast<Label*>(cell->viewWithTag(103))->setText(names[size_t(path.row)]);
        cellsGiven.push_back(cell.get());
        return cell;
    }
    bool canEditRow(TableView&, const IndexPath&) override { return editable; }
    void commitEditingStyle(TableView& table, TableViewCellEditingStyle style, const IndexPath& path) override {
        if (style != TableViewCellEditingStyle::Delete) return;
        deleted.push_back(names[size_t(path.row)]);
        names.erase(names.begin() + path.row);
        table.reloadData();
    }
    double heightForRow(TableView&, const IndexPath&) override { return 41; }
    std::optional<IndexPath> willSelectRow(TableView&, const IndexPath& path) override {
        calls.push_back("will " + std::to_string(path.row));
        if (refuseRow == path.row) return std::nullopt;
        return path;
    }
    void didSelectRow(TableView&, const IndexPath& path) override {
        calls.push_back("did " + std::to_string(path.row));
    }
    std::string titleForDeleteConfirmationButton(TableView&, const IndexPath&) override { return "Xóa"; }

    std::vector<std::string> names;
    std::vector<std::string> deleted;
    std::vector<std::string> calls;
    std::vector<TableViewCell*> cellsGiven;
    int made = 0;
    int refuseRow = -1;
    bool editable = true;
};

} // namespace

class TableViewTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        for (int i = 0; i < 30; ++i)
            list.names.push_back("Bạn " + std::to_string(i));
        table = TableView::make({20, 40, 300, 205}); // five rows in sight
        table->setDataSource(&list);
        table->setDelegate(&list);
        window->addSubview(table);
        table->layoutIfNeeded();
    }
    void TearDown() override {
        table.reset();
        ControlsTest::TearDown();
    }
    std::shared_ptr<Label> nameLabel(int row) {
        auto cell = table->cellForRow({0, row});
        return cell ? std::static_pointer_cast<Label>(cell->viewWithTag(103)->weak_from_this().lock()) : nullptr;
    }
    FriendList list;
    std::shared_ptr<TableView> table;
};

TEST_F(TableViewTest, OnlyRowsInSightHaveCellsAndTheyAreTheTablesSubviews) {
    EXPECT_EQ(table->visibleCells().size(), 5u);
    EXPECT_EQ(table->contentSize().height, 30 * 41);
    auto cell = table->cellForRow({0, 4});
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->superview(), table.get());
    EXPECT_EQ(cell->frame(), (Rect{0, 164, 300, 41}));
    EXPECT_EQ(nameLabel(4)->text(), "Bạn 4");
    EXPECT_EQ(table->cellForRow({0, 5}), nullptr);
}

TEST_F(TableViewTest, CellsScrolledOutAreReusedForTheRowsComingIn) {
    int madeAtFirst = list.made;
    std::vector<TableViewCell*> firstCells;
    for (const auto& cell : table->visibleCells())
        firstCells.push_back(cell.get());
    table->setContentOffset({0, 41 * 10});
    EXPECT_EQ(list.made, madeAtFirst); // no new cell was needed
    auto cell = table->cellForRow({0, 10});
    ASSERT_TRUE(cell);
    EXPECT_NE(std::find(firstCells.begin(), firstCells.end(), cell.get()), firstCells.end());
    EXPECT_EQ(nameLabel(10)->text(), "Bạn 10");
    EXPECT_EQ(table->cellForRow({0, 0}), nullptr);
    EXPECT_EQ(table->dequeueReusableCell("CellIdentifier"), nullptr); // all in use again
}

TEST_F(TableViewTest, TapOnACellsLabelSelectsItsRow) {
    tap(*nameLabel(2));
    EXPECT_EQ(list.calls, (std::vector<std::string>{"will 2", "did 2"}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 2}));
    EXPECT_TRUE(table->cellForRow({0, 2})->isSelected());
    tap(*nameLabel(3));
    EXPECT_FALSE(table->cellForRow({0, 2})->isSelected());
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 3}));
    // A reload keeps the selection while its row is there, as the last row too.
    for (const size_t rows : {4, 3}) {
        list.names.resize(rows);
        table->reloadData();
        EXPECT_EQ(table->indexPathForSelectedRow().has_value(), rows == 4) << rows << " rows";
    }
}

TEST_F(TableViewTest, WillSelectCanRefuseAndDraggingSelectsNothing) {
    list.refuseRow = 1;
    tap(*nameLabel(1));
    EXPECT_EQ(list.calls, (std::vector<std::string>{"will 1"}));
    EXPECT_FALSE(table->indexPathForSelectedRow());
    list.calls.clear();
    Point start = centerOf(*nameLabel(3));
    drag(start, {start.x, start.y - 80});
    EXPECT_TRUE(list.calls.empty());
    EXPECT_EQ(table->contentOffset().y, 80);
}

TEST_F(TableViewTest, SwipeShowsTheDeleteButtonAndPressingItCommitsTheDelete) {
    Point row = centerOf(*nameLabel(1));
    drag(row, {row.x - 100, row.y});
    EXPECT_TRUE(list.calls.empty()); // a swipe is not a selection
    ASSERT_EQ(table->deleteConfirmationRow(), (IndexPath{0, 1}));
    auto button = findButton("Xóa");
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isDescendantOf(table->cellForRow({0, 1}).get()));
    tap(*button);
    EXPECT_EQ(list.deleted, (std::vector<std::string>{"Bạn 1"}));
    EXPECT_EQ(nameLabel(1)->text(), "Bạn 2");
    EXPECT_FALSE(table->deleteConfirmationRow());
    EXPECT_EQ(findButton("Xóa"), nullptr);
}

TEST_F(TableViewTest, TapElsewhereHidesTheDeleteButtonWithoutSelecting) {
    Point row = centerOf(*nameLabel(1));
    drag(row, {row.x + 100, row.y}); // either direction
    ASSERT_TRUE(table->deleteConfirmationRow());
    tap(*nameLabel(3));
    EXPECT_FALSE(table->deleteConfirmationRow());
    EXPECT_TRUE(list.calls.empty());
    EXPECT_TRUE(list.deleted.empty());
}

TEST_F(TableViewTest, RowsThatCannotBeEditedIgnoreTheSwipeAndTheDefaultTitleIsTheDeleteSign) {
    list.editable = false;
    Point row = centerOf(*nameLabel(1));
    drag(row, {row.x - 100, row.y});
    EXPECT_FALSE(table->deleteConfirmationRow());

    struct Plain : TableViewDelegate {
    } plain;
    table->setDelegate(&plain);
    table->layoutIfNeeded();
    list.editable = true;
    drag(row, {row.x - 100, row.y});
    EXPECT_TRUE(findButton("\u232B")) << "given no word for it, the platform draws its sign";
    table->setDelegate(nullptr);
}

TEST_F(TableViewTest, ScrollToRowSetsTheContentOffset) {
    // Rows of 41 in 205 points of sight; each row starts from where the one before left the offset.
    const struct {
        int row;
        TableViewScrollPosition position;
        bool animated;
        double y;
    } cases[] = {{20, TableViewScrollPosition::Top, false, 820},
                 {29, TableViewScrollPosition::Top, false, 30 * 41 - 205}, // clamped at the end
                 {2, TableViewScrollPosition::None, true, 82},
                 {3, TableViewScrollPosition::None, false, 82}, // already in sight
                 {10, TableViewScrollPosition::Middle, false, 10 * 41 + 20.5 - 102.5},
                 {15, TableViewScrollPosition::Bottom, false, 16 * 41 - 205}};
    for (const auto& c : cases) {
        table->scrollToRow({0, c.row}, c.position, c.animated);
        EXPECT_EQ(table->contentOffset().y, c.y) << c.row;
        EXPECT_TRUE(table->cellForRow({0, c.row})) << c.row;
    }
}

namespace {
// Rooms grouped by level, with section titles and a header height of 20.
class Rooms : public TableViewDataSource, public TableViewDelegate {
public:
    int numberOfSections(TableView&) override { return 3; }
    int numberOfRows(TableView&, int section) override { return section + 1; }
    std::shared_ptr<TableViewCell> cellForRow(TableView&, const IndexPath& path) override {
        auto cell = TableViewCell::make(TableViewCellStyle::Subtitle);
        cell->textLabel()->setText("Phòng " + std::to_string(path.section) + "." + std::to_string(path.row));
        return cell;
    }
    std::string titleForHeader(TableView&, int section) override { return section == 1 ? "" : "Cấp"; }
};
} // namespace

TEST_F(TableViewTest, SectionsStackTheirHeadersAndRows) {
    Rooms rooms;
    auto grouped = TableView::make({0, 0, 300, 400});
    grouped->setRowHeight(40);
    grouped->setDataSource(&rooms);
    grouped->layoutIfNeeded();
    // 22 + 40 | 0 + 80 | 22 + 120
    EXPECT_EQ(grouped->contentSize().height, 284);
    EXPECT_EQ(grouped->rectForRow({2, 0}).y(), 22 + 40 + 80 + 22);
    EXPECT_EQ(grouped->rectForHeader(1).height(), 0);
    EXPECT_EQ(grouped->indexPathForRowAtPoint({10, 100}), (IndexPath{1, 0}));
    EXPECT_EQ(grouped->cellForRow({2, 2})->textLabel()->text(), "Phòng 2.2");
    auto titles = grouped->subviewsOfType<Label>();
    EXPECT_EQ(std::count_if(titles.begin(), titles.end(), [](const auto& l) { return l->text() == "Cấp"; }), 2);
}
