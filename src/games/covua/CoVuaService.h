#pragma once

#include <cstdint>

namespace kavo {

// Builds the chess table's own requests; nothing else. Safe from any thread.
class CoVuaService {
public:
    static CoVuaService& getInstance();
    // 24 with the flag: the answer to an opponent's draw offer.
    void answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept);
    // 27: resign.
    void requestLoseWithRoomId(int8_t roomId, int8_t boardId);

private:
    CoVuaService() = default;
};

} // namespace kavo
