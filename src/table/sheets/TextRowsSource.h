#pragma once

#include "platform/ui/TableView.h"

#include <functional>
#include <string>
#include <vector>

namespace kavo {

// Feeds a table view with rows of plain text, one list per section; a tap on a row
// goes to `onSelect`. The thin list screens show their records through it until
// they get cells of their own.
class TextRowsSource : public platform::ui::TableViewDataSource, public platform::ui::TableViewDelegate {
public:
    void setSections(std::vector<std::vector<std::string>> sections) { sections_ = std::move(sections); }
    void setRows(std::vector<std::string> rows) { sections_ = {std::move(rows)}; }
    const std::vector<std::vector<std::string>>& sections() const { return sections_; }
    void setOnSelect(std::function<void(int section, int row)> onSelect) { onSelect_ = std::move(onSelect); }

    // Makes a table view at `frame` with `identifier` that this object feeds.
    std::shared_ptr<platform::ui::TableView> makeTable(platform::ui::Rect frame, const std::string& identifier);

    int numberOfSections(platform::ui::TableView& table) override;
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;

private:
    std::vector<std::vector<std::string>> sections_;
    std::function<void(int, int)> onSelect_;
};

} // namespace kavo
