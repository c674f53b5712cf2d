#pragma once

#include "portal/model/ShopRecords.h"

#include <memory>
#include <vector>

namespace kavo {

// A screen that lets the player pick a gift. When such a screen is on top, the
// gift categories (reply 101 sub 14) and one page of a category's gifts (sub 15)
// are handed to it; any other screen ignores them.
class IGiftListListener {
public:
    virtual ~IGiftListListener() = default;
    virtual void onShowListGift(const std::vector<std::shared_ptr<CategoryShopInfo>>& categories) = 0;
    virtual void onShowItemsWithGift(const std::shared_ptr<ItemsOfCategory>& items) = 0;
};

} // namespace kavo
