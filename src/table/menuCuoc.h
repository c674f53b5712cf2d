#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/TextField.h"

#include <memory>

namespace kavo {

// The bet-amount sheet of a table's owner: the screen base adds its view and sends
// viewWillAppear(false).
class menuCuoc : public CustomUIActionSheetViewController {
public:
    static const std::shared_ptr<menuCuoc>& getInstance();
    menuCuoc();

    void viewDidLoad() override;
    // Sends the typed stake for the table on top.
    void btnOK_Clicked();
    void btnCancel_Clicked() { slideOut(); }
    const std::shared_ptr<platform::ui::TextField>& txfMoney() const { return txfMoney_; }

private:
    std::shared_ptr<platform::ui::TextField> txfMoney_;
};

} // namespace kavo
