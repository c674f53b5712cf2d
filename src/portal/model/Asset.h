#pragma once

#include "platform/ui/Image.h"

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// An item the player owns or received: profile assets, presents and event items.
class Asset {
public:
    int32_t assetId() const { return assetId_; }
    void setAssetId(int32_t value) { assetId_ = value; }
    int32_t imgAssetId() const { return imgAssetId_; }
    void setImgAssetId(int32_t value) { imgAssetId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    const platform::ui::ImagePtr& icon() const { return icon_; }
    void setIcon(platform::ui::ImagePtr value) { icon_ = std::move(value); }
    const std::string& description() const { return description_; }
    void setDescription(std::string value) { description_ = std::move(value); }
    int32_t price() const { return price_; }
    void setPrice(int32_t value) { price_ = value; }
    const std::string& expDate() const { return expDate_; }
    void setExpDate(std::string value) { expDate_ = std::move(value); }
    const std::string& buyDate() const { return buyDate_; }
    void setBuyDate(std::string value) { buyDate_ = std::move(value); }
    int32_t amount() const { return amount_; }
    void setAmount(int32_t value) { amount_ = value; }

private:
    int32_t assetId_ = 0;
    int32_t imgAssetId_ = 0;
    std::string name_;
    platform::ui::ImagePtr icon_;
    std::string description_;
    int32_t price_ = 0;
    std::string expDate_;
    std::string buyDate_;
    int32_t amount_ = 0;
};

} // namespace kavo
