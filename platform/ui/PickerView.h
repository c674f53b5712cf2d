#pragma once

#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class PickerView;

// Where a picker's columns (components) and rows come from.
class PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfComponents(PickerView& picker) { return (void)picker, 1; }
    virtual int numberOfRowsInComponent(PickerView& picker, int component) = 0;
};

// The titles of a picker's rows and what the user picks.
class PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    virtual std::string titleForRow(PickerView& picker, int row, int component) {
        return (void)picker, (void)row, (void)component, "";
    }
    virtual void didSelectRow(PickerView& picker, int row, int component) { (void)picker, (void)row, (void)component; }
};

// Spinning columns of rows; the selected row of each column sits in the middle band. A
// tap or click above or below the band picks the row there (a click that trembles a few
// points is still one); a drag up or down moves by as many rows as it went and settles on
// the nearest one; the mouse wheel steps a row a notch. Each way a changed selection calls
// didSelectRow. selectRow from code calls nothing.
//
// A picker that stands for one choice (a field's drop-down that closes on it) chooses on
// tap instead, and every such picker alike: it opens on the field's value (openOn); the
// wheel, a drag and the arrow keys only move the highlight, without calling anything
// (Left and Right go from column to column); a tap or click on a row (the highlighted one
// too) or Return while it is shown chooses, and calls didSelectRow for that column even
// when the row did not change. Closing it any other way leaves the field as it was.
class PickerView : public View {
public:
    explicit PickerView(Rect frame = {});
    static std::shared_ptr<PickerView> make(Rect frame = {});

    PickerViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(PickerViewDataSource* dataSource);
    PickerViewDelegate* delegate() const { return delegate_; }
    void setDelegate(PickerViewDelegate* delegate);
    bool showsSelectionIndicator() const { return showsSelectionIndicator_; }
    void setShowsSelectionIndicator(bool shows);
    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height);
    bool choosesOnTap() const { return choosesOnTap_; }
    void setChoosesOnTap(bool on) { choosesOnTap_ = on; }

    int numberOfComponents() const;
    int numberOfRowsInComponent(int component) const;
    void reloadAllComponents();
    void reloadComponent(int component);
    // -1 when the component has no rows.
    int selectedRowInComponent(int component) const;
    void selectRow(int row, int component, bool animated = false);
    // The title of a row as the delegate gives it.
    std::string titleForRow(int row, int component);
    // The column of a point in the picker's coordinates (-1 outside every column).
    int componentAtPoint(Point point) const;
    Rect rectForComponent(int component) const;

    // The mouse wheel over the column at `location`: `dy` points (positive towards later
    // rows) move the selection by as many rows as they span, at least one. False when the
    // selection stayed (at the column's end, or outside every column), so a scroll view
    // around the picker may take the wheel.
    bool scrollWheel(Point location, double dy);

    // Shows the picker with the field's value highlighted (a row per column) and takes
    // the keys: how every picker that chooses on tap opens.
    void openOn(const std::vector<int>& rows);
    // Chooses the highlighted row of the column the keys move (Return, a Done button).
    void chooseHighlighted();

    // A picker that chooses on tap takes Return and the arrows while it is shown; hidden,
    // it gives them up.
    bool canBecomeFirstResponder() const override { return choosesOnTap_ && !isHidden(); }
    void pressReturn() override { chooseHighlighted(); }
    void pressArrow(Key key) override;

    void touchesBegan(const std::vector<Touch>& touches) override;
    void touchesMoved(const std::vector<Touch>& touches) override;
    void touchesEnded(const std::vector<Touch>& touches) override;
    void touchesCancelled(const std::vector<Touch>& touches) override;
    void draw(GraphicsContext& context) override;

private:
    // False when the row is already the selected one.
    bool pick(int component, int row);
    // Moves the highlight without telling the delegate; false when it stayed.
    bool highlight(int component, int row);
    // A choice: the row becomes the selected one and the delegate hears of it.
    void choose(int component, int row);
    // The counts are asked for on first use, not when the data source is set (it may be
    // set from a constructor that has not finished).
    void ensureLoaded() const;

    PickerViewDataSource* dataSource_ = nullptr;
    PickerViewDelegate* delegate_ = nullptr;
    bool showsSelectionIndicator_ = false;
    bool choosesOnTap_ = false;
    double rowHeight_ = 40;
    mutable std::vector<int> rows_;     // row count per component
    mutable std::vector<int> selected_; // selected row per component
    mutable bool loaded_ = false;

    int keyComponent_ = 0; // the column the arrow keys move: the last one moved
    int touchComponent_ = -1;
    Point touchStart_; // screen coordinates
    double dragOffset_ = 0;
    bool dragging_ = false;
};

} // namespace platform::ui
