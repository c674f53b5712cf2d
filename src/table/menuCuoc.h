#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/TextField.h"

#include <memory>
#include <string>

namespace kavo {

// The bet-amount sheet of a table's owner: the screen base adds its view and sends
// viewWillAppear(false).
class menuCuoc : public CustomUIActionSheetViewController {
public:
    static const std::shared_ptr<menuCuoc>& getInstance();
    menuCuoc();

    // A stake typed into any bet entry: a negative one is refused; over the lottery screen
    // it buys the screen's selected number; at a table it sets the table's stake.
    static void doSaveSetMoney(const std::string& text);

    void viewDidLoad() override;
    // Over the lottery screen the field asks for a stake to buy with.
    void viewWillAppear(bool animated) override;
    // Sends the typed stake for the table on top.
    void btnOK_Clicked();
    void btnCancel_Clicked() { slideOut(); }
    const std::shared_ptr<platform::ui::TextField>& txfMoney() const { return txfMoney_; }

private:
    std::shared_ptr<platform::ui::TextField> txfMoney_;
};

} // namespace kavo
