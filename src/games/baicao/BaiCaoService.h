#pragma once

#include <cstdint>

namespace kavo {

// Builds the Bai Cao table's own requests; nothing else. Safe from any thread.
class BaiCaoService {
public:
    static BaiCaoService& getInstance();

private:
    BaiCaoService() = default;
};

} // namespace kavo
