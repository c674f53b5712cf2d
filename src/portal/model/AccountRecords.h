#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// A lottery number the player bought.
class MyLotto {
public:
    int32_t number() const { return number_; }
    void setNumber(int32_t value) { number_ = value; }
    int32_t money() const { return money_; }
    void setMoney(int32_t value) { money_ = value; }
    int8_t isUsed() const { return isUsed_; }
    void setIsUsed(int8_t value) { isUsed_ = value; }

private:
    int32_t number_ = 0;
    int32_t money_ = 0;
    int8_t isUsed_ = 0;
};

// A row of the gift and friend history.
class HistoryLog {
public:
    int32_t historyLogID() const { return historyLogID_; }
    void setHistoryLogID(int32_t value) { historyLogID_ = value; }
    const std::string& username() const { return username_; }
    void setUsername(std::string value) { username_ = std::move(value); }
    const std::string& friendname() const { return friendname_; }
    void setFriendname(std::string value) { friendname_ = std::move(value); }
    int32_t type() const { return type_; }
    void setType(int32_t value) { type_ = value; }
    int32_t avatarID() const { return avatarID_; }
    void setAvatarID(int32_t value) { avatarID_ = value; }
    int32_t itemID() const { return itemID_; }
    void setItemID(int32_t value) { itemID_ = value; }
    const std::string& strAvatar() const { return strAvatar_; }
    void setStrAvatar(std::string value) { strAvatar_ = std::move(value); }
    const std::string& strItem() const { return strItem_; }
    void setStrItem(std::string value) { strItem_ = std::move(value); }

private:
    int32_t historyLogID_ = 0;
    std::string username_;
    std::string friendname_;
    int32_t type_ = 0;
    int32_t avatarID_ = 0;
    int32_t itemID_ = 0;
    std::string strAvatar_;
    std::string strItem_;
};

// A row of the money transaction log.
class TransactionLog {
public:
    const std::string& time() const { return time_; }
    void setTime(std::string value) { time_ = std::move(value); }
    const std::string& content() const { return content_; }
    void setContent(std::string value) { content_ = std::move(value); }

private:
    std::string time_;
    std::string content_;
};

// A record of a purchase.
class TransactionMoneyInfo {
public:
    const std::string& info() const { return info_; }
    void setInfo(std::string value) { info_ = std::move(value); }
    const std::string& receiptContent() const { return receiptContent_; }
    void setReceiptContent(std::string value) { receiptContent_ = std::move(value); }
    const std::string& userName() const { return userName_; }
    void setUserName(std::string value) { userName_ = std::move(value); }
    const std::string& dateString() const { return dateString_; }
    void setDateString(std::string value) { dateString_ = std::move(value); }

private:
    std::string info_;
    std::string receiptContent_;
    std::string userName_;
    std::string dateString_;
};

} // namespace kavo
