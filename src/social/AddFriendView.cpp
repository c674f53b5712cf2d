#include "social/AddFriendView.h"

#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Keyboard.h"
#include "social/FriendSearch.h"
#include "table/sheets/SheetPanel.h"

namespace kavo {

AddFriendView::AddFriendView() : CustomUIActionSheetViewController("AddFriendView") {}

AddFriendView::~AddFriendView() {
    auto& center = platform::NotificationCenter::defaultCenter();
    if (showToken_) center.removeObserver(showToken_);
    if (hideToken_) center.removeObserver(hideToken_);
}

void AddFriendView::viewDidLoad() {
    auto& center = platform::NotificationCenter::defaultCenter();
    showToken_ = center.addObserver(platform::ui::Keyboard::WillShowNotification,
                                    [this](const platform::Notification&) { keyboardWillShow(); });
    hideToken_ = center.addObserver(platform::ui::Keyboard::WillHideNotification,
                                    [this](const platform::Notification&) { keyboardWillHide(); });
    auto panel = SheetPanel::build(*view(), {60, 60, 360, 130}, "");
    setActionSheetView(panel);
    // The shared mailbox keeps this sheet: its texts are bound so each showing reads the
    // language in force.
    auto& texts = languageTexts();
    lblTitle_ = SheetPanel::titleOf(*panel);
    texts.text(lblTitle_, "KAVO_addFriend");
    txtName_ = SheetPanel::addField(*panel, {10, 36, 340, 30}, "txtName", "");
    texts.placeholder(txtName_, "KAVO_nick");
    txtName_->setAutocorrectionType(platform::ui::AutocorrectionType::No);
    btnAccept_ = SheetPanel::addButton(*panel, {60, 84, 110, 34}, "btnAccept", "", [this] { doAddFriend(); });
    setDefaultButton(btnAccept_);
    texts.title(btnAccept_, "KAVO_OK");
    btnCancel_ = SheetPanel::addButton(*panel, {190, 84, 110, 34}, "btnCancel", "", [this] { onCancel(); });
    texts.title(btnCancel_, "KAVO_cancel");
}

bool AddFriendView::isShown() const {
    return isViewLoaded() && const_cast<AddFriendView*>(this)->view()->superview();
}

void AddFriendView::movePanelTo(double y) {
    const auto& panel = actionSheetView();
    if (!panel) return;
    platform::ui::View::beginAnimations(PresentAnimationName);
    auto frame = panel->frame();
    frame.origin = {0, y};
    panel->setFrame(frame);
    platform::ui::View::commitAnimations();
}

void AddFriendView::viewWillAppear(bool animated) {
    CustomUIActionSheetViewController::viewWillAppear(animated);
    txtName_->becomeFirstResponder();
    txtName_->setText("");
    movePanelTo(Util::isPad() ? 200 : 50);
}

void AddFriendView::keyboardWillShow() {
    if (isShown()) movePanelTo(Util::isPad() ? 100 : 50);
}

void AddFriendView::keyboardWillHide() {
    // The sheet is kept while closed: only an open sheet closes with the keyboard.
    if (isShown()) slideOut();
}

void AddFriendView::onCancel() {
    slideOut();
}

void AddFriendView::doAddFriend() {
    slideOut();
    const std::string name = txtName_->text();
    if (platform::utf16Length(name) >= kMinLength) {
        FriendSearch::requestByName(name);
        return;
    }
    UIController::showNotice(text("KAVO_limit4Num"));
}

} // namespace kavo
