#pragma once

#include "net/Message.h"

#include <cstdint>

namespace kavo {

// Builds the Xi Zach table's own requests; nothing else. Safe from any thread.
class XiZachService {
public:
    static constexpr int8_t kDraw = 0;
    static constexpr int8_t kStand = 1;

    static XiZachService& getInstance();

    // 21: room, board, the kind (0 draw a card, 1 stand).
    static Message moveMessage(int8_t roomId, int8_t boardId, int8_t kindOf);
    void moveWithRoomId(int8_t roomId, int8_t boardId, int8_t kindOf);
    // 53: room, board. Built only: no screen ends a game early.
    static Message forceFinishMessage(int8_t roomId, int8_t boardId);
    // 67: room, board, the player whose hand the owner checks.
    static Message xetBaiMessage(int8_t roomId, int8_t boardId, int32_t playerId);
    void xetBaiWithRoomId(int8_t roomId, int8_t boardId, int32_t playerId);
    // 56: the most players the board takes.
    void setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max);

private:
    XiZachService() = default;
};

} // namespace kavo
