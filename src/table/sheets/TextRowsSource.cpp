#include "table/sheets/TextRowsSource.h"

#include "platform/ui/TableViewCell.h"

#include <algorithm>

namespace kavo {

std::shared_ptr<platform::ui::TableView> TextRowsSource::makeTable(platform::ui::Rect frame,
                                                                   const std::string& identifier) {
    auto table = platform::ui::TableView::make(frame);
    table->setAccessibilityIdentifier(identifier);
    table->setDataSource(this);
    table->setDelegate(this);
    return table;
}

int TextRowsSource::numberOfSections(platform::ui::TableView&) {
    return std::max(1, int(sections_.size()));
}

int TextRowsSource::numberOfRows(platform::ui::TableView&, int section) {
    if (section < 0 || size_t(section) >= sections_.size()) return 0;
    return int(sections_[size_t(section)].size());
}

std::shared_ptr<platform::ui::TableViewCell> TextRowsSource::cellForRow(platform::ui::TableView& table,
                                                                        const platform::ui::IndexPath& indexPath) {
    static const std::string reuse = "textRow";
    auto cell = table.dequeueReusableCell(reuse);
    if (!cell) cell = platform::ui::TableViewCell::make(platform::ui::TableViewCellStyle::Default, reuse);
    std::string text;
    if (indexPath.section >= 0 && size_t(indexPath.section) < sections_.size()) {
        const auto& rows = sections_[size_t(indexPath.section)];
        if (indexPath.row >= 0 && size_t(indexPath.row) < rows.size()) text = rows[size_t(indexPath.row)];
    }
    cell->textLabel()->setText(text);
    return cell;
}

void TextRowsSource::didSelectRow(platform::ui::TableView&, const platform::ui::IndexPath& indexPath) {
    if (onSelect_) onSelect_(indexPath.section, indexPath.row);
}

} // namespace kavo
