#include "games/poker/PokerService.h"

#include "table/GameRequest.h"

namespace kavo {

PokerService& PokerService::getInstance() {
    static PokerService instance;
    return instance;
}

void PokerService::doSendObserver(int8_t roomId, int8_t boardId, int8_t choice) {
    sendGameMessage(tableMessage(82, roomId, boardId, {12, choice}));
}

} // namespace kavo
