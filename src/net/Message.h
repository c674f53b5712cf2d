#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

// Bytes read in place, where they are kept. Converts to a vector where a copy is wanted.
class ByteView : public std::span<const uint8_t> {
public:
    using std::span<const uint8_t>::span;
    operator std::vector<uint8_t>() const { return std::vector<uint8_t>(begin(), end()); }
    friend bool operator==(ByteView a, ByteView b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }
};

// One request or reply of the wire protocol: a 16-bit command id and a body with
// a read cursor. Writers append big-endian fields at the end; readers read at the
// cursor. The body never describes itself: the command id fixes its layout.
//
// Nothing here throws or reads out of bounds. A fixed-width read that would pass
// the end returns 0 and leaves the cursor where it was, so a short reply reads as
// zeros instead of ending the process.
//
// A Message is used by one thread at a time.
//
// The buffer keeps two bytes in front of the body for the command id (once it holds
// anything at all), so the bytes that get enciphered are the buffer itself and a
// deciphered frame becomes a message as it is: neither direction copies the body.
class Message {
public:
    // Longest string body writeUTF puts on the wire (its length field is 16 bits).
    static constexpr size_t kMaxUTFBytes = 65535;

    // Room a new request's body starts with: most requests and replies fit, so the
    // fields are appended without growing the buffer again and again.
    static constexpr size_t kInitialCapacity = 128;

    Message() = default;
    explicit Message(int16_t commandId) : commandId_(commandId) {
        data_.reserve(kInitialCapacity);
        data_.resize(kHead);
    }
    // Command id and a copy of the given body; the cursor is at 0.
    Message(int16_t commandId, const std::vector<uint8_t>& body) : commandId_(commandId) { setData(body); }

    // Rebuilds a message from one deciphered frame body: the first two bytes are the
    // command id (big-endian), the rest is the body. Fewer than 2 bytes: nothing.
    static std::optional<Message> fromRawData(const uint8_t* bytes, size_t size);
    static std::optional<Message> fromRawData(const std::vector<uint8_t>& bytes) {
        return fromRawData(bytes.data(), bytes.size());
    }
    // The same, keeping the given buffer (a deciphered frame is not copied).
    static std::optional<Message> fromRawData(std::vector<uint8_t>&& bytes);
    // The command id (big-endian) followed by the body: what gets enciphered.
    std::vector<uint8_t> rawData() const;
    // The same bytes, handed over in the message's own buffer, so a message on its way
    // out is not copied. The message is left with an empty body.
    std::vector<uint8_t> takeRawData() &&;

    // Writers: each appends one field.
    // The fixed-width writers and readers are defined below, in the header: a reply is
    // dozens of them, and a call each costs as much as the field.
    void writeByte(int8_t value) { *extend(1) = static_cast<uint8_t>(value); }
    void writeBool(int value) { *extend(1) = static_cast<uint8_t>(value); } // the low 8 bits
    void writeShort(int16_t value) { appendBigEndian(static_cast<uint16_t>(value), 2); }
    void writeInt(int32_t value) { appendBigEndian(static_cast<uint32_t>(value), 4); }
    void writeLong(int64_t value) { appendBigEndian(static_cast<uint64_t>(value), 8); }
    void writeFloat(float value);
    // 16-bit byte count, then the UTF-8 bytes. No string (nullptr) writes the empty
    // string 00 00, so the field is never missing. A string longer than
    // kMaxUTFBytes is cut at the last character boundary that fits.
    void writeUTF(std::string_view text) {
        if (text.size() > kMaxUTFBytes) return writeCutUTF(text);
        const size_t size = text.size();
        uint8_t* out = extend(2);
        out[0] = static_cast<uint8_t>(size >> 8);
        out[1] = static_cast<uint8_t>(size);
        data_.insert(data_.end(), text.begin(), text.end());
    }
    void writeUTF(const char* text) { writeUTF(text ? std::string_view(text) : std::string_view()); }
    // Raw bytes; the length is not written, the reader must know it.
    void writeData(const uint8_t* bytes, size_t size);
    void writeData(const std::vector<uint8_t>& bytes) { writeData(bytes.data(), bytes.size()); }

    // Readers: each reads one field at the cursor and moves the cursor past it.
    int8_t readByte() {
        if (!fits(1)) return logPastTheEnd("readByte"), 0;
        return static_cast<int8_t>(data_[kHead + size_t(idx_++)]);
    }
    // The byte as 0..255; any non-zero value means true.
    int readBool() {
        if (!fits(1)) return logPastTheEnd("readBool"), 0;
        return data_[kHead + size_t(idx_++)];
    }
    int16_t readShort() { return fits(2) ? static_cast<int16_t>(takeBigEndian(2)) : 0; }
    int32_t readInt() { return fits(4) ? static_cast<int32_t>(takeBigEndian(4)) : 0; }
    int64_t readLong() { return fits(8) ? static_cast<int64_t>(takeBigEndian(8)) : 0; }
    float readFloat();
    // A 16-bit unsigned byte count, then that many UTF-8 bytes. Returns "" when the
    // count does not fit (cursor unchanged), when the bytes would pass the end
    // (cursor left just after the count), or when the bytes are not valid UTF-8
    // (cursor moved past them).
    std::string readUTF();
    // `length` raw bytes, or nothing (cursor unchanged) when they would pass the end
    // or the length is negative.
    std::optional<std::vector<uint8_t>> readDataWithLength(int16_t length);
    std::optional<std::vector<uint8_t>> readDataWithIntLength(int32_t length);

    // True while the cursor is before the end of the body.
    bool available() const { return idx_ >= 0 && static_cast<size_t>(idx_) < bodySize(); }

    int16_t commandId() const { return commandId_; }
    void setCommandId(int16_t commandId) { commandId_ = commandId; }
    // The body, read in place: valid until the message changes or goes away.
    ByteView data() const { return bodySize() == 0 ? ByteView() : ByteView(data_.data() + kHead, bodySize()); }
    // Replaces the body with a copy of `body`; the cursor stays where it is.
    void setData(const std::vector<uint8_t>& body);
    int32_t idx() const { return idx_; }
    void setIdx(int32_t idx) { idx_ = idx; }

private:
    // Room for the command id in front of the body.
    static constexpr size_t kHead = 2;

    // The buffer is empty or holds kHead bytes, then the body.
    size_t bodySize() const { return data_.size() > kHead ? data_.size() - kHead : 0; }
    // True when `count` bytes can be read at the cursor.
    bool fits(size_t count) const {
        if (idx_ < 0) return false;
        const auto at = static_cast<size_t>(idx_);
        const size_t size = bodySize();
        return at <= size && count <= size - at;
    }
    // Reads `count` (<= 8) bytes big-endian at the cursor; the caller checked fits().
    uint64_t takeBigEndian(size_t count) {
        const uint8_t* at = data_.data() + kHead + idx_;
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i)
            value = (value << 8) | at[i];
        idx_ += static_cast<int32_t>(count);
        return value;
    }
    void appendBigEndian(uint64_t value, size_t count) {
        uint8_t* out = extend(count);
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<uint8_t>(value >> (8 * (count - 1 - i)));
    }
    // Grows the body by `count` bytes and returns where they start. One resize and plain
    // stores: appending byte by byte makes every byte wait for the vector's end to be
    // stored and read back, which costs more than the field.
    uint8_t* extend(size_t count) {
        if (data_.size() < kHead) [[unlikely]]
            data_.resize(kHead);
        const size_t at = data_.size();
        data_.resize(at + count);
        return data_.data() + at;
    }
    void putCommandId(uint8_t* out) const;
    void writeCutUTF(std::string_view text);
    static void logPastTheEnd(const char* reader);
    std::optional<std::vector<uint8_t>> readData(int64_t length, const char* what);

    int16_t commandId_ = 0;
    std::vector<uint8_t> data_;
    int32_t idx_ = 0;
};

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUTF8(const uint8_t* bytes, size_t size);

} // namespace kavo
