#pragma once

#include "net/Message.h"

#include <cstdint>
#include <vector>

namespace kavo {

// Builds the Bai Cao table's own requests; nothing else. Safe from any thread.
class BaiCaoService {
public:
    static BaiCaoService& getInstance();

    // 21: room, board, then one byte per card of my hand (its id, or 255 while face down).
    static Message moveMessage(int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards);
    void moveWithRoomId(int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards);
    // 53: room, board. Built only: no screen ends a hand early.
    static Message forceFinishMessage(int8_t roomId, int8_t boardId);
    // 56: the most players the board takes.
    void setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max);

private:
    BaiCaoService() = default;
};

} // namespace kavo
