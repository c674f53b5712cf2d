#include "net/Message.h"

#include "platform/runtime/Log.h"

#include <cstring>

namespace kavo {

std::optional<Message> Message::fromRawData(const uint8_t* bytes, size_t size) {
    if (size < kHead) return std::nullopt;
    return fromRawData(std::vector<uint8_t>(bytes, bytes + size));
}

std::optional<Message> Message::fromRawData(std::vector<uint8_t>&& bytes) {
    if (bytes.size() < kHead) return std::nullopt;
    // The id bytes stay where they are, as the room in front of the body.
    std::optional<Message> message(std::in_place);
    message->commandId_ = static_cast<int16_t>(static_cast<uint16_t>((bytes[0] << 8) | bytes[1]));
    message->data_ = std::move(bytes);
    return message;
}

std::vector<uint8_t> Message::rawData() const {
    std::vector<uint8_t> raw(kHead + bodySize());
    putCommandId(raw.data());
    if (bodySize() > 0) std::memcpy(raw.data() + kHead, data_.data() + kHead, bodySize());
    return raw;
}

std::vector<uint8_t> Message::takeRawData() && {
    if (data_.size() < kHead) data_.resize(kHead);
    putCommandId(data_.data());
    idx_ = 0;
    std::vector<uint8_t> raw = std::move(data_);
    data_.clear();
    return raw;
}

void Message::putCommandId(uint8_t* out) const {
    const auto id = static_cast<uint16_t>(commandId_);
    out[0] = static_cast<uint8_t>(id >> 8);
    out[1] = static_cast<uint8_t>(id);
}

void Message::setData(const std::vector<uint8_t>& body) {
    data_.clear();
    if (body.empty()) return;
    data_.reserve(kHead + body.size());
    data_.resize(kHead);
    data_.insert(data_.end(), body.begin(), body.end());
}

void Message::writeFloat(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    appendBigEndian(bits, 4);
}

void Message::writeCutUTF(std::string_view text) {
    // Cut before the character that straddles the limit: step back over continuation
    // bytes (10xxxxxx) to the start of that character.
    size_t size = kMaxUTFBytes;
    while (size > 0 && (static_cast<uint8_t>(text[size]) & 0xC0) == 0x80)
        --size;
    writeUTF(text.substr(0, size));
}

void Message::writeData(const uint8_t* bytes, size_t size) {
    if (size > 0) std::memcpy(extend(size), bytes, size);
}

void Message::logPastTheEnd(const char* reader) {
    platform::log(std::string("Message ") + reader + ": past the end of the body");
}

float Message::readFloat() {
    if (!fits(4)) return 0.0f;
    auto bits = static_cast<uint32_t>(takeBigEndian(4));
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string Message::readUTF() {
    if (!fits(2)) return {};
    auto length = static_cast<size_t>(takeBigEndian(2));
    if (!fits(length)) return {};
    const uint8_t* start = data_.data() + kHead + idx_;
    idx_ += static_cast<int32_t>(length);
    if (!isValidUTF8(start, length)) return {};
    return std::string(reinterpret_cast<const char*>(start), length);
}

std::optional<std::vector<uint8_t>> Message::readData(int64_t length, const char* what) {
    if (length < 0 || !fits(static_cast<size_t>(length))) {
        platform::log(std::string("Message ") + what + ": past the end of the body");
        return std::nullopt;
    }
    auto begin = data_.begin() + static_cast<std::ptrdiff_t>(kHead) + idx_;
    std::vector<uint8_t> bytes(begin, begin + static_cast<std::ptrdiff_t>(length));
    idx_ += static_cast<int32_t>(length);
    return bytes;
}

std::optional<std::vector<uint8_t>> Message::readDataWithLength(int16_t length) {
    return readData(length, "readDataWithLength");
}

std::optional<std::vector<uint8_t>> Message::readDataWithIntLength(int32_t length) {
    return readData(length, "readDataWithIntLength");
}

namespace {

bool eightAreASCII(const uint8_t* bytes) {
    uint64_t eight = 0;
    std::memcpy(&eight, bytes, sizeof eight);
    return (eight & 0x8080808080808080ull) == 0;
}

} // namespace

bool isValidUTF8(const uint8_t* bytes, size_t size) {
    // Most texts are plain ASCII: eight such bytes are skipped at a time, and the last
    // eight, read once, finish a text whose rest is shorter than eight.
    const bool asciiEnd = size >= 8 && eightAreASCII(bytes + size - 8);
    size_t i = 0;
    while (i < size) {
        if (size - i >= 8) {
            if (eightAreASCII(bytes + i)) {
                i += 8;
                continue;
            }
        } else if (asciiEnd) {
            return true;
        }
        uint8_t lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t extra = 0;
        uint32_t cp = 0;
        uint32_t min = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1Fu, min = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0Fu, min = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07u, min = 0x10000;
        } else {
            return false;
        }
        if (size - i - 1 < extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            uint8_t next = bytes[i + k];
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

} // namespace kavo
