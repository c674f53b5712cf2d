#pragma once

#include <cstdint>

namespace kavo {

// Builds the Phom table's own requests; nothing else. Safe from any thread.
class PhomNewService {
public:
    static PhomNewService& getInstance();

    // 56: the most players the board takes.
    void setMaxPlayer(int8_t roomId, int8_t boardId, int8_t max);

private:
    PhomNewService() = default;
};

} // namespace kavo
