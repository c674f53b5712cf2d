#pragma once

#include "account/ProfileRows.h"
#include "account/ProfileTab.h"
#include "platform/ui/TableView.h"
#include "portal/model/AccountRecords.h"

#include <memory>
#include <vector>

namespace kavo {

// The transactions tab: the player's transaction log as the server wrote it.
class Profile_TransactionView : public ProfileTab,
                                public platform::ui::TableViewDataSource,
                                public platform::ui::TableViewDelegate {
public:
    Profile_TransactionView();
    ~Profile_TransactionView() override;

    void viewDidLoad() override;
    void setTransactionList(std::vector<std::shared_ptr<TransactionLog>> logs) { transactionList_ = std::move(logs); }
    const std::vector<std::shared_ptr<TransactionLog>>& transactionList() const { return transactionList_; }
    // Reloads the table and hides the tab's loading indicator.
    void forceReloadData();
    const std::shared_ptr<platform::ui::TableView>& myTableView() const { return myTableView_; }

    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;

private:
    std::vector<std::shared_ptr<TransactionLog>> transactionList_;
    RowStripe stripe_;
    std::shared_ptr<platform::ui::TableView> myTableView_;
};

} // namespace kavo
