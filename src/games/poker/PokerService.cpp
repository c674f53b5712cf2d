#include "games/poker/PokerService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

PokerService& PokerService::getInstance() {
    static PokerService instance;
    return instance;
}

void PokerService::doSendObserver(int8_t roomId, int8_t boardId, int8_t choice) {
    sendGameMessage(tableMessage(82, roomId, boardId, {12, choice}));
}

void PokerService::setMaxPlayer(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

void PokerService::setBetMoney(int8_t roomId, int8_t boardId, int32_t money) {
    sendGameMessage(tableMessageWithInt(82, roomId, boardId, money));
}

void PokerService::doBuyStack(int8_t roomId, int8_t boardId, int32_t money) {
    sendGameMessage(tableMessageWithInt(82, roomId, boardId, money));
}

} // namespace kavo
