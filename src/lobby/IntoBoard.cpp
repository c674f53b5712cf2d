#include "lobby/IntoBoard.h"

#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/LobbyGames.h"
#include "lobby/LobbyLayout.h"
#include "platform/foundation/Text.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"

#include <optional>

namespace kavo {

namespace ui = platform::ui;

namespace {

constexpr double kMoveDuration = 0.3;

// The number typed in a field: digits only (blanks around them allowed). A sign, a
// letter or nothing at all is no number.
std::optional<int64_t> typedNumber(const std::string& typed) {
    const std::string trimmed = platform::trimWhitespace(typed);
    if (trimmed.empty() || trimmed.size() > 9) return std::nullopt;
    for (char c : trimmed) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    return longLongValueOfText(trimmed);
}

void showNotice(const char* key) {
    UIController::showNotice(lobby::text(key));
}

} // namespace

IntoBoard::IntoBoard() : CustomUIActionSheetViewController("IntoBoard") {}

IntoBoard::~IntoBoard() {
    for (const auto& field : {txtRoom_, txtBoard_, txtPass_}) {
        if (field) field->setDelegate(nullptr);
    }
}

void IntoBoard::viewDidLoad() {
    CustomUIActionSheetViewController::viewDidLoad();
    setUIScreen();
    // Where the panel rests once it has slid in: the middle of the screen.
    pointCenter_ = CustomUIActionSheetViewController::screenRect().center();
}

void IntoBoard::setUIScreen() {
    view()->setBackgroundColor(ui::Color::clear());
    // 140 high: raised to a centre of 70 it sits right under the top edge.
    auto panel = ui::View::make(lobby::scaled({0, 0, 480, 140}));
    panel->setAccessibilityIdentifier("actionSheetView");
    setActionSheetView(panel);
    auto box = lobby::addPanelBox(panel, {90, 0, 300, 140}, "boxIntoBoard");

    lblTitle_ = lobby::addLabel(box, {10, 4, 280, 20}, "lblTitle", "", 13);
    txtRoom_ = lobby::addField(box, {20, 28, 125, 30}, "txtRoom");
    txtBoard_ = lobby::addField(box, {155, 28, 125, 30}, "txtBoard");
    txtPass_ = lobby::addField(box, {20, 63, 260, 30}, "txtPass");
    int tag = 1;
    for (const auto& field : {txtRoom_, txtBoard_, txtPass_}) {
        field->setTag(tag++); // the clear buttons' tags: 1 room, 2 board, 3 password
        field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
        field->setDelegate(this);
    }
    txtRoom_->setKeyboardType(ui::KeyboardType::NumberPad);
    txtBoard_->setKeyboardType(ui::KeyboardType::NumberPad);

    btnOK_ = lobby::addButton(box, {40, 99, 100, 34}, "btnOK", lobby::text("KAVO_search"));
    btnOK_->onTouchUpInside([this] { ok(); });
    setDefaultButton(btnOK_);
    btnCancel_ = lobby::addButton(box, {160, 99, 100, 34}, "btnCancel", lobby::text("KAVO_cancel"));
    btnCancel_->onTouchUpInside([this] { backGroundHidden(); });
}

double IntoBoard::raisedCenterY() const {
    return 70 * Util::iPadY();
}

void IntoBoard::moveCenterTo(ui::Point center) {
    // Every move of this panel makes room for an on-screen keyboard. A desktop window has
    // none: there the panel stays where it slid in, so a click lands on what it aimed at.
    if (!ui::Keyboard::exists()) return;
    const ui::ViewPtr& panel = actionSheetView();
    if (!panel) return;
    ui::View::animate(kMoveDuration, [panel, center] { panel->setCenter(center); });
}

void IntoBoard::viewWillAppear(bool animated) {
    CustomUIActionSheetViewController::viewWillAppear(animated);
    lblTitle_->setText(lobby::text("KAVO_InputInfo"));
    txtRoom_->setPlaceholder(lobby::text("KAVO_WhatRoom"));
    txtBoard_->setPlaceholder(lobby::text("KAVO_WhatBoard"));
    txtPass_->setPlaceholder(lobby::text("KAVO_OptionPassword"));
    for (const auto& field : {txtRoom_, txtBoard_, txtPass_})
        field->setText("");
    txtRoom_->becomeFirstResponder();
    if (const ui::ViewPtr& panel = actionSheetView()) moveCenterTo({panel->center().x, raisedCenterY()});
}

void IntoBoard::didBeginEditing(ui::TextField& /*field*/) {
    const ui::ViewPtr& panel = actionSheetView();
    if (panel && panel->center().y != raisedCenterY()) moveCenterTo({panel->center().x, raisedCenterY()});
}

void IntoBoard::didEndEditing(ui::TextField& field) {
    field.resignFirstResponder();
    moveCenterTo(pointCenter_);
}

bool IntoBoard::shouldClear(ui::TextField& field) {
    clearText(field.tag());
    return false; // cleared (and focused) already
}

bool IntoBoard::shouldReturn(ui::TextField& field) {
    textFieldDone(field);
    return true;
}

void IntoBoard::textFieldDone(ui::TextField& field) {
    field.resignFirstResponder();
    const ui::ViewPtr& panel = actionSheetView();
    if (!panel) return;
    const double down = field.tag() * 30.0; // 30 room, 60 board, 90 password
    moveCenterTo({panel->center().x, panel->center().y + down});
}

void IntoBoard::backGroundHidden() {
    for (const auto& field : {txtRoom_, txtBoard_, txtPass_})
        field->resignFirstResponder();
    slideOut();
}

void IntoBoard::clearText(int tag) {
    if (tag < 1 || tag > 3) return;
    const std::shared_ptr<ui::TextField>& field = tag == 1 ? txtRoom_ : tag == 2 ? txtBoard_ : txtPass_;
    field->setText("");
    field->becomeFirstResponder();
}

void IntoBoard::ok() {
    if (txtRoom_->text().empty() || txtBoard_->text().empty()) {
        showNotice("KAVO_chuaNhapDu");
        return;
    }
    // A number that does not fit its byte is refused, never cut down to another room or
    // board.
    const std::optional<int64_t> room = typedNumber(txtRoom_->text());
    const std::optional<int64_t> board = typedNumber(txtBoard_->text());
    if (!room || !board || *room > kMaxRoomNumber || *board > kMaxBoardNumber) {
        showNotice("KAVO_gioiHanNhap");
        return;
    }
    GlobalService::getInstance().joinBoardWithroomId(int8_t(uint8_t(*room)), int8_t(*board), txtPass_->text());
    for (const auto& field : {txtRoom_, txtBoard_, txtPass_})
        field->resignFirstResponder();
    slideOut();
}

} // namespace kavo
