#include "games/tienlen/TienLenService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

TienLenService& TienLenService::getInstance() {
    static TienLenService instance;
    return instance;
}

void TienLenService::moveWithRoomId(int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards) {
    Message message = tableMessage(21, roomId, boardId, {int8_t(uint8_t(cards.size() & 0xff))});
    message.writeData(cards);
    sendGameMessage(std::move(message));
}

void TienLenService::forceFinishWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(53, roomId, boardId));
}

void TienLenService::skipWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(49, roomId, boardId));
}

void TienLenService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
