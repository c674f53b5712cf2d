#include "platform/foundation/KeyedArchive.h"

#include "platform/runtime/Log.h"

#include <bit>

namespace platform {

// Layout (all numbers big-endian):
//   "KVKA" version:u8 recordCount:u32
//   per record: className:str fieldCount:u32, per field: key:str tag:u8 payload
//   crc32 of everything before:u32
// where str is length:u32 followed by the UTF-8 bytes.

namespace {

constexpr uint8_t kMagic[] = {'K', 'V', 'K', 'A'};
constexpr uint8_t kVersion = 1;

enum Tag : uint8_t { kInteger = 1, kBool = 2, kReal = 3, kString = 4, kData = 5, kDate = 6 };

uint32_t crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class Writer {
public:
    void u8(uint8_t v) { out.push_back(v); }
    void u32(uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(uint8_t(v >> shift));
    }
    void u64(uint64_t v) {
        for (int shift = 56; shift >= 0; shift -= 8)
            out.push_back(uint8_t(v >> shift));
    }
    void bytes(const uint8_t* data, size_t size) {
        u32(uint32_t(size));
        out.insert(out.end(), data, data + size);
    }
    void str(std::string_view s) { bytes(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }
    Bytes out;
};

// Every read checks the remaining length; after the first failure all reads fail.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ == size_; }
    uint8_t u8() { return need(1) ? data_[pos_++] : 0; }
    uint32_t u32() {
        if (!need(4)) return 0;
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | data_[pos_++];
        return v;
    }
    uint64_t u64() {
        if (!need(8)) return 0;
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i)
            v = (v << 8) | data_[pos_++];
        return v;
    }
    Bytes bytes() {
        uint32_t length = u32();
        if (!need(length)) return {};
        Bytes b(data_ + pos_, data_ + pos_ + length);
        pos_ += length;
        return b;
    }
    std::string str() {
        Bytes b = bytes();
        return std::string(b.begin(), b.end());
    }
    void fail() { ok_ = false; }

private:
    bool need(size_t n) {
        if (!ok_ || size_ - pos_ < n) ok_ = false;
        return ok_;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

void writeField(Writer& w, const std::string& key, const Value& value) {
    uint8_t tag;
    switch (value.type()) {
    case ValueType::Integer:
        tag = kInteger;
        break;
    case ValueType::Bool:
        tag = kBool;
        break;
    case ValueType::Real:
        tag = kReal;
        break;
    case ValueType::String:
        tag = kString;
        break;
    case ValueType::Data:
        tag = kData;
        break;
    case ValueType::Date:
        tag = kDate;
        break;
    default:
        log("KeyedArchive: field " + key + " has a kind that cannot be archived; left out");
        return;
    }
    w.str(key);
    w.u8(tag);
    switch (tag) {
    case kInteger:
        w.u64(uint64_t(value.int64Value()));
        break;
    case kBool:
        w.u8(value.boolValue() ? 1 : 0);
        break;
    case kReal:
        w.u64(std::bit_cast<uint64_t>(value.doubleValue()));
        break;
    case kString:
        w.str(value.stringValue());
        break;
    case kData:
        w.bytes(value.dataValue().data(), value.dataValue().size());
        break;
    case kDate:
        w.u64(std::bit_cast<uint64_t>(value.dateValue()));
        break;
    }
}

Value readFieldValue(Reader& r, uint8_t tag) {
    switch (tag) {
    case kInteger:
        return Value(int64_t(r.u64()));
    case kBool: {
        uint8_t b = r.u8();
        if (b > 1) r.fail();
        return Value(b == 1);
    }
    case kReal:
        return Value(std::bit_cast<double>(r.u64()));
    case kString:
        return Value(r.str());
    case kData:
        return Value(r.bytes());
    case kDate:
        return Value::date(std::bit_cast<double>(r.u64()));
    default:
        r.fail();
        return {};
    }
}

} // namespace

Bytes KeyedArchive::archive(const std::vector<ArchiveRecord>& records) {
    Writer w;
    w.out.insert(w.out.end(), std::begin(kMagic), std::end(kMagic));
    w.u8(kVersion);
    w.u32(uint32_t(records.size()));
    for (auto& record : records) {
        w.str(record.className_);
        size_t countAt = w.out.size();
        w.u32(0);
        uint32_t count = 0;
        for (auto& [key, value] : record.fields_.dictValue()) {
            size_t before = w.out.size();
            writeField(w, key, value);
            if (w.out.size() != before) ++count;
        }
        for (int i = 0; i < 4; ++i)
            w.out[countAt + size_t(i)] = uint8_t(count >> (24 - 8 * i));
    }
    w.u32(crc32(w.out.data(), w.out.size()));
    return std::move(w.out);
}

std::optional<std::vector<ArchiveRecord>> KeyedArchive::unarchive(const Bytes& data) {
    constexpr size_t kHeader = sizeof kMagic + 1 + 4;
    if (data.size() < kHeader + 4) return std::nullopt;
    size_t body = data.size() - 4;
    uint32_t stored = uint32_t(data[body]) << 24 | uint32_t(data[body + 1]) << 16 | uint32_t(data[body + 2]) << 8 |
                      uint32_t(data[body + 3]);
    if (crc32(data.data(), body) != stored) {
        log("KeyedArchive: checksum mismatch; archive ignored");
        return std::nullopt;
    }
    Reader r(data.data(), body);
    for (uint8_t m : kMagic)
        if (r.u8() != m) return std::nullopt;
    if (r.u8() != kVersion) return std::nullopt;
    uint32_t recordCount = r.u32();
    std::vector<ArchiveRecord> records;
    for (uint32_t i = 0; i < recordCount && r.ok(); ++i) {
        ArchiveRecord record(r.str());
        uint32_t fieldCount = r.u32();
        for (uint32_t f = 0; f < fieldCount && r.ok(); ++f) {
            std::string key = r.str();
            uint8_t tag = r.u8();
            Value value = readFieldValue(r, tag);
            if (r.ok()) record.fields_.set(key, std::move(value));
        }
        if (r.ok()) records.push_back(std::move(record));
    }
    if (!r.ok() || !r.atEnd()) {
        log("KeyedArchive: malformed archive ignored");
        return std::nullopt;
    }
    return records;
}

} // namespace platform
