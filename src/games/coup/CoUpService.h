#pragma once

#include <cstdint>

namespace kavo {

// Builds the hidden-piece Chinese chess table's own requests; nothing else. Safe from any thread.
class CoUpService {
public:
    static CoUpService& getInstance();
    // 86 with 30: offer a draw.
    void requestDrawWithRoomId(int8_t roomId, int8_t boardId);
    // 86 with 35: resign.
    void requestLoseWithRoomId(int8_t roomId, int8_t boardId);
    // 86 with 26 and the request byte (1 accept, -1 refuse when answering).
    void requestUndoWithRoomId(int8_t roomId, int8_t boardId, int8_t request);
    // 77 with the flag: the answer to an opponent's draw offer.
    void answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept);

private:
    CoUpService() = default;
};

} // namespace kavo
