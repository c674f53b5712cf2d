#include "table/GameRequest.h"

#include "portal/GlobalService.h"

namespace kavo {

Message tableMessage(int16_t commandId, int8_t roomId, int8_t boardId, std::initializer_list<int8_t> extra) {
    Message message(commandId);
    message.writeByte(roomId);
    message.writeByte(boardId);
    for (int8_t value : extra)
        message.writeByte(value);
    return message;
}

void sendGameMessage(Message message) {
    GlobalService::getInstance().session().sendMessage(std::move(message));
}

} // namespace kavo
