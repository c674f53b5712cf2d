#pragma once

#include "net/Message.h"
#include "net/TEA.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavo {

// Splits the received byte stream into frames. A frame is a 32-bit big-endian
// length L (counting the flag byte), one flag byte (ignored) and L - 1 bytes of
// enciphered body. Bytes may arrive in pieces of any size.
//
// A length field of 0 carries no flag byte and no body: only its 4 bytes are
// consumed. A length above kMaxFrameLength is fatal: the stream cannot be trusted
// to find the next frame, and the body is never allocated.
class FrameReader {
public:
    static constexpr uint32_t kMaxFrameLength = 16u * 1024u * 1024u;

    enum class Result {
        NeedMore, // no complete frame yet
        Frame,    // `body` holds the next frame's enciphered body (maybe empty)
        Error,    // the stream is broken; see error()
    };

    void append(const uint8_t* bytes, size_t size);
    // Takes the next complete frame. After Error it keeps returning Error.
    Result next(std::vector<uint8_t>& body);

    const std::string& error() const { return error_; }
    // Bytes received but not yet taken as frames.
    size_t buffered() const { return buffer_.size() - start_; }

private:
    std::vector<uint8_t> buffer_;
    size_t start_ = 0; // first byte not yet taken
    std::string error_;
};

// The frame of one message: length, flag byte 1, enciphered command id and body.
std::vector<uint8_t> encodeFrame(const TEA& tea, const Message& message);
// The same for a message that is not needed afterwards: its body buffer is enciphered
// without being copied first.
std::vector<uint8_t> encodeFrame(const TEA& tea, Message&& message);

// Deciphers one frame body and rebuilds its message. Nothing, with the reason in
// `why`, when the body is empty, does not decipher, or gives fewer than 2 bytes.
std::optional<Message> decodeFrameBody(const TEA& tea, const std::vector<uint8_t>& body, std::string* why = nullptr);

} // namespace kavo
