#pragma once

#include <cstdint>

namespace kavo {

// Builds the Cao Rua table's own requests; nothing else. Safe from any thread.
class CaoRuaService {
public:
    static CaoRuaService& getInstance();

private:
    CaoRuaService() = default;
};

} // namespace kavo
