#include "account/Profile_TransactionView.h"

#include "account/CellTaiSan.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"

namespace kavo {

namespace ui = platform::ui;

Profile_TransactionView::Profile_TransactionView() : ProfileTab("Profile_TransactionView") {}

Profile_TransactionView::~Profile_TransactionView() {
    if (myTableView_) {
        myTableView_->setDataSource(nullptr);
        myTableView_->setDelegate(nullptr);
    }
}

void Profile_TransactionView::viewDidLoad() {
    ProfileTab::viewDidLoad();
    myTableView_ = addTable(*this, *this, Util::isPad() ? 98 : 41);
    myTableView_->setAllowsSelection(false);
    myTableView_->reloadData();
}

void Profile_TransactionView::forceReloadData() {
    if (myTableView_) myTableView_->reloadData();
    Util::hideLoadingOnView(view());
}

int Profile_TransactionView::numberOfRows(ui::TableView& /*table*/, int /*section*/) {
    return int(transactionList_.size());
}

std::shared_ptr<ui::TableViewCell> Profile_TransactionView::cellForRow(ui::TableView& table,
                                                                       const ui::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<CellLichSu>(table.dequeueReusableCell(CellLichSu::kIdentifier));
    if (!cell) {
        cell = CellLichSu::make();
        cell->imgBackground()->setFrame(Util::isPad() ? ui::Rect(0, 0, 930, 98) : ui::Rect(0, 0, 437, 41));
        cell->imgBackground()->setImage(Util::getImageWithName(stripe_.nextImageName()));
    }
    const size_t row = size_t(indexPath.row);
    if (indexPath.row < 0 || row >= transactionList_.size() || !transactionList_[row]) return cell;
    cell->lblContent()->setText(transactionList_[row]->content());
    cell->lblTime()->setText(transactionList_[row]->time());
    return cell;
}

} // namespace kavo
