#include "lobby/PasswordIntoBoard.h"

#include "app/Util.h"
#include "lobby/LobbyLayout.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"

namespace kavo {

namespace ui = platform::ui;

PasswordIntoBoard::PasswordIntoBoard() : PasswordIntoBoard("PasswordIntoBoard") {}

PasswordIntoBoard::PasswordIntoBoard(const std::string& nibName) : CustomUIActionSheetViewController(nibName) {}

PasswordIntoBoard::~PasswordIntoBoard() {
    if (txtPassword_) txtPassword_->setDelegate(nullptr);
}

void PasswordIntoBoard::viewDidLoad() {
    CustomUIActionSheetViewController::viewDidLoad();
    setUIScreen();
}

void PasswordIntoBoard::setUIScreen() {
    view()->setBackgroundColor(ui::Color::clear());
    // The panel spans the screen's width; its visible box sits in the middle.
    auto panel = ui::View::make(lobby::scaled({0, 0, 480, 110}));
    panel->setAccessibilityIdentifier("actionSheetView");
    setActionSheetView(panel);
    auto box = lobby::addPanelBox(panel, {90, 0, 300, 110}, "boxPassword");

    txtPassword_ = lobby::addField(box, {20, 22, 260, 30}, "txtPassword", placeholderText());
    txtPassword_->setSecureTextEntry(true);
    txtPassword_->setDelegate(this);

    btnOK_ = lobby::addButton(box, {100, 64, 100, 34}, "btnOK", lobby::text("KAVO_OK"));
    btnOK_->onTouchUpInside([this] { clickOK(); });
    setDefaultButton(btnOK_);
    // Leaving without a join: the box's corner closes the sheet.
    auto close = ui::Button::make(lobby::scaled({272, 0, 28, 28}));
    close->setAccessibilityIdentifier("btnClose");
    close->setImage(lobby::image("close_button.png"));
    close->onTouchUpInside([this] {
        txtPassword_->resignFirstResponder();
        slideOut();
    });
    box->addSubview(close);
}

std::string PasswordIntoBoard::placeholderText() const {
    return lobby::text("KAVO_joinBoardWithPass");
}

void PasswordIntoBoard::viewWillAppear(bool animated) {
    CustomUIActionSheetViewController::viewWillAppear(animated);
    txtPassword_->setPlaceholder(placeholderText());
    // Each showing asks afresh: a password typed for an earlier board (or refused) would
    // otherwise stay in the field and take what the player types now after it.
    txtPassword_->setText("");
    txtPassword_->becomeFirstResponder();
    raisePanel(appearAnimationName());
}

void PasswordIntoBoard::raisePanel(const std::string& animationName) {
    const ui::ViewPtr& panel = actionSheetView();
    if (!panel) return;
    // Above the keyboard: a fixed place, so raising twice (appearing, then editing)
    // does not walk the panel off the top.
    const ui::Rect screen = CustomUIActionSheetViewController::screenRect();
    const double restingY = (screen.height() - panel->frame().height()) / 2;
    ui::Rect frame = panel->frame();
    frame.origin = {0, Util::isPad() ? 200 : restingY - 30};
    ui::View::beginAnimations(animationName);
    panel->setFrame(frame);
    ui::View::commitAnimations();
}

void PasswordIntoBoard::didBeginEditing(ui::TextField& /*field*/) {
    textFieldBeginEditting();
}

void PasswordIntoBoard::textFieldBeginEditting() {
    if (!ui::Keyboard::exists()) return; // nothing to make room for
    raisePanel(PresentAnimationName);
}

void PasswordIntoBoard::clearText() {
    txtPassword_->setText("");
    txtPassword_->becomeFirstResponder();
}

void PasswordIntoBoard::doOK() {
    if (auto chosen = board()) {
        join(chosen->roomId(), chosen->boardId());
        return;
    }
    // The list was replaced meanwhile: nothing left to enter.
    platform::log("PasswordIntoBoard: the board is gone");
    slideOut();
}

void PasswordIntoBoard::join(int8_t roomId, int8_t boardId) {
    GlobalService::getInstance().joinBoardWithroomId(roomId, boardId, txtPassword_->text());
    txtPassword_->resignFirstResponder();
    slideOut();
}

} // namespace kavo
