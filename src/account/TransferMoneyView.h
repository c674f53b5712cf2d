#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/TextField.h"

#include <memory>

namespace kavo {

// The money-transfer sheet: a player's name and an amount of Zel.
class TransferMoneyView : public CustomUIActionSheetViewController {
public:
    TransferMoneyView();

    void viewDidLoad() override;
    // Sends the transfer (17) when a name and a positive amount are typed.
    void btnOK_Clicked();
    void btnCancel_Clicked() { slideOut(); }
    const std::shared_ptr<platform::ui::TextField>& txfNick() const { return txfNick_; }
    const std::shared_ptr<platform::ui::TextField>& txfMoney() const { return txfMoney_; }

private:
    std::shared_ptr<platform::ui::TextField> txfNick_;
    std::shared_ptr<platform::ui::TextField> txfMoney_;
};

} // namespace kavo
