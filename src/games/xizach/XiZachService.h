#pragma once

#include <cstdint>

namespace kavo {

// Builds the Xi Zach table's own requests; nothing else. Safe from any thread.
class XiZachService {
public:
    static XiZachService& getInstance();

private:
    XiZachService() = default;
};

} // namespace kavo
