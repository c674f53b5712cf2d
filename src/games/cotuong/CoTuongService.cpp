#include "games/cotuong/CoTuongService.h"

#include "table/GameRequest.h"

namespace kavo {

CoTuongService& CoTuongService::getInstance() {
    static CoTuongService instance;
    return instance;
}

void CoTuongService::requestDrawWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(77, roomId, boardId, {30}));
}

void CoTuongService::requestLoseWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(77, roomId, boardId, {35}));
}

void CoTuongService::requestUndoWithRoomId(int8_t roomId, int8_t boardId, int8_t request) {
    sendGameMessage(tableMessage(77, roomId, boardId, {26, request}));
}

void CoTuongService::answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept) {
    sendGameMessage(tableMessage(24, roomId, boardId, {int8_t(isAccept ? 1 : 0)}));
}

} // namespace kavo
