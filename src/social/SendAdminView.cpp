#include "social/SendAdminView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "portal/GlobalService.h"
#include "table/SheetPanel.h"

namespace kavo {

const std::shared_ptr<SendAdminView>& SendAdminView::getInstance() {
    static const std::shared_ptr<SendAdminView> instance = std::make_shared<SendAdminView>();
    return instance;
}

SendAdminView::SendAdminView() : CustomUIActionSheetViewController("SendAdminView") {}

void SendAdminView::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {60, 60, 360, 130}, res.textWithKey("KAVO_Comment"));
    setActionSheetView(panel);
    txtContent_ = SheetPanel::addField(*panel, {10, 36, 340, 30}, "txtContent", res.textWithKey("KAVO_Comment"));
    SheetPanel::addButton(*panel, {60, 84, 110, 34}, "btnOK", res.textWithKey("KAVO_send"), [this] { doSendMail(); });
    SheetPanel::addButton(*panel, {190, 84, 110, 34}, "onCancel", res.textWithKey("KAVO_cancel"),
                          [this] { onCancel(); });
}

void SendAdminView::doSendMail() {
    const std::string line = txtContent_ ? txtContent_->text() : std::string();
    if (line.empty()) return;
    GlobalService::getInstance().chatToWithIDDB(kAdministratorId, line);
    txtContent_->setText("");
    slideOut();
    UIController::setOkValue(UIController::kActionNone);
    UIController::startOKDlg(Resources::getInstance().textWithKey("KAVO_thankComment"));
}

void SendAdminView::onCancel() {
    if (txtContent_) txtContent_->setText("");
    slideOut();
}

} // namespace kavo
