#pragma once

#include "portal/model/Avatar.h"
#include "portal/model/ShopRecords.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kavo {

// One thing on sale: an item or an avatar (exactly one of the two is set for a
// real entry; both empty means none).
struct ShopEntry {
    std::shared_ptr<ItemInfo> item;
    std::shared_ptr<Avatar> avatar;

    static ShopEntry of(std::shared_ptr<ItemInfo> item) { return {std::move(item), nullptr}; }
    static ShopEntry of(std::shared_ptr<Avatar> avatar) { return {nullptr, std::move(avatar)}; }

    bool isAvatar() const { return bool(avatar); }
    bool empty() const { return !item && !avatar; }
    int32_t id() const { return avatar ? avatar->avatarId() : item ? item->itemId() : 0; }
    int32_t price() const { return avatar ? avatar->price() : item ? item->price() : 0; }
    std::string name() const { return avatar ? avatar->name() : item ? item->name() : std::string(); }
    // 1 avatar, 2 item: the kind the detail panel buys.
    int kind() const { return avatar ? 1 : 2; }
    bool operator==(const ShopEntry& other) const { return item == other.item && avatar == other.avatar; }
};

} // namespace kavo
