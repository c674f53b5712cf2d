#pragma once

#include <cstdint>

namespace kavo {

// Builds the Xi Zach table's own requests; nothing else. Safe from any thread.
class XiZachService {
public:
    static XiZachService& getInstance();

    // 56: the most players the board takes.
    void setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max);

private:
    XiZachService() = default;
};

} // namespace kavo
