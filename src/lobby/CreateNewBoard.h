#pragma once

#include "app/EscapeTarget.h"
#include "app/KavoViewController.h"
#include "app/ReturnTarget.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/TextField.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kavo {

class UICustomSlider;

// The panel that creates a board: a stake (chosen on the money slider or typed), a number
// of seats (typed or picked) and an optional password. Sends command 2702; the server's
// answer opens the table or refuses with a message. Return in the password (the last
// field) creates the board.
class CreateNewBoard : public KavoViewController,
                       public EscapeTarget,
                       public ReturnTarget,
                       public platform::ui::TextFieldDelegate,
                       public platform::ui::PickerViewDataSource,
                       public platform::ui::PickerViewDelegate {
public:
    CreateNewBoard();
    ~CreateNewBoard() override;

    // The seat range the picker offers and the seat field is held to.
    void setMinPlayerNumber(int number);
    // Also shows the maximum in the seat field (on a later main-loop turn).
    void setMaxPlayerNumber(int number);
    int minPlayerNumber() const { return minPlayerNumber_; }
    int maxPlayerNumber() const { return maxPlayerNumber_; }

    // ---- actions
    // Corrects the two fields, then sends the board with a spinner for at most 3 s.
    void createBoard();
    const std::shared_ptr<platform::ui::Button>& defaultButton() const override { return btnCreate_; }
    // Removes the panel at once.
    void doCloseThisView();
    // Escape removes the panel as its close button does (its seat picker closes on Escape
    // itself, before it).
    EscapeAnswer closeItself() override {
        doCloseThisView();
        return EscapeAnswer::closed;
    }
    void clearTextFieldPassword();
    // A stake below 0 becomes the first step's 0 (the field empty under its hint "0"), one
    // above the slider's top amount that amount.
    void endEditingBetMoney();
    // Seats are held to minPlayerNumber..maxPlayerNumber.
    void endEditingPlayerNumber();
    // The seat picker, the field's number highlighted; a click on a row or Return
    // chooses it, the mouse wheel only moves the highlight.
    void showPickerPlayerNumber();
    void clearText() {}
    // Each showing: the slider's cap from the player's money, the top amount, the seat
    // maximum; the picker hides.
    void updateUIScreen();

    // "/ %iK zel" below 1000000, else "/ %iM zel".
    static std::string maxWinText(int32_t topAmount);

    // ---- parts, for tests
    const platform::ui::ViewPtr& mainView() const { return mainView_; }
    const std::shared_ptr<platform::ui::TextField>& tfBetMoney() const { return tfBetMoney_; }
    const std::shared_ptr<platform::ui::TextField>& tfPlayerNumber() const { return tfPlayerNumber_; }
    const std::shared_ptr<platform::ui::TextField>& tfPassword() const { return tfPassword_; }
    const std::shared_ptr<platform::ui::Label>& lblMaxWin() const { return lblMaxWin_; }
    const std::shared_ptr<UICustomSlider>& sldBetMoney() const { return sldBetMoney_; }
    const std::shared_ptr<platform::ui::PickerView>& pikerPlayerNumber() const { return pikerPlayerNumber_; }
    bool isEdit() const { return isEdit_; }

    // ---- life cycle
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // ---- text fields
    void didBeginEditing(platform::ui::TextField& field) override;
    bool shouldReturn(platform::ui::TextField& field) override;
    // The password field's clear button empties it and keeps it focused.
    bool shouldClear(platform::ui::TextField& field) override;
    // ---- seat picker
    int numberOfRowsInComponent(platform::ui::PickerView& picker, int component) override;
    std::string titleForRow(platform::ui::PickerView& picker, int row, int component) override;
    void didSelectRow(platform::ui::PickerView& picker, int row, int component) override;

private:
    void setUIScreen();
    void hidePicker();
    void shiftPanel(bool up);
    int32_t playerMoneyCap() const;

    platform::ui::ViewPtr mainView_;
    std::shared_ptr<platform::ui::TextField> tfBetMoney_, tfPlayerNumber_, tfPassword_;
    std::shared_ptr<platform::ui::Label> lblCreateNewBoard_, lblBetMoney_, lblMaxWin_, lblMaxText_, lblPlayerNumber_,
        lblPassword_, lblPlayNow_;
    std::shared_ptr<platform::ui::Button> btnCreate_, btnClose_, btnClearPassword_, btnPicker_;
    std::shared_ptr<UICustomSlider> sldBetMoney_;
    std::shared_ptr<platform::ui::PickerView> pikerPlayerNumber_;
    // How far the box went up (the way back down is the same).
    double shiftDistance_ = 0;
    bool isEdit_ = false;
    int minPlayerNumber_ = 2;
    int maxPlayerNumber_ = 2;
};

} // namespace kavo
