#include "lobby/CreateNewBoard.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/LobbyGames.h"
#include "lobby/LobbyLayout.h"
#include "lobby/UICustomSlider.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Keyboard.h"
#include "portal/GlobalService.h"

#include <algorithm>
#include <limits>

namespace kavo {

namespace ui = platform::ui;

namespace {
constexpr double kShiftDuration = 0.2;
constexpr double kCreateTimeout = 3.0;
} // namespace

CreateNewBoard::CreateNewBoard() : KavoViewController("CreateNewBoard") {}

CreateNewBoard::~CreateNewBoard() {
    for (const auto& field : {tfBetMoney_, tfPlayerNumber_, tfPassword_}) {
        if (field) field->setDelegate(nullptr);
    }
    if (pikerPlayerNumber_) {
        pikerPlayerNumber_->setDataSource(nullptr);
        pikerPlayerNumber_->setDelegate(nullptr);
    }
}

std::string CreateNewBoard::maxWinText(int32_t topAmount) {
    if (topAmount < 1000000) return "/ " + std::to_string(topAmount / 1000) + "K zel";
    return "/ " + std::to_string(topAmount / 1000000) + "M zel";
}

int32_t CreateNewBoard::playerMoneyCap() const {
    // A fifth of the player's money is the most one board may take.
    const int64_t fifth = UIController::myInfo()->money() / 5;
    return int32_t(
        std::clamp<int64_t>(fifth, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// ---------------------------------------------------------------- layout

void CreateNewBoard::viewDidLoad() {
    KavoViewController::viewDidLoad();
    setUIScreen();
}

void CreateNewBoard::setUIScreen() {
    using lobby::addButton;
    using lobby::addField;
    using lobby::addLabel;
    using lobby::text;
    Resources::getInstance().loadLanguage();
    view()->setBackgroundColor(ui::Color::white(0, 0.35));
    view()->setAccessibilityIdentifier("CreateNewBoard");

    mainView_ = lobby::addPanelBox(view(), {80, 24, 320, 240}, "mainView");

    lblCreateNewBoard_ = addLabel(mainView_, {30, 4, 260, 24}, "lblCreateNewBoard", text("KAVO_CreateNewBoard"), 15);
    btnClose_ = ui::Button::make(lobby::scaled({290, 2, 28, 28}));
    btnClose_->setAccessibilityIdentifier("doCloseThisView");
    btnClose_->setImage(lobby::image("close_button.png"));
    btnClose_->onTouchUpInside([this] { doCloseThisView(); });
    mainView_->addSubview(btnClose_);

    lblBetMoney_ = addLabel(mainView_, {24, 30, 110, 20}, "lblBetMoney", text("KAVO_BetMoney2"), 12, true,
                            ui::Color::white(), ui::TextAlignment::Left);
    lblMaxText_ = addLabel(mainView_, {150, 30, 60, 20}, "lblMaxText", text("KAVO_MaxText"), 11, false,
                           ui::Color::white(), ui::TextAlignment::Right);
    lblMaxWin_ = addLabel(mainView_, {212, 30, 92, 20}, "lblMaxWin", "", 12, true, ui::Color::rgba(255, 220, 60),
                          ui::TextAlignment::Left);

    tfBetMoney_ = addField(mainView_, {24, 84, 130, 26}, "tfBetMoney");
    tfBetMoney_->setKeyboardType(ui::KeyboardType::NumberPad);
    tfBetMoney_->setDelegate(this);
    tfBetMoney_->addTarget(ui::ControlEvent::EditingDidEnd, [this] { endEditingBetMoney(); });

    // The slider writes the stake of its step into the stake field.
    sldBetMoney_ = UICustomSlider::initWithFrame(lobby::scaled({24, 52, 280, 28}),
                                                 lobby::image("Nut_keo_tien_cuoc.png"), Util::isPad() ? 38.0f : 17.0f,
                                                 Util::changeSizeFromSize({50, 24}), nullptr, 0, 9, 1);
    sldBetMoney_->setAccessibilityIdentifier("sldBetMoney");
    sldBetMoney_->setValueTextField(tfBetMoney_);
    mainView_->addSubview(sldBetMoney_);
    sldBetMoney_->setMaxValueWithMoney(playerMoneyCap());
    lblMaxWin_->setText(maxWinText(sldBetMoney_->getMaxMoneyValue()));

    lblPlayerNumber_ = addLabel(mainView_, {24, 118, 120, 20}, "lblPlayerNumber", text("KAVO_PlayerNumber"), 12, true,
                                ui::Color::white(), ui::TextAlignment::Left);
    tfPlayerNumber_ = addField(mainView_, {150, 116, 60, 26}, "tfPlayerNumber");
    tfPlayerNumber_->setKeyboardType(ui::KeyboardType::NumberPad);
    tfPlayerNumber_->setDelegate(this);
    tfPlayerNumber_->addTarget(ui::ControlEvent::EditingDidEnd, [this] { endEditingPlayerNumber(); });
    btnPicker_ = addButton(mainView_, {214, 116, 34, 26}, "showPickerPlayerNumber", "\u25BE");
    btnPicker_->onTouchUpInside([this] { showPickerPlayerNumber(); });

    lblPassword_ = addLabel(mainView_, {24, 150, 120, 20}, "lblPassword", text("KAVO_Password"), 12, true,
                            ui::Color::white(), ui::TextAlignment::Left);
    tfPassword_ = addField(mainView_, {150, 148, 150, 26}, "tfPassword");
    tfPassword_->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    tfPassword_->setDelegate(this);

    btnCreate_ = addButton(mainView_, {110, 192, 100, 36}, "createBoard");
    lblPlayNow_ = addLabel(btnCreate_, {0, 0, 100, 36}, "lblPlayNow", text("KAVO_PlayNow"), 13);
    btnCreate_->onTouchUpInside([this] { createBoard(); });

    minPlayerNumber_ = maxPlayerNumber_ = 2;
    tfPlayerNumber_->setText(textOfInt(maxPlayerNumber_));

    // The seat picker opens beside the seat field, over the panel.
    // Escape closes it with the count as it was.
    pikerPlayerNumber_ = closingView<ui::PickerView>(lobby::scaled({214, 40, 80, 160}), "pikerPlayerNumber", [this] {
        if (pikerPlayerNumber_->isHidden()) return false;
        hidePicker();
        return true;
    });
    pikerPlayerNumber_->setBackgroundColor(ui::Color::white());
    pikerPlayerNumber_->setShowsSelectionIndicator(true);
    pikerPlayerNumber_->setChoosesOnTap(true);
    pikerPlayerNumber_->setDataSource(this);
    pikerPlayerNumber_->setDelegate(this);
    mainView_->addSubview(pikerPlayerNumber_);
    hidePicker();
}

// ---------------------------------------------------------------- showing

void CreateNewBoard::viewWillAppear(bool animated) {
    KavoViewController::viewWillAppear(animated);
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        if (auto self = std::static_pointer_cast<CreateNewBoard>(weak.lock())) self->updateUIScreen();
    });
}

void CreateNewBoard::updateUIScreen() {
    if (!isViewLoaded()) return;
    sldBetMoney_->setMaxValueWithMoney(playerMoneyCap());
    lblMaxWin_->setText(maxWinText(sldBetMoney_->getMaxMoneyValue()));
    tfPlayerNumber_->setText(textOfInt(maxPlayerNumber_));
    hidePicker();
}

void CreateNewBoard::setMinPlayerNumber(int number) {
    minPlayerNumber_ = number;
    if (pikerPlayerNumber_) pikerPlayerNumber_->reloadAllComponents();
}

void CreateNewBoard::setMaxPlayerNumber(int number) {
    maxPlayerNumber_ = number;
    // Deferred like the showing's update, so the field ends with the maximum given last.
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    platform::runOnMainThread([weak] {
        auto self = std::static_pointer_cast<CreateNewBoard>(weak.lock());
        if (!self || !self->isViewLoaded()) return;
        self->tfPlayerNumber_->setText(textOfInt(self->maxPlayerNumber_));
        self->pikerPlayerNumber_->reloadAllComponents();
    });
}

// ---------------------------------------------------------------- actions

void CreateNewBoard::createBoard() {
    // The fields are held to their limits even when editing never ended.
    endEditingBetMoney();
    endEditingPlayerNumber();
    showLoadingScreen(view());
    GlobalService::getInstance().createNewBoardWithMoney(
        intValueOfText(tfBetMoney_->text()), int8_t(intValueOfText(tfPlayerNumber_->text())), tfPassword_->text());
    Util::hideLoadingOnViewAfterDelay(view(), kCreateTimeout);
}

void CreateNewBoard::doCloseThisView() {
    for (const auto& field : {tfBetMoney_, tfPlayerNumber_, tfPassword_})
        field->resignFirstResponder();
    if (isEdit_) shiftPanel(false);
    view()->removeFromSuperview();
}

void CreateNewBoard::clearTextFieldPassword() {
    tfPassword_->setText("");
    tfPassword_->becomeFirstResponder();
}

void CreateNewBoard::endEditingBetMoney() {
    const int32_t stake = intValueOfText(tfBetMoney_->text());
    const int32_t top = sldBetMoney_->getMaxMoneyValue();
    // A cut stake also moves the thumb, so the slider shows the amount that will be sent.
    if (stake < 0) {
        sldBetMoney_->setValue(sldBetMoney_->minStep());
    } else if (stake > top) {
        sldBetMoney_->setValue(sldBetMoney_->maxStep());
        tfBetMoney_->setText(textOfInt(top));
    }
}

void CreateNewBoard::endEditingPlayerNumber() {
    const int32_t seats = intValueOfText(tfPlayerNumber_->text());
    if (seats < minPlayerNumber_) {
        tfPlayerNumber_->setText(textOfInt(minPlayerNumber_));
    } else if (seats > maxPlayerNumber_) {
        tfPlayerNumber_->setText(textOfInt(maxPlayerNumber_));
    }
}

void CreateNewBoard::showPickerPlayerNumber() {
    mainView_->bringSubviewToFront(pikerPlayerNumber_.get());
    pikerPlayerNumber_->openOn({intValueOfText(tfPlayerNumber_->text()) - minPlayerNumber_});
}

void CreateNewBoard::hidePicker() {
    pikerPlayerNumber_->setHidden(true);
    mainView_->sendSubviewToBack(pikerPlayerNumber_.get());
}

// ---------------------------------------------------------------- keyboard

void CreateNewBoard::shiftPanel(bool up) {
    // Only the box moves, and never past the top of the screen: the screen's own view
    // stays where it is and keeps every tap from the board list beneath, and the title
    // and close button stay in sight.
    const ui::ViewPtr panel = mainView_;
    if (!panel) return;
    if (up) shiftDistance_ = std::min(Util::isPad() ? 180.0 : 90.0, std::max(0.0, panel->frame().y()));
    ui::Rect frame = panel->frame();
    frame.origin.y += up ? -shiftDistance_ : shiftDistance_;
    ui::View::animate(kShiftDuration, [panel, frame] { panel->setFrame(frame); });
    isEdit_ = up;
}

void CreateNewBoard::didBeginEditing(ui::TextField& field) {
    const bool raises = &field == tfPassword_.get() || &field == tfPlayerNumber_.get();
    if (raises && !isEdit_ && ui::Keyboard::exists()) shiftPanel(true);
}

bool CreateNewBoard::shouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    const bool raises = &field == tfPassword_.get() || &field == tfPlayerNumber_.get();
    if (raises && isEdit_) shiftPanel(false);
    return true;
}

bool CreateNewBoard::shouldClear(ui::TextField& field) {
    if (&field != tfPassword_.get()) return true;
    clearTextFieldPassword();
    return false;
}

// ---------------------------------------------------------------- seat picker

int CreateNewBoard::numberOfRowsInComponent(ui::PickerView& /*picker*/, int /*component*/) {
    return std::max(0, maxPlayerNumber_ - minPlayerNumber_ + 1);
}

std::string CreateNewBoard::titleForRow(ui::PickerView& /*picker*/, int row, int /*component*/) {
    return textOfInt(minPlayerNumber_ + row);
}

void CreateNewBoard::didSelectRow(ui::PickerView& /*picker*/, int row, int /*component*/) {
    tfPlayerNumber_->setText(textOfInt(minPlayerNumber_ + row));
    hidePicker();
}

} // namespace kavo
