#pragma once

#include "app/CustomUIActionSheetViewController.h"

#include <cstdint>

namespace kavo {

// The detail of one shop item, from which it is bought or given to a friend.
class ShopViewDetail : public CustomUIActionSheetViewController {
public:
    ShopViewDetail();

    // The price of the item being given (the gift reply takes it off the balance).
    static int32_t itemPrice();
    static void setItemPrice(int32_t price);

    void viewDidLoad() override;
};

} // namespace kavo
