#include "lobby/BoardPassword.h"

namespace kavo {

void BoardPassword::setRoomAndBoard(int8_t roomId, int8_t boardId) {
    roomId_ = roomId;
    boardId_ = boardId;
}

void BoardPassword::doOK() {
    join(roomId_, boardId_);
}

} // namespace kavo
