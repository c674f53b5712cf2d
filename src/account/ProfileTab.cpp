#include "account/ProfileTab.h"

namespace kavo {

void ProfileTab::viewDidLoad() {
    KavoViewController::viewDidLoad();
    imgViewCounterMessage()->removeFromSuperview();
    lblCounterMessage()->removeFromSuperview();
    view()->setBackgroundColor(platform::ui::Color::clear());
}

std::shared_ptr<platform::ui::TableView> ProfileTab::addTable(platform::ui::TableViewDataSource& source,
                                                              platform::ui::TableViewDelegate& delegate,
                                                              double rowHeight) {
    namespace ui = platform::ui;
    auto table = ui::TableView::make(view()->bounds());
    table->setAccessibilityIdentifier("myTableView");
    table->setAutoresizingMask(ui::AutoresizingFlexibleWidth | ui::AutoresizingFlexibleHeight);
    table->setBackgroundColor(ui::Color::clear());
    table->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    table->setRowHeight(rowHeight);
    table->setDataSource(&source);
    table->setDelegate(&delegate);
    view()->addSubview(table);
    return table;
}

} // namespace kavo
