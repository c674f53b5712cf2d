#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/SystemWords.h"
#include "platform/ui/TableViewCell.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

class TableView;

enum class TableViewStyle { Plain, Grouped };
enum class TableViewScrollPosition { None, Top, Middle, Bottom };
enum class TableViewCellEditingStyle { None, Delete, Insert };
enum class TableViewCellSeparatorStyle { None, SingleLine };

// Where a table's rows come from. Only the row count and the cells are required.
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSections(TableView& table) { return (void)table, 1; }
    virtual int numberOfRows(TableView& table, int section) = 0;
    virtual std::shared_ptr<TableViewCell> cellForRow(TableView& table, const IndexPath& indexPath) = 0;
    // A header title turns into a plain header view when the delegate gives no view.
    virtual std::string titleForHeader(TableView& table, int section) { return (void)table, (void)section, ""; }
    // Rows that may be deleted with a swipe.
    virtual bool canEditRow(TableView& table, const IndexPath& indexPath) {
        return (void)table, (void)indexPath, false;
    }
    virtual void commitEditingStyle(TableView& table, TableViewCellEditingStyle style, const IndexPath& indexPath) {
        (void)table, (void)style, (void)indexPath;
    }
};

// Told about a table's rows and asked about their look; every call has a default.
class TableViewDelegate : public ScrollViewDelegate {
public:
    // The defaults are the table's rowHeight() and sectionHeaderHeight() (0 for a section
    // with neither title nor header view).
    virtual double heightForRow(TableView& table, const IndexPath& indexPath);
    virtual double heightForHeader(TableView& table, int section);
    virtual ViewPtr viewForHeader(TableView& table, int section) { return (void)table, (void)section, nullptr; }
    // The row to select instead (the same by default), or nothing to refuse the tap.
    virtual std::optional<IndexPath> willSelectRow(TableView& table, const IndexPath& indexPath) {
        return (void)table, indexPath;
    }
    virtual void didSelectRow(TableView& table, const IndexPath& indexPath) { (void)table, (void)indexPath; }
    virtual void didDeselectRow(TableView& table, const IndexPath& indexPath) { (void)table, (void)indexPath; }
    virtual void willDisplayCell(TableView& table, TableViewCell& cell, const IndexPath& indexPath) {
        (void)table, (void)cell, (void)indexPath;
    }
    virtual TableViewCellEditingStyle editingStyleForRow(TableView& table, const IndexPath& indexPath) {
        return (void)table, (void)indexPath, TableViewCellEditingStyle::Delete;
    }
    virtual std::string titleForDeleteConfirmationButton(TableView& table, const IndexPath& indexPath) {
        return (void)table, (void)indexPath, SystemWords::text(SystemWord::Delete);
    }
};

// A scrolling list of rows in sections. Only the rows in sight have cells: they are the
// table's subviews (below any other subview), so hit testing a cell's content reaches the
// cell and, through it, the table. A cell that scrolls out of sight goes to a pool under
// its reuse identifier, where dequeueReusableCell finds it again.
//
// A tap on a row asks willSelectRow, then selects it and calls didSelectRow. A sideways
// swipe over a row that canEditRow shows a delete button on it, titled by
// titleForDeleteConfirmationButton; pressing it calls commitEditingStyle(Delete). A tap
// elsewhere while the button shows only hides it.
class TableView : public ScrollView {
public:
    explicit TableView(Rect frame = {}, TableViewStyle style = TableViewStyle::Plain);
    ~TableView() override;
    static std::shared_ptr<TableView> make(Rect frame = {}, TableViewStyle style = TableViewStyle::Plain);

    TableViewStyle style() const { return style_; }
    TableViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(TableViewDataSource* dataSource);
    TableViewDelegate* delegate() const { return tableDelegate_; }
    void setDelegate(TableViewDelegate* delegate);

    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height);
    double sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(double height);
    TableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(TableViewCellSeparatorStyle style);
    Color separatorColor() const { return separatorColor_; }
    void setSeparatorColor(Color color);
    bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool allows) { allowsSelection_ = allows; }

    // Asks the data source again for everything: counts, heights, headers and the cells
    // in sight (the old cells go to the reuse pool).
    void reloadData();
    // The table is small enough that every change is a reload.
    void reloadRows(const std::vector<IndexPath>& rows) { (void)rows, reloadData(); }
    void insertRows(const std::vector<IndexPath>& rows) { (void)rows, reloadData(); }
    void deleteRows(const std::vector<IndexPath>& rows) { (void)rows, reloadData(); }
    void beginUpdates() {}
    void endUpdates() { reloadData(); }

    // A cell from the reuse pool, or nullptr when none waits under the identifier.
    std::shared_ptr<TableViewCell> dequeueReusableCell(const std::string& identifier);

    int numberOfSections() const { return int(sections_.size()); }
    int numberOfRows(int section) const;
    Rect rectForRow(const IndexPath& indexPath) const;
    Rect rectForHeader(int section) const;
    std::optional<IndexPath> indexPathForRowAtPoint(Point point) const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell* cell) const;
    // The cell of a row in sight (nullptr otherwise).
    std::shared_ptr<TableViewCell> cellForRow(const IndexPath& indexPath) const;
    std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;

    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
    // From code: no delegate calls.
    void selectRow(const IndexPath& indexPath, bool animated = false,
                   TableViewScrollPosition position = TableViewScrollPosition::None);
    void deselectRow(const IndexPath& indexPath, bool animated = false);
    void scrollToRow(const IndexPath& indexPath, TableViewScrollPosition position, bool animated);

    // The row whose delete button shows, if any, and that button.
    std::optional<IndexPath> deleteConfirmationRow() const { return deleteRow_; }
    const std::shared_ptr<Button>& deleteConfirmationButton() const { return deleteButton_; }
    void hideDeleteConfirmation();

    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesMoved(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;

    void layoutSubviews() override;

    // The height a header takes when the delegate does not say.
    double defaultHeaderHeight(int section);

protected:
    void contentOffsetChanged() override;

private:
    struct Section {
        double top = 0;
        double headerHeight = 0;
        std::vector<double> rowTops;
        std::vector<double> rowHeights;
        ViewPtr header;
    };
    void rebuildLayout();
    void layoutVisibleCells();
    void recycle(const std::shared_ptr<TableViewCell>& cell);
    bool isValid(const IndexPath& indexPath) const;
    void showDeleteConfirmation(const IndexPath& indexPath);
    void commitDelete(const IndexPath& indexPath);
    void userSelect(const IndexPath& indexPath);
    ViewPtr makeHeader(int section);
    void setPressed(std::optional<IndexPath> indexPath);

    TableViewStyle style_;
    TableViewDataSource* dataSource_ = nullptr;
    TableViewDelegate* tableDelegate_ = nullptr;
    double rowHeight_ = 44;
    double sectionHeaderHeight_ = 22;
    TableViewCellSeparatorStyle separatorStyle_ = TableViewCellSeparatorStyle::SingleLine;
    Color separatorColor_ = Color::white(0.88);
    bool allowsSelection_ = true;
    bool loaded_ = false;
    bool laying_ = false;

    std::vector<Section> sections_;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> visible_;
    std::map<std::string, std::vector<std::shared_ptr<TableViewCell>>> pool_;
    std::optional<IndexPath> selected_;

    // The touch in progress.
    std::optional<IndexPath> pressed_;
    std::optional<IndexPath> swipeRow_; // the row the touch began on
    Point touchStart_;                  // screen coordinates
    bool swiped_ = false;
    bool hidingDelete_ = false;

    std::optional<IndexPath> deleteRow_;
    std::shared_ptr<Button> deleteButton_;
};

} // namespace platform::ui
