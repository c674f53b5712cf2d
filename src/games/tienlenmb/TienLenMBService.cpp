#include "games/tienlenmb/TienLenMBService.h"

#include "games/tienlen/TienLenService.h"
#include "table/registry/GameRequest.h"

namespace kavo {

TienLenMBService& TienLenMBService::getInstance() {
    static TienLenMBService instance;
    return instance;
}

// The fire and the claim are Tien Len's, byte for byte, on the same connection.
void TienLenMBService::moveWithRoomId(int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards) {
    TienLenService::getInstance().moveWithRoomId(roomId, boardId, cards);
}

void TienLenMBService::forceFinishWithRoomId(int8_t roomId, int8_t boardId) {
    TienLenService::getInstance().forceFinishWithRoomId(roomId, boardId);
}

void TienLenMBService::skipWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(49, roomId, boardId));
}

void TienLenMBService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
