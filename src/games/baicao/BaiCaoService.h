#pragma once

#include <cstdint>

namespace kavo {

// Builds the Bai Cao table's own requests; nothing else. Safe from any thread.
class BaiCaoService {
public:
    static BaiCaoService& getInstance();

    // 56: the most players the board takes.
    void setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max);

private:
    BaiCaoService() = default;
};

} // namespace kavo
