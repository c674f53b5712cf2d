#pragma once

#include <cstdint>
#include <vector>

namespace kavo {

// Builds the Cao Rua table's own requests; nothing else. Safe from any thread.
class CaoRuaService {
public:
    static CaoRuaService& getInstance();

    // 21: my turned cards, one byte per card of my hand (255 for one not shown).
    void moveWithRoomId(uint8_t roomId, uint8_t boardId, const std::vector<uint8_t>& cards);
    // 53: ends the hand at once. The table itself never asks for it.
    void forceFinishWithRoomId(uint8_t roomId, uint8_t boardId);
    // 56: the most players the board takes.
    void setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max);

private:
    CaoRuaService() = default;
};

} // namespace kavo
