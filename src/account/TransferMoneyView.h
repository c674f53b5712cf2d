#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kavo {

// The money-transfer sheet: the player sends an amount of Zel to another player by name.
// It checks the input, sends the transfer (17) and closes on every path; the server's
// answer sets the money and shows its text. Main thread only.
class TransferMoneyView : public CustomUIActionSheetViewController, public platform::ui::TextFieldDelegate {
public:
    // The smallest amount that is sent.
    static constexpr int32_t kMinimumAmount = 10000;
    static constexpr int kTagName = 1;
    static constexpr int kTagMoney = 2;

    TransferMoneyView();
    ~TransferMoneyView() override;

    void viewDidLoad() override;
    // Slides in, fills the fields (the name from `nickname`, the amount empty) and raises
    // the sheet above the keyboard.
    void viewWillAppear(bool animated) override;
    void keyboardWillShow();
    // Closes the sheet when it is showing (a keyboard hidden elsewhere leaves it alone).
    void keyboardWillHide();
    void onCancel() { slideOut(); }
    // The return key in the name: on to the amount. (In the amount, the last field, Return
    // presses OK, as in every form.)
    void textFieldDoneEditting(platform::ui::TextField& field);
    // The OK button.
    void doSendMoney();
    void clearText(int tag);
    void doTransferMoney();

    bool shouldReturn(platform::ui::TextField& field) override;

    const std::string& nickname() const { return nickname_; }
    void setNickname(std::string name) { nickname_ = std::move(name); }
    bool isModed() const { return isModed_; }
    const std::shared_ptr<platform::ui::TextField>& txtName() const { return txtName_; }
    const std::shared_ptr<platform::ui::TextField>& txtMoney() const { return txtMoney_; }

private:
    void raise();

    std::string nickname_;
    bool isModed_ = false;
    platform::ui::Point oldOrigin_;
    std::shared_ptr<platform::ui::TextField> txtName_, txtMoney_;
    std::shared_ptr<platform::ui::Button> btnOK_, btnCancel_;
    platform::NotificationCenter::Token showToken_ = 0;
    platform::NotificationCenter::Token hideToken_ = 0;
};

} // namespace kavo
