#include "games/baicao/BaiCaoService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

namespace {
constexpr int16_t kMove = 21;
constexpr int16_t kForceFinish = 53;
} // namespace

BaiCaoService& BaiCaoService::getInstance() {
    static BaiCaoService instance;
    return instance;
}

Message BaiCaoService::moveMessage(int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards) {
    Message message = tableMessage(kMove, roomId, boardId);
    message.writeData(cards);
    return message;
}

void BaiCaoService::moveWithRoomId(int8_t roomId, int8_t boardId, const std::vector<uint8_t>& cards) {
    sendGameMessage(moveMessage(roomId, boardId, cards));
}

Message BaiCaoService::forceFinishMessage(int8_t roomId, int8_t boardId) {
    return tableMessage(kForceFinish, roomId, boardId);
}

void BaiCaoService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
