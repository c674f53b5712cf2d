#include "games/cotuong/CoTuongService.h"

#include "table/registry/GameRequest.h"

namespace kavo {

namespace {

// The sub-ids of the requests.
constexpr int8_t kMove = 25;
constexpr int8_t kUndo = 26;
constexpr int8_t kDraw = 30;
constexpr int8_t kDenyDraw = 31;
constexpr int8_t kEatPieces = 33;
constexpr int8_t kLose = 35;
constexpr int8_t kDenyLose = 36;

} // namespace

void CoTuongService::send(int8_t roomId, int8_t boardId, std::initializer_list<int8_t> body) const {
    sendGameMessage(tableMessage(gameCommand_, roomId, boardId, body));
}

CoTuongService& CoTuongService::getInstance() {
    static CoTuongService instance;
    return instance;
}

void CoTuongService::moveWithRoomId(int roomId, int boardId, int xs, int ys, int xd, int yd) {
    send(int8_t(roomId), int8_t(boardId), {kMove, int8_t(xs), int8_t(ys), int8_t(xd), int8_t(yd)});
}

void CoTuongService::requestUndoWithRoomId(int8_t roomId, int8_t boardId, int8_t request) {
    send(roomId, boardId, {kUndo, request});
}

void CoTuongService::requestDrawWithRoomId(int8_t roomId, int8_t boardId) {
    send(roomId, boardId, {kDraw});
}

void CoTuongService::requestLoseWithRoomId(int8_t roomId, int8_t boardId) {
    send(roomId, boardId, {kLose});
}

void CoTuongService::answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept) {
    sendGameMessage(drawAnswerMessage(roomId, boardId, isAccept));
}

void CoTuongService::denyDrawWithRoomId(int8_t roomId, int8_t boardId) {
    send(roomId, boardId, {kDenyDraw});
}

void CoTuongService::denyLoseWithRoomId(int8_t roomId, int8_t boardId) {
    send(roomId, boardId, {kDenyLose});
}

void CoTuongService::getEatPieceWithRoomId(int8_t roomId, int8_t boardId) {
    send(roomId, boardId, {kEatPieces});
}

} // namespace kavo
