#pragma once

#include <cstdint>

namespace kavo {

// A room of the room list: its free places, waiting players and level.
class RoomInfo {
public:
    RoomInfo() = default;
    RoomInfo(int8_t roomId, int8_t roomFree, int8_t roomWait, int8_t level)
        : roomId_(roomId), roomFree_(roomFree), roomWait_(roomWait), lv_(level) {}

    int8_t roomId() const { return roomId_; }
    void setRoomId(int8_t value) { roomId_ = value; }
    int8_t roomFree() const { return roomFree_; }
    void setRoomFree(int8_t value) { roomFree_ = value; }
    int8_t roomWait() const { return roomWait_; }
    void setRoomWait(int8_t value) { roomWait_ = value; }
    int8_t lv() const { return lv_; }
    void setLv(int8_t value) { lv_ = value; }

private:
    int8_t roomId_ = 0;
    int8_t roomFree_ = 0;
    int8_t roomWait_ = 0;
    int8_t lv_ = 0;
};

} // namespace kavo
