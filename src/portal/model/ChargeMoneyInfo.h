#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// A top-up channel: its type and sub-id (-1 when none), its description and SMS syntax.
class ChargeMoneyInfo {
public:
    ChargeMoneyInfo() = default;
    explicit ChargeMoneyInfo(int8_t type) : type_(type) {}

    int8_t type() const { return type_; }
    void setType(int8_t value) { type_ = value; }
    int8_t subId() const { return subId_; }
    void setSubId(int8_t value) { subId_ = value; }
    const std::string& info() const { return info_; }
    void setInfo(std::string value) { info_ = std::move(value); }
    const std::string& smsContent() const { return smsContent_; }
    void setSmsContent(std::string value) { smsContent_ = std::move(value); }
    const std::string& smsTo() const { return smsTo_; }
    void setSmsTo(std::string value) { smsTo_ = std::move(value); }

private:
    int8_t type_ = 0;
    int8_t subId_ = -1;
    std::string info_;
    std::string smsContent_;
    std::string smsTo_;
};

} // namespace kavo
