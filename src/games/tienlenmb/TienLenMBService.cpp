#include "games/tienlenmb/TienLenMBService.h"

#include "table/GameRequest.h"

namespace kavo {

TienLenMBService& TienLenMBService::getInstance() {
    static TienLenMBService instance;
    return instance;
}

void TienLenMBService::skipWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(49, roomId, boardId));
}

void TienLenMBService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
