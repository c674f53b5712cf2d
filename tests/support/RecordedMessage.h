#pragma once

#include <cstdint>
#include <vector>

namespace kavo::test {

// One message as seen on the wire: its command id and body bytes.
struct RecordedMessage {
    int16_t commandId = 0;
    std::vector<uint8_t> body;
};

} // namespace kavo::test
