#include "games/baicao/BaiCaoService.h"

#include "table/GameRequest.h"

namespace kavo {

BaiCaoService& BaiCaoService::getInstance() {
    static BaiCaoService instance;
    return instance;
}

void BaiCaoService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
