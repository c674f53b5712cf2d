#pragma once

#include "net/Message.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavo {

// Reads the fields of one reply and remembers whether any of them ran past the end
// of the body. A read that does not fit returns 0 or "" and leaves the cursor, as
// Message does; afterwards ok() is false for good. List replies use it to stop at
// the first row that cannot be read whole:
//
//     while (reader.hasMore()) {
//         int8_t id = reader.byte();
//         std::string name = reader.utf();
//         if (!reader.ok()) break; // a row cut short is dropped
//         ...
//     }
class ReplyReader {
public:
    explicit ReplyReader(Message& message) : message_(message) {}

    int8_t byte();
    bool boolean();
    int16_t int16();
    int32_t int32();
    int64_t int64();
    // Checks the 16-bit length against the bytes left before reading the text.
    std::string utf();
    // `length` raw bytes; a negative length or one past the end fails (empty).
    std::vector<uint8_t> data(int32_t length);

    // Bytes left after the cursor.
    size_t remaining() const;
    // More to read and nothing has failed so far.
    bool hasMore() const { return ok_ && remaining() > 0; }
    bool ok() const { return ok_; }

private:
    bool take(size_t count);

    Message& message_;
    bool ok_ = true;
};

} // namespace kavo
