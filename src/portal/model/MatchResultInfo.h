#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// One player's row in the result list of a finished match (result 0 draw, -1 lost, else won).
class MatchResultInfo {
public:
    int8_t result() const { return result_; }
    void setResult(int8_t value) { result_ = value; }
    int32_t ID() const { return ID_; }
    void setID(int32_t value) { ID_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    int16_t avatar() const { return avatar_; }
    void setAvatar(int16_t value) { avatar_ = value; }
    int32_t d_exp() const { return d_exp_; }
    void setD_exp(int32_t value) { d_exp_ = value; }
    int32_t d_exp_percent() const { return d_exp_percent_; }
    void setD_exp_percent(int32_t value) { d_exp_percent_ = value; }
    int32_t d_money() const { return d_money_; }
    void setD_money(int32_t value) { d_money_ = value; }

private:
    int8_t result_ = 0;
    int32_t ID_ = 0;
    std::string name_;
    int16_t avatar_ = 0;
    int32_t d_exp_ = 0;
    int32_t d_exp_percent_ = 0;
    int32_t d_money_ = 0;
};

} // namespace kavo
