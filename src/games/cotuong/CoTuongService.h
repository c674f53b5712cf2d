#pragma once

#include <cstdint>

namespace kavo {

// Builds the Chinese chess table's own requests; nothing else. Safe from any thread.
class CoTuongService {
public:
    static CoTuongService& getInstance();
    // 77 with 30: offer a draw.
    void requestDrawWithRoomId(int8_t roomId, int8_t boardId);
    // 77 with 35: resign.
    void requestLoseWithRoomId(int8_t roomId, int8_t boardId);
    // 77 with 26 and the request byte (1 accept, -1 refuse when answering).
    void requestUndoWithRoomId(int8_t roomId, int8_t boardId, int8_t request);
    // 24 with the flag: the answer to an opponent's draw offer.
    void answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept);

private:
    CoTuongService() = default;
};

} // namespace kavo
