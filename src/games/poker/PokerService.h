#pragma once

#include <cstdint>

namespace kavo {

// Builds the poker table's own requests; nothing else. Safe from any thread.
class PokerService {
public:
    static PokerService& getInstance();
    // 82 with 12 and the choice: the answer to the observer question (1 sit down, 0 watch).
    void doSendObserver(int8_t roomId, int8_t boardId, int8_t choice);

private:
    PokerService() = default;
};

} // namespace kavo
