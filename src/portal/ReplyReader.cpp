#include "portal/ReplyReader.h"

namespace kavo {

size_t ReplyReader::remaining() const {
    const size_t size = message_.data().size();
    const size_t idx = message_.idx() < 0 ? size : size_t(message_.idx());
    return idx < size ? size - idx : 0;
}

bool ReplyReader::take(size_t count) {
    if (ok_ && remaining() >= count) return true;
    ok_ = false;
    return false;
}

int8_t ReplyReader::byte() {
    return take(1) ? message_.readByte() : 0;
}
bool ReplyReader::boolean() {
    return take(1) ? message_.readBool() != 0 : false;
}
int16_t ReplyReader::int16() {
    return take(2) ? message_.readShort() : 0;
}
int32_t ReplyReader::int32() {
    return take(4) ? message_.readInt() : 0;
}
int64_t ReplyReader::int64() {
    return take(8) ? message_.readLong() : 0;
}

std::string ReplyReader::utf() {
    if (!take(2)) return {};
    const auto& data = message_.data();
    const size_t at = size_t(message_.idx());
    const size_t length = (size_t(data[at]) << 8) | size_t(data[at + 1]);
    if (!take(2 + length)) return {};
    return message_.readUTF();
}

std::vector<uint8_t> ReplyReader::data(int32_t length) {
    if (length < 0 || !take(size_t(length))) {
        ok_ = false;
        return {};
    }
    return message_.readDataWithIntLength(length).value_or(std::vector<uint8_t>{});
}

} // namespace kavo
