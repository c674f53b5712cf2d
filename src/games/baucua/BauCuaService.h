#pragma once

#include <cstdint>

namespace kavo {

// Builds the Bau Cua table's own requests; nothing else. Safe from any thread.
class BauCuaService {
public:
    static BauCuaService& getInstance();

private:
    BauCuaService() = default;
};

} // namespace kavo
