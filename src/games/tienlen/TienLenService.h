#pragma once

#include <cstdint>

namespace kavo {

// Builds the Tien Len table's own requests; nothing else. Safe from any thread.
class TienLenService {
public:
    static TienLenService& getInstance();
    // 49: skip the turn.
    void skipWithRoomId(int8_t roomId, int8_t boardId);

private:
    TienLenService() = default;
};

} // namespace kavo
