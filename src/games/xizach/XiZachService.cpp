#include "games/xizach/XiZachService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

namespace {
constexpr int16_t kMove = 21;
constexpr int16_t kForceFinish = 53;
constexpr int16_t kXetBai = 67;
} // namespace

XiZachService& XiZachService::getInstance() {
    static XiZachService instance;
    return instance;
}

Message XiZachService::moveMessage(int8_t roomId, int8_t boardId, int8_t kindOf) {
    return tableMessage(kMove, roomId, boardId, {kindOf});
}

void XiZachService::moveWithRoomId(int8_t roomId, int8_t boardId, int8_t kindOf) {
    sendGameMessage(moveMessage(roomId, boardId, kindOf));
}

Message XiZachService::forceFinishMessage(int8_t roomId, int8_t boardId) {
    return tableMessage(kForceFinish, roomId, boardId);
}

Message XiZachService::xetBaiMessage(int8_t roomId, int8_t boardId, int32_t playerId) {
    return tableMessageWithInt(kXetBai, roomId, boardId, playerId);
}

void XiZachService::xetBaiWithRoomId(int8_t roomId, int8_t boardId, int32_t playerId) {
    sendGameMessage(xetBaiMessage(roomId, boardId, playerId));
}

void XiZachService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
