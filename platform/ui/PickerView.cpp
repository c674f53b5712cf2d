#include "platform/ui/PickerView.h"

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ShapeDrawing.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

namespace {
// A press that moves no further than this stays a tap, as on a table row: a mouse click
// trembles by a few points between press and release.
constexpr double kTapSlop = 10;
} // namespace

PickerView::PickerView(Rect frame) : View(frame) {}

std::shared_ptr<PickerView> PickerView::make(Rect frame) {
    return std::make_shared<PickerView>(frame);
}

void PickerView::setDataSource(PickerViewDataSource* dataSource) {
    dataSource_ = dataSource;
    loaded_ = false;
    setNeedsDisplay();
}

void PickerView::ensureLoaded() const {
    if (!loaded_) const_cast<PickerView*>(this)->reloadAllComponents();
}

int PickerView::numberOfComponents() const {
    ensureLoaded();
    return int(rows_.size());
}

void PickerView::setDelegate(PickerViewDelegate* delegate) {
    delegate_ = delegate;
    setNeedsDisplay();
}

void PickerView::setShowsSelectionIndicator(bool shows) {
    showsSelectionIndicator_ = shows;
    setNeedsDisplay();
}

void PickerView::setRowHeight(double height) {
    rowHeight_ = std::max(1.0, height);
    setNeedsDisplay();
}

int PickerView::numberOfRowsInComponent(int component) const {
    ensureLoaded();
    if (component < 0 || size_t(component) >= rows_.size()) return 0;
    return rows_[size_t(component)];
}

void PickerView::reloadAllComponents() {
    loaded_ = true;
    int components = dataSource_ ? std::max(0, dataSource_->numberOfComponents(*this)) : 0;
    rows_.assign(size_t(components), 0);
    selected_.resize(size_t(components), 0);
    for (int c = 0; c < components; ++c)
        reloadComponent(c);
    setNeedsDisplay();
}

void PickerView::reloadComponent(int component) {
    ensureLoaded();
    if (component < 0 || size_t(component) >= rows_.size()) return;
    int rows = dataSource_ ? std::max(0, dataSource_->numberOfRowsInComponent(*this, component)) : 0;
    rows_[size_t(component)] = rows;
    int& selected = selected_[size_t(component)];
    selected = rows == 0 ? 0 : std::clamp(selected, 0, rows - 1);
    setNeedsDisplay();
}

int PickerView::selectedRowInComponent(int component) const {
    if (numberOfRowsInComponent(component) == 0) return -1;
    return selected_[size_t(component)];
}

void PickerView::selectRow(int row, int component, bool) {
    int rows = numberOfRowsInComponent(component);
    if (rows == 0) return;
    selected_[size_t(component)] = std::clamp(row, 0, rows - 1);
    setNeedsDisplay();
}

std::string PickerView::titleForRow(int row, int component) {
    if (!delegate_ || row < 0 || row >= numberOfRowsInComponent(component)) return {};
    return delegate_->titleForRow(*this, row, component);
}

Rect PickerView::rectForComponent(int component) const {
    int count = numberOfComponents();
    if (component < 0 || component >= count) return {};
    Rect b = bounds().insetBy(8, 0);
    double width = b.width() / count;
    return {b.minX() + width * component, b.minY(), width, b.height()};
}

int PickerView::componentAtPoint(Point point) const {
    for (int c = 0; c < numberOfComponents(); ++c)
        if (rectForComponent(c).contains(point)) return c;
    return -1;
}

bool PickerView::highlight(int component, int row) {
    const int rows = numberOfRowsInComponent(component);
    if (rows == 0) return false;
    row = std::clamp(row, 0, rows - 1);
    if (row == selected_[size_t(component)]) return false;
    selected_[size_t(component)] = row;
    setNeedsDisplay();
    return true;
}

bool PickerView::pick(int component, int row) {
    if (!highlight(component, row)) return false;
    auto keep = weak_from_this().lock();
    if (delegate_) delegate_->didSelectRow(*this, selected_[size_t(component)], component);
    return true;
}

void PickerView::choose(int component, int row) {
    if (numberOfRowsInComponent(component) == 0) return;
    highlight(component, row);
    auto keep = weak_from_this().lock();
    if (delegate_) delegate_->didSelectRow(*this, selected_[size_t(component)], component);
}

void PickerView::openOn(const std::vector<int>& rows) {
    reloadAllComponents();
    for (size_t c = 0; c < rows.size(); ++c)
        selectRow(rows[c], int(c));
    keyComponent_ = 0;
    setHidden(false);
    becomeFirstResponder();
}

void PickerView::chooseHighlighted() {
    if (choosesOnTap_ && !isHidden() && keyComponent_ < numberOfComponents())
        choose(keyComponent_, selected_[size_t(keyComponent_)]);
}

void PickerView::pressArrow(Key key) {
    const int components = numberOfComponents();
    if (!choosesOnTap_ || isHidden() || components == 0) return;
    keyComponent_ = std::clamp(keyComponent_, 0, components - 1);
    if (key == Key::Left || key == Key::Right) {
        keyComponent_ = std::clamp(keyComponent_ + (key == Key::Right ? 1 : -1), 0, components - 1);
        return;
    }
    highlight(keyComponent_, selected_[size_t(keyComponent_)] + (key == Key::Down ? 1 : -1));
}

bool PickerView::scrollWheel(Point location, double dy) {
    const int component = componentAtPoint(location);
    // A column held by a finger (a drag under way) ignores the wheel.
    if (component < 0 || dy == 0 || touchComponent_ >= 0) return false;
    const int rows = std::max(1, int(std::lround(std::fabs(dy) / rowHeight_)));
    const int row = selected_[size_t(component)] + (dy > 0 ? rows : -rows);
    keyComponent_ = component;
    return choosesOnTap_ ? highlight(component, row) : pick(component, row);
}

void PickerView::touchesBegan(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    touchComponent_ = componentAtPoint(touches.front().locationInView(this));
    touchStart_ = touches.front().windowLocation;
    dragOffset_ = 0;
    dragging_ = false;
}

void PickerView::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty() || touchComponent_ < 0) return;
    double dy = touches.front().windowLocation.y - touchStart_.y;
    if (!dragging_ && std::fabs(dy) <= kTapSlop) return;
    dragging_ = true;
    dragOffset_ = dy;
    setNeedsDisplay();
}

void PickerView::touchesEnded(const std::vector<Touch>& touches) {
    if (touches.empty() || touchComponent_ < 0) return;
    int component = touchComponent_;
    touchComponent_ = -1;
    int current = selected_[size_t(component)];
    if (dragging_) {
        // Dragging the rows up brings later rows into the band.
        int moved = int(std::lround(-dragOffset_ / rowHeight_));
        dragOffset_ = 0;
        dragging_ = false;
        setNeedsDisplay();
        keyComponent_ = component;
        if (choosesOnTap_)
            highlight(component, current + moved);
        else
            pick(component, current + moved);
        return;
    }
    Point location = touches.front().locationInView(this);
    int offset = int(std::lround((location.y - bounds().midY()) / rowHeight_));
    keyComponent_ = component;
    if (choosesOnTap_)
        choose(component, current + offset);
    else if (offset != 0)
        pick(component, current + offset);
}

void PickerView::touchesCancelled(const std::vector<Touch>&) {
    touchComponent_ = -1;
    dragOffset_ = 0;
    dragging_ = false;
    setNeedsDisplay();
}

void PickerView::draw(GraphicsContext& context) {
    ensureLoaded();
    Rect b = bounds();
    context.setFillColor(Color::rgba(232, 233, 238));
    context.fillRect(b);
    double band = b.midY() - rowHeight_ / 2;
    for (int c = 0; c < numberOfComponents(); ++c) {
        Rect column = rectForComponent(c);
        context.setFillColor(Color::white());
        context.fillRect(column.insetBy(2, 4));
        context.save();
        context.clipToRect(column.insetBy(2, 4));
        double offset = c == touchComponent_ ? dragOffset_ : 0;
        int selected = selected_[size_t(c)];
        int rows = rows_[size_t(c)];
        // Only the rows that can show in the height are asked for.
        int reach = int(std::ceil(b.height() / rowHeight_ / 2)) + 2;
        for (int r = std::max(0, selected - reach); r < std::min(rows, selected + reach + 1); ++r) {
            double y = band + (r - selected) * rowHeight_ + offset;
            bool current = r == selected && offset == 0;
            context.drawText(titleForRow(r, c), {column.minX() + 10, y, column.width() - 20, rowHeight_},
                             Font::boldSystem(current ? 20 : 18), current ? Color::black() : Color::darkGray(),
                             TextAlignment::Center, 1);
        }
        context.restore();
        context.setStrokeColor(Color::gray());
        context.setLineWidth(1);
        context.strokeRect(column.insetBy(2.5, 4.5));
    }
    if (showsSelectionIndicator_) {
        Rect indicator(b.minX() + 4, band, b.width() - 8, rowHeight_);
        fillRoundedRect(context, indicator, 4, Color::rgba(120, 140, 200, 0.25));
        strokeRoundedRect(context, indicator, 4, Color::rgba(100, 110, 140), 1);
    }
}

} // namespace platform::ui
