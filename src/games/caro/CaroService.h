#pragma once

#include <cstdint>

namespace kavo {

// Builds the Caro table's own requests; nothing else. Safe from any thread.
class CaroService {
public:
    static CaroService& getInstance();
    // 24 with the flag: the answer to an opponent's draw offer.
    void answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept);
    // 27: resign.
    void requestLoseWithRoomId(int8_t roomId, int8_t boardId);

private:
    CaroService() = default;
};

} // namespace kavo
