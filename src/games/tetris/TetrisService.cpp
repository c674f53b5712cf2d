#include "games/tetris/TetrisService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

TetrisService& TetrisService::getInstance() {
    static TetrisService instance;
    return instance;
}

void TetrisService::answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept) {
    sendGameMessage(drawAnswerMessage(roomId, boardId, isAccept));
}

} // namespace kavo
