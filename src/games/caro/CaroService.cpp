#include "games/caro/CaroService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

CaroService& CaroService::getInstance() {
    static CaroService instance;
    return instance;
}

void CaroService::answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept) {
    sendGameMessage(drawAnswerMessage(roomId, boardId, isAccept));
}

void CaroService::requestLoseWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(27, roomId, boardId));
}

} // namespace kavo
