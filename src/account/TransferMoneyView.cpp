#include "account/TransferMoneyView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/foundation/Value.h"
#include "portal/GlobalService.h"
#include "table/SheetPanel.h"

namespace kavo {

TransferMoneyView::TransferMoneyView() : CustomUIActionSheetViewController("TransferMoneyView") {}

void TransferMoneyView::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {90, 50, 300, 170}, res.textWithKey("KAVO_transferMoney"));
    setActionSheetView(panel);
    txfNick_ = SheetPanel::addField(*panel, {20, 36, 260, 30}, "txfNick", res.textWithKey("KAVO_nick"));
    txfMoney_ = SheetPanel::addField(*panel, {20, 72, 260, 30}, "txfMoney", res.textWithKey("KAVO_TypeMoney"));
    txfMoney_->setKeyboardType(platform::ui::KeyboardType::NumberPad);
    SheetPanel::addButton(*panel, {30, 120, 110, 34}, "btnOK_Clicked", res.textWithKey("KAVO_OK"),
                          [this] { btnOK_Clicked(); });
    SheetPanel::addButton(*panel, {160, 120, 110, 34}, "btnCancel_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { btnCancel_Clicked(); });
}

void TransferMoneyView::btnOK_Clicked() {
    const std::string nick = txfNick_->text();
    const std::string typed = txfMoney_->text();
    const bool digitsOnly =
        !typed.empty() && typed.size() <= 9 && typed.find_first_not_of("0123456789") == std::string::npos;
    const int64_t money = digitsOnly ? platform::parseLeadingInteger(typed) : 0;
    if (nick.empty() || money <= 0) {
        UIController::setOkValue(UIController::kActionNone);
        UIController::startOKDlg(Resources::getInstance().textWithKey("KAVO_chuaNhapDu"));
        return;
    }
    GlobalService::getInstance().transferMoneyWithNick(nick, int32_t(money));
    slideOut();
}

} // namespace kavo
