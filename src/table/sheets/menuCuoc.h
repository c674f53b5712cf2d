#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TextField.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kavo {

// The stake sheet of a table's owner, and the amount entry of the lottery screen.
// One class serves every table: the lottery screen on top takes the amount first,
// otherwise the current game's table sends it its own way. A typed amount is read as
// a whole number clamped to the int range (text that is not a number counts as 0).
// Main thread only.
class menuCuoc : public CustomUIActionSheetViewController {
public:
    // The sheet shown by the screen base; every table makes its own.
    static const std::shared_ptr<menuCuoc>& getInstance();
    menuCuoc();

    void viewDidLoad() override;
    // Slides in, sets the placeholder, empties and focuses the field, and lifts the
    // sheet above the keyboard.
    void viewWillAppear(bool animated) override;
    void textFieldBeginEditting();
    // The OK button, which Return in the field presses too.
    void clickOK();
    void clearText();
    // Checks the typed amount and sends it (see the class comment).
    void doSave();
    // The lottery screen's entry: the same checks without the sheet.
    static void doSaveSetMoney(const std::string& text);

    // The whole number a text stands for, clamped to the int range.
    static int32_t amountOf(const std::string& text);

    const std::shared_ptr<platform::ui::TextField>& txtMoney() const { return txtMoney_; }
    const std::shared_ptr<platform::ui::Button>& btnOK() const { return btnOK_; }

private:
    void liftAboveKeyboard();

    std::shared_ptr<platform::ui::TextField> txtMoney_;
    std::shared_ptr<platform::ui::ImageView> imgTextField_;
    std::shared_ptr<platform::ui::Button> btnOK_;
};

} // namespace kavo
