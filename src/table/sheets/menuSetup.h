#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

#include <memory>

namespace kavo {

// Cao Rua's setup menu: stake, number of players and password of the board. The
// stake row is off at Bai Cao, Xi Zach and Cao Rua.
class menuSetup : public CustomUIActionSheetViewController {
public:
    menuSetup();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // At Tien Len, Tien Len MB and Phom the table opens its stake sheet.
    void doSetupMoney();
    void doSetupPlayer();
    void doSetupPassword();

    const std::shared_ptr<platform::ui::Button>& btnCuoc() const { return btnCuoc_; }
    const std::shared_ptr<platform::ui::Button>& btnSoNguoi() const { return btnSoNguoi_; }
    const std::shared_ptr<platform::ui::Button>& btnPass() const { return btnPass_; }

private:
    std::shared_ptr<platform::ui::Button> btnCuoc_, btnSoNguoi_, btnPass_;
};

// Cao Rua's auto-play panel: a label; kept by the table, not shown by any code.
class menuAuto : public CustomUIActionSheetViewController {
public:
    menuAuto();

    void viewDidLoad() override;
    const platform::ui::ViewPtr& getActionSheetView() const { return actionSheetView(); }
    void doHideView() { slideOut(); }
    const std::shared_ptr<platform::ui::Label>& lblColor() const { return lblColor_; }

private:
    std::shared_ptr<platform::ui::Label> lblColor_;
};

} // namespace kavo
