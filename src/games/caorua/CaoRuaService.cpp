#include "games/caorua/CaoRuaService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

namespace {

constexpr int16_t kMove = 21;
constexpr int16_t kForceFinish = 53;

} // namespace

CaoRuaService& CaoRuaService::getInstance() {
    static CaoRuaService instance;
    return instance;
}

void CaoRuaService::moveWithRoomId(uint8_t roomId, uint8_t boardId, const std::vector<uint8_t>& cards) {
    Message message = tableMessage(kMove, int8_t(roomId), int8_t(boardId));
    for (uint8_t card : cards)
        message.writeByte(int8_t(card));
    sendGameMessage(std::move(message));
}

void CaoRuaService::forceFinishWithRoomId(uint8_t roomId, uint8_t boardId) {
    sendGameMessage(tableMessage(kForceFinish, int8_t(roomId), int8_t(boardId)));
}

void CaoRuaService::setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
