#pragma once

#include "net/Message.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kavo::test {

using ByteVector = std::vector<uint8_t>;

// "00dc01" -> {0x00, 0xDC, 0x01}. Spaces are skipped; a malformed text gives what
// was read before the fault.
ByteVector fromHex(std::string_view hex);
// {0x00, 0xDC, 0x01} -> "00dc01"
std::string toHex(const ByteVector& bytes);

// A message body built field by field with the wire writers, for scripted replies:
// Bytes().byte(1).utf("an").int32(500).data()
class Bytes {
public:
    Bytes& byte(int8_t v) { return m_.writeByte(v), *this; }
    Bytes& boolean(bool v) { return m_.writeBool(v ? 1 : 0), *this; }
    Bytes& int16(int16_t v) { return m_.writeShort(v), *this; }
    Bytes& int32(int32_t v) { return m_.writeInt(v), *this; }
    Bytes& int64(int64_t v) { return m_.writeLong(v), *this; }
    Bytes& real(float v) { return m_.writeFloat(v), *this; }
    Bytes& utf(std::string_view v) { return m_.writeUTF(v), *this; }
    Bytes& raw(std::initializer_list<uint8_t> v) { return m_.writeData(ByteVector(v)), *this; }
    Bytes& raw(const ByteVector& v) { return m_.writeData(v), *this; }

    ByteVector data() const { return m_.data(); }
    operator ByteVector() const { return m_.data(); }
    Message message(int16_t commandId) const { return Message(commandId, m_.data()); }

private:
    Message m_;
};

// A body holding one UTF field.
inline ByteVector utf(std::string_view text) {
    return Bytes().utf(text).data();
}

} // namespace kavo::test
