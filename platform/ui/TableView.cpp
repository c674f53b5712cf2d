#include "platform/ui/TableView.h"

#include "platform/runtime/Log.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

namespace {
// A sideways move of this many points (and at most half as much up or down) is a swipe.
constexpr double kSwipeDistance = 30;
constexpr double kTapSlop = 10;
constexpr size_t kPoolLimit = 32;
} // namespace

double TableViewDelegate::heightForRow(TableView& table, const IndexPath&) {
    return table.rowHeight();
}

double TableViewDelegate::heightForHeader(TableView& table, int section) {
    return table.defaultHeaderHeight(section);
}

TableView::TableView(Rect frame, TableViewStyle style) : ScrollView(frame), style_(style) {
    setBackgroundColor(style == TableViewStyle::Grouped ? Color::rgba(197, 204, 212) : Color::white());
    setAlwaysBounceVertical(true);
}

TableView::~TableView() = default;

std::shared_ptr<TableView> TableView::make(Rect frame, TableViewStyle style) {
    return std::make_shared<TableView>(frame, style);
}

void TableView::setDataSource(TableViewDataSource* dataSource) {
    dataSource_ = dataSource;
    loaded_ = false;
    setNeedsLayout();
}

void TableView::setDelegate(TableViewDelegate* delegate) {
    tableDelegate_ = delegate;
    ScrollView::setDelegate(delegate);
    loaded_ = false;
    setNeedsLayout();
}

void TableView::setRowHeight(double height) {
    rowHeight_ = std::max(0.0, height);
    if (loaded_) reloadData();
}

void TableView::setSectionHeaderHeight(double height) {
    sectionHeaderHeight_ = std::max(0.0, height);
    if (loaded_) reloadData();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style) {
    separatorStyle_ = style;
    for (auto& [path, cell] : visible_)
        cell->setSeparator(style != TableViewCellSeparatorStyle::None, separatorColor_);
}

void TableView::setSeparatorColor(Color color) {
    separatorColor_ = color;
    setSeparatorStyle(separatorStyle_);
}

// ---- layout

double TableView::defaultHeaderHeight(int section) {
    if (section >= 0 && size_t(section) < sections_.size() && sections_[size_t(section)].header)
        return sectionHeaderHeight_;
    return 0;
}

ViewPtr TableView::makeHeader(int section) {
    if (tableDelegate_)
        if (ViewPtr view = tableDelegate_->viewForHeader(*this, section)) return view;
    std::string title = dataSource_ ? dataSource_->titleForHeader(*this, section) : std::string();
    if (title.empty()) return nullptr;
    auto header = View::make({0, 0, bounds().width(), sectionHeaderHeight_});
    auto label = Label::make({12, 0, std::max(0.0, bounds().width() - 24), sectionHeaderHeight_}, title);
    label->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    label->setFont(Font::boldSystem(17));
    if (style_ == TableViewStyle::Plain) {
        header->setBackgroundColor(Color::rgba(144, 159, 170, 0.92));
        label->setTextColor(Color::white());
    } else {
        label->setTextColor(Color::rgba(76, 86, 108));
    }
    header->addSubview(label);
    return header;
}

void TableView::rebuildLayout() {
    for (Section& section : sections_)
        if (section.header) section.header->removeFromSuperview();
    sections_.clear();
    double y = 0;
    int sectionCount = dataSource_ ? std::max(0, dataSource_->numberOfSections(*this)) : 0;
    for (int s = 0; s < sectionCount; ++s) {
        sections_.emplace_back();
        Section& section = sections_.back();
        section.top = y;
        section.header = makeHeader(s);
        double headerHeight = tableDelegate_ ? tableDelegate_->heightForHeader(*this, s) : defaultHeaderHeight(s);
        section.headerHeight = section.header ? std::max(0.0, headerHeight) : 0;
        if (section.header && section.headerHeight <= 0) section.header.reset();
        y += section.headerHeight;
        int rows = std::max(0, dataSource_->numberOfRows(*this, s));
        section.rowTops.reserve(size_t(rows));
        section.rowHeights.reserve(size_t(rows));
        for (int r = 0; r < rows; ++r) {
            double height = tableDelegate_ ? tableDelegate_->heightForRow(*this, {s, r}) : rowHeight_;
            height = std::max(0.0, height);
            section.rowTops.push_back(y);
            section.rowHeights.push_back(height);
            y += height;
        }
        if (section.header) addSubview(section.header);
    }
    setContentSize({bounds().width(), y});
}

void TableView::reloadData() {
    auto keep = weak_from_this().lock();
    hideDeleteConfirmation();
    setPressed(std::nullopt);
    std::vector<std::shared_ptr<TableViewCell>> old;
    for (auto& [path, cell] : visible_)
        old.push_back(cell);
    visible_.clear();
    for (auto& cell : old)
        recycle(cell);
    rebuildLayout();
    if (selected_ && !isValid(*selected_)) selected_.reset();
    loaded_ = true;
    if (!isTracking() && !isDecelerating()) {
        Point clamped = clampedOffset(contentOffset());
        if (clamped != contentOffset()) setContentOffset(clamped);
    }
    layoutVisibleCells();
}

void TableView::layoutSubviews() {
    if (!loaded_) {
        reloadData();
        return;
    }
    if (contentSize().width != bounds().width()) setContentSize({bounds().width(), contentSize().height});
    layoutVisibleCells();
}

void TableView::contentOffsetChanged() {
    if (loaded_) layoutVisibleCells();
}

void TableView::recycle(const std::shared_ptr<TableViewCell>& cell) {
    if (deleteButton_ && deleteButton_->isDescendantOf(cell.get())) hideDeleteConfirmation();
    cell->setHighlighted(false);
    if (cell->superview() == this) cell->removeFromSuperview();
    const std::string& id = cell->reuseIdentifier();
    if (id.empty()) return;
    auto& pool = pool_[id];
    if (pool.size() < kPoolLimit && std::find(pool.begin(), pool.end(), cell) == pool.end()) pool.push_back(cell);
}

void TableView::layoutVisibleCells() {
    if (laying_ || !loaded_) return;
    laying_ = true;
    auto keep = weak_from_this().lock();
    Rect visible = bounds();
    double width = visible.width();

    std::vector<IndexPath> wanted;
    for (size_t s = 0; s < sections_.size(); ++s) {
        Section& section = sections_[s];
        if (section.header) section.header->setFrame({0, section.top, width, section.headerHeight});
        // The first row whose bottom is below the top of the view.
        auto first = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), visible.minY());
        size_t r = first == section.rowTops.begin() ? 0 : size_t(first - section.rowTops.begin()) - 1;
        for (; r < section.rowTops.size() && section.rowTops[r] < visible.maxY(); ++r) {
            double bottom = section.rowTops[r] + section.rowHeights[r];
            if (bottom <= visible.minY() || section.rowHeights[r] <= 0) continue;
            wanted.push_back({int(s), int(r)});
        }
    }

    // Cells that left the view go to the pool first, so the new rows can reuse them.
    std::vector<IndexPath> gone;
    for (auto& [path, cell] : visible_)
        if (!std::binary_search(wanted.begin(), wanted.end(), path)) gone.push_back(path);
    for (const IndexPath& path : gone) {
        auto cell = visible_[path];
        visible_.erase(path);
        recycle(cell);
    }

    bool separators = separatorStyle_ != TableViewCellSeparatorStyle::None;
    for (const IndexPath& path : wanted) {
        Rect rect = rectForRow(path);
        auto found = visible_.find(path);
        if (found != visible_.end()) {
            found->second->setFrame(rect);
            continue;
        }
        std::shared_ptr<TableViewCell> cell = dataSource_ ? dataSource_->cellForRow(*this, path) : nullptr;
        if (!cell) {
            platform::log("TableView: the data source gave no cell for a row; showing an empty one");
            cell = TableViewCell::make();
        }
        if (cell->superview() && cell->superview() != this) cell->removeFromSuperview();
        if (cell->superview() != this) insertSubview(cell, 0);
        cell->setFrame(rect);
        cell->setSeparator(separators, separatorColor_);
        cell->setSelected(selected_ && *selected_ == path);
        cell->layoutIfNeeded();
        visible_[path] = cell;
        if (tableDelegate_) tableDelegate_->willDisplayCell(*this, *cell, path);
    }
    laying_ = false;
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(const std::string& identifier) {
    auto it = pool_.find(identifier);
    if (it == pool_.end() || it->second.empty()) return nullptr;
    auto cell = it->second.back();
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

// ---- geometry of rows

bool TableView::isValid(const IndexPath& p) const {
    return p.section >= 0 && size_t(p.section) < sections_.size() && p.row >= 0 &&
           size_t(p.row) < sections_[size_t(p.section)].rowTops.size();
}

int TableView::numberOfRows(int section) const {
    if (section < 0 || size_t(section) >= sections_.size()) return 0;
    return int(sections_[size_t(section)].rowTops.size());
}

Rect TableView::rectForRow(const IndexPath& p) const {
    if (!isValid(p)) return {};
    const Section& section = sections_[size_t(p.section)];
    return {0, section.rowTops[size_t(p.row)], bounds().width(), section.rowHeights[size_t(p.row)]};
}

Rect TableView::rectForHeader(int s) const {
    if (s < 0 || size_t(s) >= sections_.size()) return {};
    return {0, sections_[size_t(s)].top, bounds().width(), sections_[size_t(s)].headerHeight};
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) const {
    if (point.x < 0 || point.x >= bounds().width()) return std::nullopt;
    for (size_t s = 0; s < sections_.size(); ++s) {
        const Section& section = sections_[s];
        auto next = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), point.y);
        if (next == section.rowTops.begin()) continue;
        size_t r = size_t(next - section.rowTops.begin()) - 1;
        if (point.y < section.rowTops[r] + section.rowHeights[r]) return IndexPath{int(s), int(r)};
    }
    return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) const {
    for (const auto& [path, visibleCell] : visible_)
        if (visibleCell.get() == cell) return path;
    return std::nullopt;
}

std::shared_ptr<TableViewCell> TableView::cellForRow(const IndexPath& indexPath) const {
    auto it = visible_.find(indexPath);
    return it == visible_.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const {
    std::vector<std::shared_ptr<TableViewCell>> cells;
    for (const auto& [path, cell] : visible_)
        cells.push_back(cell);
    return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> paths;
    for (const auto& [path, cell] : visible_)
        paths.push_back(path);
    return paths;
}

// ---- selection and scrolling

void TableView::selectRow(const IndexPath& indexPath, bool animated, TableViewScrollPosition position) {
    if (!isValid(indexPath)) return;
    if (selected_ && *selected_ != indexPath)
        if (auto old = cellForRow(*selected_)) old->setSelected(false);
    selected_ = indexPath;
    if (auto cell = cellForRow(indexPath)) cell->setSelected(true);
    if (position != TableViewScrollPosition::None) scrollToRow(indexPath, position, animated);
}

void TableView::deselectRow(const IndexPath& indexPath, bool) {
    if (!selected_ || *selected_ != indexPath) return;
    selected_.reset();
    if (auto cell = cellForRow(indexPath)) cell->setSelected(false);
}

void TableView::scrollToRow(const IndexPath& indexPath, TableViewScrollPosition position, bool animated) {
    if (!isValid(indexPath)) return;
    Rect row = rectForRow(indexPath);
    Rect visible = bounds();
    double y = visible.minY();
    switch (position) {
    case TableViewScrollPosition::Top:
        y = row.minY();
        break;
    case TableViewScrollPosition::Middle:
        y = row.midY() - visible.height() / 2;
        break;
    case TableViewScrollPosition::Bottom:
        y = row.maxY() - visible.height();
        break;
    case TableViewScrollPosition::None:
        if (row.minY() < visible.minY())
            y = row.minY();
        else if (row.maxY() > visible.maxY())
            y = row.maxY() - visible.height();
        break;
    }
    Point target = clampedOffset({visible.minX(), y});
    if (target != contentOffset()) setContentOffset(target, animated);
}

void TableView::setPressed(std::optional<IndexPath> indexPath) {
    if (pressed_)
        if (auto cell = cellForRow(*pressed_)) cell->setHighlighted(false);
    pressed_ = indexPath;
    if (pressed_)
        if (auto cell = cellForRow(*pressed_))
            if (cell->selectionStyle() != TableViewCellSelectionStyle::None) cell->setHighlighted(true);
}

void TableView::userSelect(const IndexPath& indexPath) {
    auto keep = weak_from_this().lock();
    setPressed(std::nullopt);
    std::optional<IndexPath> target = tableDelegate_ ? tableDelegate_->willSelectRow(*this, indexPath) : indexPath;
    if (!target || !isValid(*target)) return;
    if (selected_ && *selected_ != *target) {
        IndexPath old = *selected_;
        deselectRow(old);
        if (tableDelegate_) tableDelegate_->didDeselectRow(*this, old);
    }
    selected_ = target;
    if (auto cell = cellForRow(*target)) cell->setSelected(true);
    if (tableDelegate_) tableDelegate_->didSelectRow(*this, *target);
}

// ---- swipe to delete

void TableView::showDeleteConfirmation(const IndexPath& indexPath) {
    hideDeleteConfirmation();
    auto cell = cellForRow(indexPath);
    if (!cell) return;
    std::string title = tableDelegate_ ? tableDelegate_->titleForDeleteConfirmationButton(*this, indexPath)
                                       : SystemWords::text(SystemWord::Delete);
    auto button = Button::make();
    button->setTitle(title);
    button->setTitleColor(Color::white());
    button->setBackgroundColor(Color::rgba(200, 35, 35));
    button->layer().setCornerRadius(6);
    Rect b = cell->bounds();
    double width = std::max(64.0, button->titleLabel()->sizeThatFits({}).width + 24);
    double height = std::max(0.0, std::min(b.height() - 12, 32.0));
    button->setFrame({b.maxX() - width - 8, b.midY() - height / 2, width, height});
    std::weak_ptr<View> weak = weak_from_this();
    button->onTouchUpInside([weak, indexPath] {
        if (auto table = std::static_pointer_cast<TableView>(weak.lock())) table->commitDelete(indexPath);
    });
    cell->addSubview(button);
    deleteButton_ = button;
    deleteRow_ = indexPath;
}

void TableView::hideDeleteConfirmation() {
    if (deleteButton_) deleteButton_->removeFromSuperview();
    deleteButton_.reset();
    deleteRow_.reset();
}

void TableView::commitDelete(const IndexPath& indexPath) {
    auto keep = weak_from_this().lock();
    hideDeleteConfirmation();
    if (dataSource_) dataSource_->commitEditingStyle(*this, TableViewCellEditingStyle::Delete, indexPath);
}

// ---- touches

void TableView::touchesBegan(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    ScrollView::touchesBegan(touches);
    const Touch& touch = touches.front();
    touchStart_ = touch.windowLocation;
    swiped_ = false;
    hidingDelete_ = deleteRow_.has_value();
    std::optional<IndexPath> row = indexPathForRowAtPoint(touch.locationInView(this));
    swipeRow_ = hidingDelete_ ? std::nullopt : row;
    pressed_.reset();
    if (!hidingDelete_ && allowsSelection_)
        setPressed(row);
    else
        pressed_ = row;
}

void TableView::touchesMoved(const std::vector<Touch>& touches) {
    if (touches.empty() || swiped_) return;
    const Touch& touch = touches.front();
    double dx = touch.windowLocation.x - touchStart_.x, dy = touch.windowLocation.y - touchStart_.y;
    if (swipeRow_ && !isDragging() && std::fabs(dx) >= kSwipeDistance && std::fabs(dy) <= std::fabs(dx) / 2 &&
        dataSource_ && dataSource_->canEditRow(*this, *swipeRow_)) {
        bool deletes = !tableDelegate_ ||
                       tableDelegate_->editingStyleForRow(*this, *swipeRow_) == TableViewCellEditingStyle::Delete;
        if (deletes) {
            IndexPath row = *swipeRow_;
            swiped_ = true;
            setPressed(std::nullopt);
            dragEnded();
            showDeleteConfirmation(row);
            return;
        }
    }
    ScrollView::touchesMoved(touches);
    if (isDragging() || std::hypot(dx, dy) > kTapSlop) setPressed(std::nullopt);
}

void TableView::touchesEnded(const std::vector<Touch>& touches) {
    if (touches.empty()) return;
    auto keep = weak_from_this().lock();
    if (swiped_) {
        swiped_ = false;
        return;
    }
    ScrollView::touchesEnded(touches);
    const Touch& touch = touches.front();
    double moved = std::hypot(touch.windowLocation.x - touchStart_.x, touch.windowLocation.y - touchStart_.y);
    bool tap = !lastSequenceDragged() && moved <= kTapSlop;
    if (hidingDelete_) {
        hidingDelete_ = false;
        pressed_.reset();
        if (tap) hideDeleteConfirmation();
        return;
    }
    std::optional<IndexPath> pressed = pressed_;
    setPressed(std::nullopt);
    if (!tap || !pressed || !allowsSelection_) return;
    if (indexPathForRowAtPoint(touch.locationInView(this)) != pressed) return;
    userSelect(*pressed);
}

void TableView::touchesCancelled(const std::vector<Touch>& touches) {
    ScrollView::touchesCancelled(touches);
    setPressed(std::nullopt);
    swiped_ = false;
    hidingDelete_ = false;
}

} // namespace platform::ui
