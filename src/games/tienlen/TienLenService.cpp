#include "games/tienlen/TienLenService.h"

#include "table/GameRequest.h"

namespace kavo {

TienLenService& TienLenService::getInstance() {
    static TienLenService instance;
    return instance;
}

void TienLenService::skipWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(49, roomId, boardId));
}

void TienLenService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
