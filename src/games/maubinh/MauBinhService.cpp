#include "games/maubinh/MauBinhService.h"

#include "table/GameRequest.h"

namespace kavo {

MauBinhService& MauBinhService::getInstance() {
    static MauBinhService instance;
    return instance;
}

void MauBinhService::doSetLimitTime(int choice, int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(47, roomId, boardId, {10, int8_t(choice)}));
}

} // namespace kavo
