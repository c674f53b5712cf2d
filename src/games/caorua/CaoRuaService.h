#pragma once

#include <cstdint>

namespace kavo {

// Builds the Cao Rua table's own requests; nothing else. Safe from any thread.
class CaoRuaService {
public:
    static CaoRuaService& getInstance();

    // 56: the most players the board takes.
    void setMaxPlayerWithRoomId(int8_t roomId, int8_t boardId, int8_t max);

private:
    CaoRuaService() = default;
};

} // namespace kavo
