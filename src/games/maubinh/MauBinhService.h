#pragma once

#include <cstdint>

namespace kavo {

// Builds the Mau Binh table's own requests; nothing else. Safe from any thread.
class MauBinhService {
public:
    static MauBinhService& getInstance();
    // 47 with the sub-command 10 and the choice (0 slow, 1 average, 2 fast): the
    // time each player has to arrange the hands.
    void doSetLimitTime(int choice, int8_t roomId, int8_t boardId);

private:
    MauBinhService() = default;
};

} // namespace kavo
