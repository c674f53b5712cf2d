#include "account/ShopViewDetail.h"

#include "app/Resources.h"
#include "table/SheetPanel.h"

#include <atomic>

namespace kavo {

namespace {

std::atomic<int32_t>& givenItemPrice() {
    static std::atomic<int32_t> price{0};
    return price;
}

} // namespace

ShopViewDetail::ShopViewDetail() : CustomUIActionSheetViewController("ShopViewDetail") {}

int32_t ShopViewDetail::itemPrice() {
    return givenItemPrice().load();
}

void ShopViewDetail::setItemPrice(int32_t price) {
    givenItemPrice().store(price);
}

void ShopViewDetail::viewDidLoad() {
    auto& res = Resources::getInstance();
    auto panel = SheetPanel::build(*view(), {90, 50, 300, 200}, res.textWithKey("KAVO_items"));
    setActionSheetView(panel);
    SheetPanel::addButton(*panel, {100, 150, 100, 34}, "btnClose_Clicked", res.textWithKey("KAVO_cancel"),
                          [this] { slideOut(); });
}

} // namespace kavo
