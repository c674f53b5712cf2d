#include "account/TransferMoneyView.h"

#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/LobbyGames.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

void warn(const char* key) {
    UIController::showNotice(text(key));
}

} // namespace

TransferMoneyView::TransferMoneyView() : CustomUIActionSheetViewController("TransferMoneyView") {}

TransferMoneyView::~TransferMoneyView() {
    auto& center = platform::NotificationCenter::defaultCenter();
    if (showToken_) center.removeObserver(showToken_);
    if (hideToken_) center.removeObserver(hideToken_);
    for (const auto& field : {txtName_, txtMoney_})
        if (field) field->setDelegate(nullptr);
}

void TransferMoneyView::viewDidLoad() {
    CustomUIActionSheetViewController::viewDidLoad();
    // The sheet moves its whole strip; the box sits in its middle.
    auto strip = ui::View::make(Util::changeRectFromRect({0, 0, 480, 170}));
    strip->setBackgroundColor(ui::Color::clear());
    view()->addSubview(strip);
    auto box = SheetPanel::build(*strip, {90, 0, 300, 170}, text("KAVO_TransferZel"));
    setActionSheetView(strip);
    txtName_ = SheetPanel::addField(*box, {20, 36, 230, 30}, "txtName", "");
    txtMoney_ = SheetPanel::addField(*box, {20, 74, 230, 30}, "txtMoney", "");
    txtMoney_->setKeyboardType(ui::KeyboardType::NumberPad);
    for (const auto& field : {txtName_, txtMoney_})
        field->setDelegate(this);
    const std::pair<int, ui::Rect> clears[] = {{kTagName, {254, 36, 30, 30}}, {kTagMoney, {254, 74, 30, 30}}};
    for (const auto& [tag, frame] : clears) {
        const int clearTag = tag;
        auto clear = SheetPanel::addButton(*box, frame, "clearText" + std::to_string(tag), "x",
                                           [this, clearTag] { clearText(clearTag); });
        clear->setTag(tag);
    }
    btnOK_ = SheetPanel::addButton(*box, {30, 122, 110, 34}, "btnOK", "", [this] { doSendMoney(); });
    setDefaultButton(btnOK_);
    btnCancel_ = SheetPanel::addButton(*box, {160, 122, 110, 34}, "btnCancel", "", [this] { onCancel(); });
    auto& center = platform::NotificationCenter::defaultCenter();
    showToken_ = center.addObserver(ui::Keyboard::WillShowNotification,
                                    [this](const platform::Notification&) { keyboardWillShow(); });
    hideToken_ = center.addObserver(ui::Keyboard::WillHideNotification,
                                    [this](const platform::Notification&) { keyboardWillHide(); });
}

void TransferMoneyView::raise() {
    const ui::ViewPtr& strip = actionSheetView();
    if (!strip) return;
    oldOrigin_ = strip->frame().origin;
    const double y = Util::isPad() ? 60 : 10;
    ui::View::beginAnimations(PresentAnimationName);
    ui::Rect frame = strip->frame();
    frame.origin = {0, y};
    strip->setFrame(frame);
    ui::View::commitAnimations();
    isModed_ = true;
}

void TransferMoneyView::viewWillAppear(bool animated) {
    view(); // loaded before the fields are filled
    CustomUIActionSheetViewController::viewWillAppear(animated);
    isModed_ = false;
    txtName_->setText(nickname_);
    txtMoney_->setText("");
    btnOK_->setTitle(text("KAVO_OK"));
    btnCancel_->setTitle(text("KAVO_cancel"));
    txtName_->setPlaceholder(text("KAVO_transferredUser"));
    txtMoney_->setPlaceholder(text("KAVO_transferredMoney"));
    txtName_->becomeFirstResponder();
    raise();
}

void TransferMoneyView::keyboardWillShow() {
    if (!isModed_ && isViewLoaded() && view()->superview()) raise();
}

void TransferMoneyView::keyboardWillHide() {
    if (isViewLoaded() && view()->superview()) slideOut();
}

bool TransferMoneyView::shouldReturn(ui::TextField& field) {
    textFieldDoneEditting(field);
    return false;
}

void TransferMoneyView::textFieldDoneEditting(ui::TextField& field) {
    if (&field == txtName_.get()) txtMoney_->becomeFirstResponder();
}

void TransferMoneyView::doSendMoney() {
    if (isModed_) txtMoney_->resignFirstResponder();
    doTransferMoney();
}

void TransferMoneyView::clearText(int tag) {
    const auto& field = tag == kTagName ? txtName_ : tag == kTagMoney ? txtMoney_ : nullptr;
    if (!field) return;
    field->setText("");
    field->becomeFirstResponder();
}

void TransferMoneyView::doTransferMoney() {
    const std::string name = txtName_->text();
    const std::string amountText = txtMoney_->text();
    if (amountText.empty() || name.empty()) {
        warn("KAVO_LottoGeneralWarning");
        slideOut();
        return;
    }
    const int32_t amount = intValueOfText(amountText);
    if (amount < kMinimumAmount) {
        warn("KAVO_MoneyTransfer_Warning");
        slideOut();
        return;
    }
    GlobalService::getInstance().transferMoneyWithNick(name, amount);
    slideOut();
}

} // namespace kavo
