#include "games/xizach/XiZachService.h"

#include "table/GameRequest.h"

namespace kavo {

XiZachService& XiZachService::getInstance() {
    static XiZachService instance;
    return instance;
}

void XiZachService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
