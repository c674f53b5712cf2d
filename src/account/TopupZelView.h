#pragma once

#include "platform/ui/TableView.h"
#include "platform/ui/View.h"
#include "portal/model/ChargeMoneyInfo.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

class TextRowsSource;

// The top-up panel: the ways to buy Zel. Added over the top screen's view.
class TopupZelView : public platform::ui::View {
public:
    explicit TopupZelView(platform::ui::Rect frame = {});
    ~TopupZelView() override;
    static std::shared_ptr<TopupZelView> make(platform::ui::Rect frame);

    // The receipt the server is asked to confirm.
    void setReceiptStringFromServer(const std::string& receipt) { receipt_ = receipt; }
    const std::string& receiptStringFromServer() const { return receipt_; }
    // The purchase was confirmed: hides the loading overlay and removes the receipt
    // from the stored pending list ("pendingReceipts" in the user defaults).
    void completeRechargeWithApp();
    static constexpr const char* kPendingReceiptsKey = "pendingReceipts";

    void set_listMoney(std::vector<std::shared_ptr<ChargeMoneyInfo>> list) { listMoney_ = std::move(list); }
    const std::vector<std::shared_ptr<ChargeMoneyInfo>>& listMoney() const { return listMoney_; }
    void forceReloadData();

private:
    std::string receipt_;
    std::vector<std::shared_ptr<ChargeMoneyInfo>> listMoney_;
    std::shared_ptr<TextRowsSource> rows_;
    std::shared_ptr<platform::ui::TableView> tableView_;
};

} // namespace kavo
