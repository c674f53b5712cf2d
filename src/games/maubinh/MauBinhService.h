#pragma once

#include <cstdint>
#include <vector>

namespace kavo {

// Builds the Mau Binh table's own requests (command 47); nothing else. Safe from any
// thread.
class MauBinhService {
public:
    static MauBinhService& getInstance();
    // 47 with the sub-command 10 and the choice (0 slow, 1 average, 2 fast): the
    // time each player has to arrange the hands.
    void doSetLimitTime(int choice, int8_t roomId, int8_t boardId);
    // The server sorts my thirteen cards by rank (23) or by suit (24).
    void doSortByOrder(int8_t roomId, int8_t boardId);
    void doSortByType(int8_t roomId, int8_t boardId);
    // The server arranges my cards into three hands (25).
    void doAutoArrange(int8_t roomId, int8_t boardId);
    // My arrangement (30): one byte per id, in list order, no count.
    void doFinishTurn(int8_t roomId, int8_t boardId, const std::vector<int>& cardList);

private:
    MauBinhService() = default;
};

} // namespace kavo
