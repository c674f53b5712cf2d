#include "games/caorua/CaoRuaService.h"

#include "table/GameRequest.h"

namespace kavo {

CaoRuaService& CaoRuaService::getInstance() {
    static CaoRuaService instance;
    return instance;
}

void CaoRuaService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
