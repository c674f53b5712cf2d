#include "account/ChangePassView.h"

#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

namespace ui = platform::ui;

ChangePassView::ChangePassView() : CustomUIActionSheetViewController("ChangePassView") {}

ChangePassView::~ChangePassView() {
    auto& center = platform::NotificationCenter::defaultCenter();
    if (showToken_) center.removeObserver(showToken_);
    if (hideToken_) center.removeObserver(hideToken_);
    for (const auto& field : {txtOldPass_, txtNewPass_, txtConfirmNewPass_})
        if (field) field->setDelegate(nullptr);
}

void ChangePassView::viewDidLoad() {
    CustomUIActionSheetViewController::viewDidLoad();
    auto strip = ui::View::make(Util::changeRectFromRect({0, 0, 480, 200}));
    strip->setBackgroundColor(ui::Color::clear());
    view()->addSubview(strip);
    auto box = SheetPanel::build(*strip, {90, 0, 300, 200}, text("KAVO_changePass"));
    setActionSheetView(strip);
    struct Field {
        std::shared_ptr<ui::TextField>* field;
        const char* id;
        int tag;
        double y;
    };
    const Field fields[] = {{&txtOldPass_, "txtOldPass", kTagOld, 36},
                            {&txtNewPass_, "txtNewPass", kTagNew, 72},
                            {&txtConfirmNewPass_, "txtConfirmNewPass", kTagConfirm, 108}};
    for (const Field& made : fields) {
        auto field = SheetPanel::addField(*box, {20, made.y, 230, 30}, made.id, "");
        field->setSecureTextEntry(true);
        field->setDelegate(this);
        *made.field = field;
        const int tag = made.tag;
        SheetPanel::addButton(*box, {254, made.y, 30, 30}, "clearText" + std::to_string(tag), "x", [this, tag] {
            clearText(tag);
        })->setTag(tag);
    }
    setDefaultButton(
        SheetPanel::addButton(*box, {30, 152, 110, 34}, "onChangePass", text("KAVO_OK"), [this] { onChangePass(); }));
    SheetPanel::addButton(*box, {160, 152, 110, 34}, "onCancel", text("KAVO_cancel"), [this] { onCancel(); });
    isModed_ = false;
    auto& center = platform::NotificationCenter::defaultCenter();
    // The keyboard coming up asks nothing of the sheet; its going away closes it.
    showToken_ = center.addObserver(ui::Keyboard::WillShowNotification, [](const platform::Notification&) {});
    hideToken_ = center.addObserver(ui::Keyboard::WillHideNotification,
                                    [this](const platform::Notification&) { keyboardWillHide(); });
}

void ChangePassView::viewWillAppear(bool animated) {
    view();
    CustomUIActionSheetViewController::viewWillAppear(animated);
    txtOldPass_->setPlaceholder(text("KAVO_typeOldPass"));
    txtNewPass_->setPlaceholder(text("KAVO_typeNewPass"));
    txtConfirmNewPass_->setPlaceholder(text("KAVO_reTypePass"));
    txtOldPass_->becomeFirstResponder();
    const ui::ViewPtr& strip = actionSheetView();
    oldOrigin_ = strip->frame().origin;
    ui::View::beginAnimations(PresentAnimationName);
    ui::Rect frame = strip->frame();
    frame.origin = {0, Util::isPad() ? 200.0 : 30.0};
    strip->setFrame(frame);
    ui::View::commitAnimations();
    isModed_ = false;
}

void ChangePassView::viewDidAppear(bool animated) {
    CustomUIActionSheetViewController::viewDidAppear(animated);
    const ui::ViewPtr& strip = actionSheetView();
    ui::View::beginAnimations(PresentAnimationName);
    strip->setCenter({strip->center().x, strip->center().y - (Util::isPad() ? 200 : 20)});
    ui::View::commitAnimations();
}

void ChangePassView::keyboardWillHide() {
    if (isViewLoaded() && view()->superview()) slideOut();
}

void ChangePassView::didBeginEditing(ui::TextField& /*field*/) {
    isModed_ = true;
}

bool ChangePassView::shouldReturn(ui::TextField& field) {
    textFieldDoneEditting(field);
    return false;
}

// Return moves on from the old password to the new one and to its repetition; in the
// repetition (the last field) it presses OK, as in every form.
void ChangePassView::textFieldDoneEditting(ui::TextField& field) {
    if (&field == txtOldPass_.get()) {
        txtNewPass_->becomeFirstResponder();
    } else if (&field == txtNewPass_.get()) {
        txtConfirmNewPass_->becomeFirstResponder();
    }
}

void ChangePassView::clearText(int tag) {
    const auto& field = tag == kTagOld       ? txtOldPass_
                        : tag == kTagNew     ? txtNewPass_
                        : tag == kTagConfirm ? txtConfirmNewPass_
                                             : nullptr;
    if (!field) return;
    field->setText("");
    field->becomeFirstResponder();
}

void ChangePassView::doChangePass() {
    const std::string oldPass = txtOldPass_->text();
    const std::string newPass = txtNewPass_->text();
    if (oldPass.empty()) {
        slideOut();
        return;
    }
    if (!newPass.empty() && newPass == txtConfirmNewPass_->text()) {
        if (userData_) {
            userData_->setIsChangePass(1);
            userData_->setOldPass(oldPass);
            userData_->setUNewPass(newPass);
        }
        GlobalService::getInstance().updatePasswordWithOldPass(oldPass, newPass);
        slideOut();
        return;
    }
    UIController::showNotice(text("KAVO_invalidNewPass"));
    slideOut();
}

} // namespace kavo
