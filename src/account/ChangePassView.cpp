#include "account/ChangePassView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "portal/GlobalService.h"
#include "table/SheetPanel.h"

namespace kavo {

ChangePassView::ChangePassView() : CustomUIActionSheetViewController("ChangePassView") {}

void ChangePassView::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {90, 40, 300, 200}, res.textWithKey("KAVO_changePass"));
    setActionSheetView(panel);
    txfOldPass_ = SheetPanel::addField(*panel, {20, 36, 260, 30}, "txfOldPass", res.textWithKey("KAVO_typeOldPass"));
    txfNewPass_ = SheetPanel::addField(*panel, {20, 72, 260, 30}, "txfNewPass", res.textWithKey("KAVO_typeNewPass"));
    txfRetypePass_ =
        SheetPanel::addField(*panel, {20, 108, 260, 30}, "txfRetypePass", res.textWithKey("KAVO_retypeNewPass"));
    for (const auto& field : {txfOldPass_, txfNewPass_, txfRetypePass_})
        field->setSecureTextEntry(true);
    SheetPanel::addButton(*panel, {30, 152, 110, 34}, "btnOK_Clicked", res.textWithKey("KAVO_OK"),
                          [this] { btnOK_Clicked(); });
    SheetPanel::addButton(*panel, {160, 152, 110, 34}, "btnCancel_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { btnCancel_Clicked(); });
}

void ChangePassView::btnOK_Clicked() {
    auto& res = Resources::getInstance();
    const std::string newPass = txfNewPass_->text();
    const char* problem = nullptr;
    if (txfOldPass_->text().empty() || newPass.empty())
        problem = "KAVO_chuaNhapDu";
    else if (newPass != txfRetypePass_->text())
        problem = "KAVO_RetypePassInvalid";
    if (problem) {
        UIController::setOkValue(UIController::kActionNone);
        UIController::startOKDlg(res.textWithKey(problem));
        return;
    }
    GlobalService::getInstance().updatePasswordWithOldPass(txfOldPass_->text(), newPass);
    slideOut();
}

} // namespace kavo
