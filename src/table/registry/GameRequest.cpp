#include "table/registry/GameRequest.h"

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

Message tableMessageWithInt(int16_t commandId, int8_t roomId, int8_t boardId, int32_t value) {
    Message message = tableMessage(commandId, roomId, boardId);
    message.writeInt(value);
    return message;
}

Message setMaxPlayerMessage(int8_t roomId, int8_t boardId, int8_t max) {
    return tableMessage(56, roomId, boardId, {max});
}

Message drawAnswerMessage(int8_t roomId, int8_t boardId, bool accept) {
    return tableMessage(24, roomId, boardId, {int8_t(accept ? 1 : 0)});
}

void sendGameMessage(Message message) {
    GlobalService::getInstance().session().sendMessage(std::move(message));
}

} // namespace kavo
