#include "games/covua/CoVuaService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

CoVuaService& CoVuaService::getInstance() {
    static CoVuaService instance;
    return instance;
}

void CoVuaService::answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept) {
    sendGameMessage(drawAnswerMessage(roomId, boardId, isAccept));
}

void CoVuaService::requestLoseWithRoomId(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(27, roomId, boardId));
}

} // namespace kavo
