#pragma once

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <vector>

namespace portalserver {

// One message as seen on the wire: its command id and body bytes.
struct RecordedMessage {
    int16_t commandId = 0;
    std::vector<uint8_t> body;

    bool operator==(const RecordedMessage&) const = default;
};

// How a failing expectation shows a message: "19[02 05 00 00 03 e8]".
inline void PrintTo(const RecordedMessage& message, std::ostream* out) {
    *out << message.commandId << "[";
    for (size_t i = 0; i < message.body.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", message.body[i]);
        *out << (i ? " " : "") << hex;
    }
    *out << "]";
}

} // namespace portalserver
