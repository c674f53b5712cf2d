#pragma once

#include <cstdint>

namespace kavo {

// Builds the Phom table's own requests; nothing else. Safe from any thread.
class PhomNewService {
public:
    static PhomNewService& getInstance();

private:
    PhomNewService() = default;
};

} // namespace kavo
