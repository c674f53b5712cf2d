#include "games/coup/CoUpService.h"

#include "table/GameRequest.h"

namespace kavo {

CoUpService& CoUpService::getInstance() {
    static CoUpService instance;
    return instance;
}

void CoUpService::requestDrawWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(86, roomId, boardId, {30}));
}

void CoUpService::requestLoseWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(86, roomId, boardId, {35}));
}

void CoUpService::requestUndoWithRoomId(int8_t roomId, int8_t boardId, int8_t request) {
    sendGameMessage(tableMessage(86, roomId, boardId, {26, request}));
}

void CoUpService::answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept) {
    sendGameMessage(tableMessage(77, roomId, boardId, {int8_t(isAccept ? 1 : 0)}));
}

} // namespace kavo
