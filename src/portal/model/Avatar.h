#pragma once

#include "platform/ui/Image.h"

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// An avatar: its picture, price and how long it lasts.
class Avatar {
public:
    int32_t userId() const { return userId_; }
    void setUserId(int32_t value) { userId_ = value; }
    int32_t avatarId() const { return avatarId_; }
    void setAvatarId(int32_t value) { avatarId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    int32_t price() const { return price_; }
    void setPrice(int32_t value) { price_ = value; }
    const platform::ui::ImagePtr& img() const { return img_; }
    void setImg(platform::ui::ImagePtr value) { img_ = std::move(value); }
    int32_t type() const { return type_; }
    void setType(int32_t value) { type_ = value; }
    int32_t expireDay() const { return expireDay_; }
    void setExpireDay(int32_t value) { expireDay_ = value; }
    const std::string& desc() const { return desc_; }
    void setDesc(std::string value) { desc_ = std::move(value); }
    // The price with the grouping of the money labels.
    std::string getPriceString() const;

private:
    int32_t userId_ = 0;
    int32_t avatarId_ = 0;
    std::string name_;
    int32_t price_ = 0;
    platform::ui::ImagePtr img_;
    int32_t type_ = 0;
    int32_t expireDay_ = 0;
    std::string desc_;
};

} // namespace kavo
