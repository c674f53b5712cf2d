#pragma once

#include "app/CustomUIActionSheetViewController.h"

#include <memory>

namespace kavo {

// The player-count sheet of a table's owner (how many seats the board has).
class menuSoNguoi : public CustomUIActionSheetViewController {
public:
    static const std::shared_ptr<menuSoNguoi>& getInstance();
    menuSoNguoi();

    void viewDidLoad() override;
    void btnCancel_Clicked() { slideOut(); }
};

} // namespace kavo
