#include "social/SendAdminView.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "portal/GlobalService.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

const std::shared_ptr<SendAdminView>& SendAdminView::getInstance() {
    static const std::shared_ptr<SendAdminView> instance = std::make_shared<SendAdminView>();
    return instance;
}

SendAdminView::SendAdminView() : CustomUIActionSheetViewController("SendAdminView") {}

SendAdminView::~SendAdminView() {
    if (txtContent_) txtContent_->setDelegate(nullptr);
}

void SendAdminView::viewDidLoad() {
    auto panel = SheetPanel::build(*view(), {60, 60, 360, 130}, "");
    setActionSheetView(panel);
    lblTitle_ = SheetPanel::titleOf(*panel);
    auto& texts = languageTexts();
    texts.text(lblTitle_, "KAVO_Comment");
    txtContent_ = SheetPanel::addField(*panel, {10, 36, 340, 30}, "txtContent", "");
    texts.placeholder(txtContent_, "KAVO_Comment");
    txtContent_->setDelegate(this);
    const auto send = SheetPanel::addButton(*panel, {60, 84, 110, 34}, "btnOK", "", [this] { doSendMail(); });
    texts.title(send, "KAVO_send");
    setDefaultButton(send);
    texts.title(SheetPanel::addButton(*panel, {190, 84, 110, 34}, "onCancel", "", [this] { onCancel(); }),
                "KAVO_cancel");
}

void SendAdminView::liftPanel() {
    const auto& panel = actionSheetView();
    if (!panel) return;
    platform::ui::View::beginAnimations(PresentAnimationName);
    auto frame = panel->frame();
    frame.origin = {0, Util::isPad() ? 200.0 : 50.0};
    panel->setFrame(frame);
    platform::ui::View::commitAnimations();
}

void SendAdminView::viewWillAppear(bool animated) {
    CustomUIActionSheetViewController::viewWillAppear(animated);
    txtContent_->becomeFirstResponder();
    liftPanel();
}

void SendAdminView::didBeginEditing(platform::ui::TextField& /*field*/) {
    liftPanel();
}

void SendAdminView::doSendMail() {
    slideOut();
    const std::string line = txtContent_ ? txtContent_->text() : std::string();
    if (line.empty()) return;
    GlobalService::getInstance().chatToWithIDDB(kAdministratorId, line);
    UIController::showNotice(Resources::getInstance().textWithKey("KAVO_thankComment"));
    txtContent_->setText("");
    sendType_ = -1;
}

void SendAdminView::onCancel() {
    if (txtContent_) txtContent_->setText("");
    slideOut();
}

void SendAdminView::clearText() {
    txtContent_->setText("");
    txtContent_->becomeFirstResponder();
}

} // namespace kavo
