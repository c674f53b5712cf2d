#pragma once

#include "portal/model/AtomicInt64.h"

#include <cstdint>
#include <string>
#include <utility>

namespace kavo {

// One line of a chat at a table or in a conversation.
class Chat {
public:
    const std::string& name() const { return name_; }
    void setName(std::string value) { name_ = std::move(value); }
    const std::string& content() const { return content_; }
    void setContent(std::string value) { content_ = std::move(value); }
    int8_t isMe() const { return isMe_; }
    void setIsMe(int8_t value) { isMe_ = value; }
    int64_t time() const { return time_.get(); }
    void setTime(int64_t value) { time_.set(value); }
    int32_t avatarID() const { return avatarID_; }
    void setAvatarID(int32_t value) { avatarID_ = value; }
    int8_t isTime() const { return isTime_; }
    void setIsTime(int8_t value) { isTime_ = value; }

private:
    std::string name_;
    std::string content_;
    int8_t isMe_ = 0;
    AtomicInt64 time_;
    int32_t avatarID_ = 0;
    int8_t isTime_ = 0;
};

} // namespace kavo
