#pragma once

#include <cstdint>

namespace kavo {

// Builds the Tien Len table's own requests; nothing else. Safe from any thread.
class TienLenService {
public:
    static TienLenService& getInstance();
    // 49: skip the turn.
    void skipWithRoomId(int8_t roomId, int8_t boardId);

    // 56: the most players the board takes.
    void setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max);

private:
    TienLenService() = default;
};

} // namespace kavo
