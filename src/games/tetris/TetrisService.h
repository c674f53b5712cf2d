#pragma once

#include <cstdint>

namespace kavo {

// Builds the Tetris table's own requests; nothing else. Safe from any thread.
class TetrisService {
public:
    static TetrisService& getInstance();

private:
    TetrisService() = default;
};

} // namespace kavo
