#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"

#include <memory>
#include <string>

namespace kavo {

// The board-password sheet: sends the typed text (an empty one too) as the password
// of the current game's table (18); at the dice table it only closes. The screen
// base shows the single one; the in-table menu makes its own.
class menuPassword : public CustomUIActionSheetViewController {
public:
    static const std::shared_ptr<menuPassword>& getInstance();
    explicit menuPassword(const std::string& nibName = "menuPassword");

    void viewDidLoad() override;
    // Slides in; the placeholder says "set" over a table screen and "enter" elsewhere
    // (the Caro and Tetris tables included); the field is emptied and focused.
    void viewWillAppear(bool animated) override;
    void doBeginEditText();
    // The OK button, which Return in the field presses too.
    void clickOK() { doSave(); }
    void clearText();
    void doSave();
    // The same request without the sheet.
    static void doSaveSetPassword(const std::string& password);

    const std::shared_ptr<platform::ui::TextField>& txtPassword() const { return txtPassword_; }
    const std::shared_ptr<platform::ui::Button>& btnOK() const { return btnOK_; }
    platform::ui::Point oldPoint() const { return oldPoint_; }

private:
    void liftAboveKeyboard();

    std::shared_ptr<platform::ui::TextField> txtPassword_;
    std::shared_ptr<platform::ui::Button> btnOK_;
    platform::ui::Point oldPoint_;
};

} // namespace kavo
