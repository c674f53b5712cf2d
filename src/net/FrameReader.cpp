#include "net/FrameReader.h"

namespace kavo {

void FrameReader::append(const uint8_t* bytes, size_t size) {
    if (size == 0) return;
    // Drop what was already taken before growing, so the buffer stays about the
    // size of one frame.
    if (start_ > 0 && start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    } else if (start_ >= 64 * 1024 && start_ * 2 >= buffer_.size()) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes, bytes + size);
}

FrameReader::Result FrameReader::next(std::vector<uint8_t>& body) {
    if (!error_.empty()) return Result::Error;
    for (;;) {
        size_t left = buffer_.size() - start_;
        if (left < 4) return Result::NeedMore;
        const uint8_t* p = buffer_.data() + start_;
        uint32_t length = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
        if (length == 0) {
            start_ += 4;
            continue;
        }
        if (length > kMaxFrameLength) {
            error_ = "frame length " + std::to_string(length) + " is above the limit";
            return Result::Error;
        }
        if (left - 4 < length) return Result::NeedMore;
        const uint8_t* bodyStart = p + 5; // after the length and the flag byte
        body.assign(bodyStart, bodyStart + (length - 1));
        start_ += 4 + size_t(length);
        return Result::Frame;
    }
}

namespace {

std::vector<uint8_t> frameAround(const std::vector<uint8_t>& enc) {
    auto length = static_cast<uint32_t>(enc.size() + 1);
    std::vector<uint8_t> frame;
    frame.reserve(5 + enc.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.push_back(static_cast<uint8_t>(length >> shift));
    frame.push_back(1);
    frame.insert(frame.end(), enc.begin(), enc.end());
    return frame;
}

} // namespace

std::vector<uint8_t> encodeFrame(const TEA& tea, const Message& message) {
    return frameAround(tea.encrypt(message.rawData()));
}

std::vector<uint8_t> encodeFrame(const TEA& tea, Message&& message) {
    return frameAround(tea.encrypt(std::move(message).takeRawData()));
}

std::optional<Message> decodeFrameBody(const TEA& tea, const std::vector<uint8_t>& body, std::string* why) {
    auto fail = [&](const char* reason) -> std::optional<Message> {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (body.empty()) return fail("empty frame body");
    auto plain = tea.decrypt(body);
    if (!plain) return fail("frame body does not decipher");
    auto message = Message::fromRawData(std::move(*plain));
    if (!message) return fail("frame body holds no command id");
    return message;
}

} // namespace kavo
