#include "games/phom/PhomNewService.h"

#include "table/GameRequest.h"

namespace kavo {

PhomNewService& PhomNewService::getInstance() {
    static PhomNewService instance;
    return instance;
}

void PhomNewService::setMaxPlayer(int8_t roomId, int8_t boardId, int8_t max) {
    sendGameMessage(setMaxPlayerMessage(roomId, boardId, max));
}

} // namespace kavo
