#pragma once

#include <cstdint>

namespace kavo {

// Builds the poker table's own requests; nothing else. Safe from any thread.
class PokerService {
public:
    static PokerService& getInstance();
    // 82 with 12 and the choice: the answer to the observer question (1 sit down, 0 watch).
    void doSendObserver(int8_t roomId, int8_t boardId, int8_t choice);

    // 56: the most players the board takes.
    void setMaxPlayer(int8_t roomId, int8_t boardId, int8_t max);
    // 82 with room, board and the amount: the bet of the bet sheet.
    void setBetMoney(int8_t roomId, int8_t boardId, int32_t money);
    // 82 with room, board and the amount: the chips brought to the table.
    void doBuyStack(int8_t roomId, int8_t boardId, int32_t money);

private:
    PokerService() = default;
};

} // namespace kavo
