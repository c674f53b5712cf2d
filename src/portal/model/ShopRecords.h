#pragma once

#include "platform/ui/Image.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kavo {

// A game with its ranking text.
class Ranking {
public:
    int8_t gameId() const { return gameId_; }
    void setGameId(int8_t value) { gameId_ = value; }
    const std::string& info() const { return info_; }
    void setInfo(std::string value) { info_ = std::move(value); }

private:
    int8_t gameId_ = 0;
    std::string info_;
};

// A category of the shop.
class CategoryShopInfo {
public:
    int32_t categoryId() const { return categoryId_; }
    void setCategoryId(int32_t value) { categoryId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    int32_t parentId() const { return parentId_; }
    void setParentId(int32_t value) { parentId_ = value; }
    int8_t hasChildren() const { return hasChildren_; }
    void setHasChildren(int8_t value) { hasChildren_ = value; }
    int8_t hasParent() const { return hasParent_; }
    void setHasParent(int8_t value) { hasParent_ = value; }

private:
    int32_t categoryId_ = 0;
    std::string name_;
    int32_t parentId_ = 0;
    int8_t hasChildren_ = 0;
    int8_t hasParent_ = 0;
};

// An item on sale in the shop.
class ItemInfo {
public:
    int32_t itemId() const { return itemId_; }
    void setItemId(int32_t value) { itemId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    int32_t price() const { return price_; }
    void setPrice(int32_t value) { price_ = value; }
    const std::string& function_desc() const { return function_desc_; }
    void setFunction_desc(std::string value) { function_desc_ = std::move(value); }
    int8_t is_bought() const { return is_bought_; }
    void setIs_bought(int8_t value) { is_bought_ = value; }
    const platform::ui::ImagePtr& imageIcon() const { return imageIcon_; }
    void setImageIcon(platform::ui::ImagePtr value) { imageIcon_ = std::move(value); }

private:
    int32_t itemId_ = 0;
    std::string name_;
    int32_t price_ = 0;
    std::string function_desc_;
    int8_t is_bought_ = 0;
    platform::ui::ImagePtr imageIcon_;
};
using ItemInfoList = std::vector<std::shared_ptr<ItemInfo>>;

// One page of the items of a shop category.
class ItemsOfCategory {
public:
    int32_t categoryId() const { return categoryId_; }
    void setCategoryId(int32_t value) { categoryId_ = value; }
    int8_t gender() const { return gender_; }
    void setGender(int8_t value) { gender_ = value; }
    int32_t totalPage() const { return totalPage_; }
    void setTotalPage(int32_t value) { totalPage_ = value; }
    const std::vector<std::shared_ptr<ItemInfo>>& itemList() const { return itemList_; }
    std::vector<std::shared_ptr<ItemInfo>>& itemList() { return itemList_; }
    void setItemList(std::vector<std::shared_ptr<ItemInfo>> value) { itemList_ = std::move(value); }

private:
    int32_t categoryId_ = 0;
    int8_t gender_ = 0;
    int32_t totalPage_ = 0;
    std::vector<std::shared_ptr<ItemInfo>> itemList_;
};

// An item the player owns.
class UserItemInfo {
public:
    int32_t userItemId() const { return userItemId_; }
    void setUserItemId(int32_t value) { userItemId_ = value; }
    int32_t itemId() const { return itemId_; }
    void setItemId(int32_t value) { itemId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    int32_t price() const { return price_; }
    void setPrice(int32_t value) { price_ = value; }
    const std::string& short_desc() const { return short_desc_; }
    void setShort_desc(std::string value) { short_desc_ = std::move(value); }
    int8_t is_using() const { return is_using_; }
    void setIs_using(int8_t value) { is_using_ = value; }
    const platform::ui::ImagePtr& imageIcon() const { return imageIcon_; }
    void setImageIcon(platform::ui::ImagePtr value) { imageIcon_ = std::move(value); }

private:
    int32_t userItemId_ = 0;
    int32_t itemId_ = 0;
    std::string name_;
    int32_t price_ = 0;
    std::string short_desc_;
    int8_t is_using_ = 0;
    platform::ui::ImagePtr imageIcon_;
};

// One page of the player's items of a category.
class UserItemsOfCategory {
public:
    int32_t categoryId() const { return categoryId_; }
    void setCategoryId(int32_t value) { categoryId_ = value; }
    int8_t gender() const { return gender_; }
    void setGender(int8_t value) { gender_ = value; }
    int32_t totalPage() const { return totalPage_; }
    void setTotalPage(int32_t value) { totalPage_ = value; }
    const std::vector<std::shared_ptr<UserItemInfo>>& userItemsList() const { return userItemsList_; }
    std::vector<std::shared_ptr<UserItemInfo>>& userItemsList() { return userItemsList_; }
    void setUserItemsList(std::vector<std::shared_ptr<UserItemInfo>> value) { userItemsList_ = std::move(value); }

private:
    int32_t categoryId_ = 0;
    int8_t gender_ = 0;
    int32_t totalPage_ = 0;
    std::vector<std::shared_ptr<UserItemInfo>> userItemsList_;
};

// The details of an avatar item of the shop.
class AvatarDetail {
public:
    int32_t itemId() const { return itemId_; }
    void setItemId(int32_t value) { itemId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    int32_t price() const { return price_; }
    void setPrice(int32_t value) { price_ = value; }
    int16_t effected_hours() const { return effected_hours_; }
    void setEffected_hours(int16_t value) { effected_hours_ = value; }
    int16_t level_req() const { return level_req_; }
    void setLevel_req(int16_t value) { level_req_ = value; }
    int32_t score_of_fame() const { return score_of_fame_; }
    void setScore_of_fame(int32_t value) { score_of_fame_ = value; }
    int8_t item_gender() const { return item_gender_; }
    void setItem_gender(int8_t value) { item_gender_ = value; }
    bool is_buy_or_sell() const { return is_buy_or_sell_; }
    void setIs_buy_or_sell(bool value) { is_buy_or_sell_ = value; }
    bool is_give() const { return is_give_; }
    void setIs_give(bool value) { is_give_ = value; }
    int16_t avatar_x() const { return avatar_x_; }
    void setAvatar_x(int16_t value) { avatar_x_ = value; }
    int16_t avatar_y() const { return avatar_y_; }
    void setAvatar_y(int16_t value) { avatar_y_ = value; }
    int32_t category_id() const { return category_id_; }
    void setCategory_id(int32_t value) { category_id_ = value; }
    int16_t z_index() const { return z_index_; }
    void setZ_index(int16_t value) { z_index_ = value; }

private:
    int32_t itemId_ = 0;
    std::string name_;
    int32_t price_ = 0;
    int16_t effected_hours_ = 0;
    int16_t level_req_ = 0;
    int32_t score_of_fame_ = 0;
    int8_t item_gender_ = 0;
    bool is_buy_or_sell_ = false;
    bool is_give_ = false;
    int16_t avatar_x_ = 0;
    int16_t avatar_y_ = 0;
    int32_t category_id_ = 0;
    int16_t z_index_ = 0;
};

// The details of an avatar item the player owns.
class UserAvatarDetail {
public:
    int32_t userItemId() const { return userItemId_; }
    void setUserItemId(int32_t value) { userItemId_ = value; }
    int32_t itemId() const { return itemId_; }
    void setItemId(int32_t value) { itemId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    const std::string& expire_date() const { return expire_date_; }
    void setExpire_date(std::string value) { expire_date_ = std::move(value); }
    int8_t is_buy_give() const { return is_buy_give_; }
    void setIs_buy_give(int8_t value) { is_buy_give_ = value; }
    bool is_using() const { return is_using_; }
    void setIs_using(bool value) { is_using_ = value; }
    int16_t time_used() const { return time_used_; }
    void setTime_used(int16_t value) { time_used_ = value; }
    int16_t avatar_x() const { return avatar_x_; }
    void setAvatar_x(int16_t value) { avatar_x_ = value; }
    int16_t avatar_y() const { return avatar_y_; }
    void setAvatar_y(int16_t value) { avatar_y_ = value; }
    int32_t category_id() const { return category_id_; }
    void setCategory_id(int32_t value) { category_id_ = value; }
    int16_t z_index() const { return z_index_; }
    void setZ_index(int16_t value) { z_index_ = value; }

private:
    int32_t userItemId_ = 0;
    int32_t itemId_ = 0;
    std::string name_;
    std::string expire_date_;
    int8_t is_buy_give_ = 0;
    bool is_using_ = false;
    int16_t time_used_ = 0;
    int16_t avatar_x_ = 0;
    int16_t avatar_y_ = 0;
    int32_t category_id_ = 0;
    int16_t z_index_ = 0;
};

// An avatar item the player wears.
class UsingAvatar {
public:
    int32_t itemId() const { return itemId_; }
    void setItemId(int32_t value) { itemId_ = value; }
    int32_t categoryId() const { return categoryId_; }
    void setCategoryId(int32_t value) { categoryId_ = value; }

private:
    int32_t itemId_ = 0;
    int32_t categoryId_ = 0;
};

} // namespace kavo
