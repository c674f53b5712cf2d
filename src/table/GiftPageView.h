#pragma once

#include "platform/ui/View.h"
#include "portal/model/ShopRecords.h"

#include <memory>

namespace kavo {

class menuGift;

// One page of gift items in the gift sheet: a row of the page's items, each a button
// with its picture and name; a press tells the owning sheet which item was chosen.
// Main thread only.
class GiftPageView {
public:
    GiftPageView(int pageNumber, std::shared_ptr<ItemsOfCategory> items);

    // The sheet that hears the choice; not owned.
    void setMnuGift(menuGift* sheet) { mnuGift_ = sheet; }
    int pageNumber() const { return pageNumber_; }
    const std::shared_ptr<platform::ui::View>& view();

private:
    void build();

    int pageNumber_;
    std::shared_ptr<ItemsOfCategory> items_;
    menuGift* mnuGift_ = nullptr;
    std::shared_ptr<platform::ui::View> view_;
};

} // namespace kavo
