#include "games/maubinh/MauBinhService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

namespace {

constexpr int16_t kCommand = 47;
enum Sub : int8_t { kLimitTime = 10, kSortByOrder = 23, kSortByType = 24, kAutoArrange = 25, kFinish = 30 };

} // namespace

MauBinhService& MauBinhService::getInstance() {
    static MauBinhService instance;
    return instance;
}

void MauBinhService::doSetLimitTime(int choice, int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(kCommand, roomId, boardId, {kLimitTime, int8_t(choice)}));
}

void MauBinhService::doSortByOrder(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(kCommand, roomId, boardId, {kSortByOrder}));
}

void MauBinhService::doSortByType(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(kCommand, roomId, boardId, {kSortByType}));
}

void MauBinhService::doAutoArrange(int8_t roomId, int8_t boardId) {
    sendGameMessage(tableMessage(kCommand, roomId, boardId, {kAutoArrange}));
}

void MauBinhService::doFinishTurn(int8_t roomId, int8_t boardId, const std::vector<int>& cardList) {
    Message message = tableMessage(kCommand, roomId, boardId, {kFinish});
    for (int id : cardList)
        message.writeByte(int8_t(id));
    sendGameMessage(std::move(message));
}

} // namespace kavo
