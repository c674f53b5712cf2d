#pragma once

#include <cstdint>
#include <initializer_list>

namespace kavo {

// Builds the Chinese chess table's own requests; nothing else. Safe from any thread.
// Every game request is command 77 with room, board and a sub-id byte; the answer to
// an opponent's draw offer is command 24.
class CoTuongService {
public:
    static CoTuongService& getInstance();
    // Sub 25: a move from (xs, ys) to (xd, yd), unchecked; the server decides.
    void moveWithRoomId(int roomId, int boardId, int xs, int ys, int xd, int yd);
    // Sub 26 and the request byte (0 ask, 1 accept, -1 refuse).
    void requestUndoWithRoomId(int8_t roomId, int8_t boardId, int8_t request);
    // Sub 30: offer a draw (also the acceptance of the opponent's offer).
    void requestDrawWithRoomId(int8_t roomId, int8_t boardId);
    // Sub 35: resign.
    void requestLoseWithRoomId(int8_t roomId, int8_t boardId);
    // 24 with the flag: the answer to an opponent's draw offer.
    void answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept);
    // Subs 31, 36 and 33: refuse a draw, refuse a resignation, ask for the captured
    // pieces. This table's screens send none of them.
    void denyDrawWithRoomId(int8_t roomId, int8_t boardId);
    void denyLoseWithRoomId(int8_t roomId, int8_t boardId);
    void getEatPieceWithRoomId(int8_t roomId, int8_t boardId);

    static constexpr int16_t kGameCommand = 77;

protected:
    // The hidden-piece table sends the same requests under its own game command.
    explicit CoTuongService(int16_t gameCommand) : gameCommand_(gameCommand) {}

private:
    CoTuongService() = default;
    void send(int8_t roomId, int8_t boardId, std::initializer_list<int8_t> body) const;

    int16_t gameCommand_ = kGameCommand;
};

} // namespace kavo
