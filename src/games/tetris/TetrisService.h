#pragma once

#include <cstdint>

namespace kavo {

// Builds the Tetris table's own requests; nothing else. Safe from any thread.
class TetrisService {
public:
    static TetrisService& getInstance();
    // 24 with the flag: the answer to an opponent's draw offer.
    void answerDrawWithRoomId(int8_t roomId, int8_t boardId, bool isAccept);

private:
    TetrisService() = default;
};

} // namespace kavo
