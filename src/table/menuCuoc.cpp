#include "table/menuCuoc.h"

#include "account/LottoView.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/LobbyGames.h"
#include "platform/foundation/Value.h"
#include "portal/GlobalService.h"
#include "table/GameController.h"
#include "table/GameTableView.h"
#include "table/SheetPanel.h"

namespace kavo {

const std::shared_ptr<menuCuoc>& menuCuoc::getInstance() {
    static const std::shared_ptr<menuCuoc> instance = std::make_shared<menuCuoc>();
    return instance;
}

menuCuoc::menuCuoc() : CustomUIActionSheetViewController("menuCuoc") {}

void menuCuoc::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {110, 80, 260, 140}, res.textWithKey("KAVO_dat_cuoc"));
    setActionSheetView(panel);
    txfMoney_ = SheetPanel::addField(*panel, {20, 40, 220, 30}, "txfMoney", res.textWithKey("KAVO_TypeMoney"));
    txfMoney_->setKeyboardType(platform::ui::KeyboardType::NumberPad);
    SheetPanel::addButton(*panel, {20, 90, 100, 34}, "btnOK_Clicked", res.textWithKey("KAVO_OK"),
                          [this] { btnOK_Clicked(); });
    SheetPanel::addButton(*panel, {140, 90, 100, 34}, "btnCancel_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { btnCancel_Clicked(); });
}

void menuCuoc::doSaveSetMoney(const std::string& text) {
    const int32_t amount = intValueOfText(text);
    if (amount < 0) {
        UIController::setOkValue(UIController::kActionNone);
        UIController::startOKDlg(Resources::getInstance().textWithKey("KAVO_InvalidBet"));
        return;
    }
    if (LottoView::buyWithStake(amount, true)) return;
    if (auto table = GameController::topTableView())
        GlobalService::getInstance().setMoneyWithRoomId(table->roomId(), table->boardId(), amount);
}

void menuCuoc::viewWillAppear(bool animated) {
    CustomUIActionSheetViewController::viewWillAppear(animated);
    if (txfMoney_)
        txfMoney_->setPlaceholder(
            Resources::getInstance().textWithKey(LottoView::onTop() ? "KAVO_TypeMoney" : "KAVO_setMoney"));
}

void menuCuoc::btnOK_Clicked() {
    const std::string typed = txfMoney_ ? txfMoney_->text() : std::string();
    if (LottoView::onTop()) {
        LottoView::buyWithStake(intValueOfText(typed), false);
        slideOut();
        return;
    }
    const bool digitsOnly =
        !typed.empty() && typed.size() <= 9 && typed.find_first_not_of("0123456789") == std::string::npos;
    const int64_t money = digitsOnly ? platform::parseLeadingInteger(typed) : 0;
    if (money <= 0) {
        UIController::setOkValue(UIController::kActionNone);
        UIController::startOKDlg(Resources::getInstance().textWithKey("KAVO_InvalidBet"));
        return;
    }
    if (auto table = GameController::topTableView())
        GlobalService::getInstance().setMoneyWithRoomId(table->roomId(), table->boardId(), int32_t(money));
    slideOut();
}

} // namespace kavo
