#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/TextField.h"

#include <memory>
#include <string>

namespace kavo {

// The board-password sheet. The screen base shows the single one; the in-table menu
// makes its own ("menuPassword" layout) and shows it from its password tile. Its
// appearance slides it in and prepares the field for the table on top.
class menuPassword : public CustomUIActionSheetViewController {
public:
    static const std::shared_ptr<menuPassword>& getInstance();
    explicit menuPassword(const std::string& nibName = "menuPassword");

    void viewDidLoad() override;
    // Slides in and empties the field for the table on top.
    void viewWillAppear(bool animated) override;
    // Sends the typed password for the table on top, then closes.
    void btnOK_Clicked();
    void btnCancel_Clicked() { slideOut(); }
    const std::shared_ptr<platform::ui::TextField>& txfPassword() const { return txfPassword_; }

private:
    std::shared_ptr<platform::ui::TextField> txfPassword_;
};

} // namespace kavo
