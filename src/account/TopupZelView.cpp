#include "account/TopupZelView.h"

#include "app/Util.h"
#include "platform/foundation/UserDefaults.h"
#include "table/TextRowsSource.h"

namespace kavo {

TopupZelView::TopupZelView(platform::ui::Rect frame)
    : platform::ui::View(frame), rows_(std::make_shared<TextRowsSource>()) {
    setAccessibilityIdentifier("TopupZelView");
    setBackgroundColor(platform::ui::Color::rgba(30, 40, 60, 0.95));
    tableView_ = rows_->makeTable({10, 40, frame.width() - 20, frame.height() - 50}, "tblMoney");
    addSubview(tableView_);
}

TopupZelView::~TopupZelView() = default;

std::shared_ptr<TopupZelView> TopupZelView::make(platform::ui::Rect frame) {
    return std::make_shared<TopupZelView>(frame);
}

void TopupZelView::completeRechargeWithApp() {
    if (auto* parent = superview()) {
        Util::hideLoadingOnView(parent->shared_from_this());
    }
    Util::hideLoadingOnView(shared_from_this());
    auto& defaults = platform::UserDefaults::standard();
    const platform::Value stored = defaults.objectForKey(kPendingReceiptsKey);
    if (!stored.isArray()) return;
    platform::Value::Array kept;
    for (const auto& receipt : stored.arrayValue()) {
        if (receipt.stringValue() != receipt_) kept.push_back(receipt);
    }
    defaults.setObject(platform::Value(std::move(kept)), kPendingReceiptsKey);
    defaults.synchronize();
}

void TopupZelView::forceReloadData() {
    std::vector<std::string> rows;
    for (const auto& channel : listMoney_) {
        if (channel) rows.push_back(channel->info());
    }
    rows_->setRows(std::move(rows));
    tableView_->reloadData();
}

} // namespace kavo
