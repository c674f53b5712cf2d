#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// A row of the settings sheet.
class Setting {
public:
    Setting() = default;
    Setting(int32_t sId, std::string name, int8_t hidden) : sId_(sId), name_(std::move(name)), hidden_(hidden) {}

    int32_t sId() const { return sId_; }
    void setSId(int32_t value) { sId_ = value; }
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    int8_t hidden() const { return hidden_; }
    void setHidden(int8_t value) { hidden_ = value; }

private:
    int32_t sId_ = 0;
    std::string name_;
    int8_t hidden_ = 0;
};

} // namespace kavo
