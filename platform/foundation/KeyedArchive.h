#pragma once

#include "platform/foundation/Value.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The CRC-32 of the bytes (the common reflected 0xEDB88320 polynomial) that closes every
// archive.
uint32_t crc32Checksum(const uint8_t* data, size_t size);

// One archived object: the name of its class and its fields by key. A record
// encodes itself field by field and is decoded the same way; decoding a key that
// is absent gives zero or empty.
class ArchiveRecord {
public:
    ArchiveRecord() = default;
    explicit ArchiveRecord(std::string className) : className_(std::move(className)) {}

    const std::string& className() const { return className_; }

    void encodeInt(int32_t value, std::string_view key) { fields_.set(key, Value(value)); }
    void encodeInt64(int64_t value, std::string_view key) { fields_.set(key, Value(value)); }
    void encodeBool(bool value, std::string_view key) { fields_.set(key, Value(value)); }
    void encodeDouble(double value, std::string_view key) { fields_.set(key, Value(value)); }
    void encodeString(const std::string& value, std::string_view key) { fields_.set(key, Value(value)); }
    void encodeData(const Bytes& value, std::string_view key) { fields_.set(key, Value(value)); }
    void encodeDate(double secondsSince1970, std::string_view key) { fields_.set(key, Value::date(secondsSince1970)); }

    int32_t decodeInt(std::string_view key) const { return fields_.get(key).intValue(); }
    int64_t decodeInt64(std::string_view key) const { return fields_.get(key).int64Value(); }
    bool decodeBool(std::string_view key) const { return fields_.get(key).boolValue(); }
    double decodeDouble(std::string_view key) const { return fields_.get(key).doubleValue(); }
    std::string decodeString(std::string_view key) const { return fields_.get(key).stringValue(); }
    Bytes decodeData(std::string_view key) const { return fields_.get(key).dataValue(); }
    double decodeDate(std::string_view key) const { return fields_.get(key).dateValue(); }
    bool containsKey(std::string_view key) const { return fields_.contains(key); }

    // The fields in the order they were encoded (a dictionary).
    const Value& fields() const { return fields_; }

    bool operator==(const ArchiveRecord&) const = default;

private:
    friend class KeyedArchive;
    std::string className_;
    Value fields_ = Value::emptyDictionary();
};

// One record as read from archive bytes, without building values: keys and texts are
// views into the bytes, so it is only valid inside KeyedArchive::forEachRecord's
// callback. Lists of many small records (a mailbox of 100,000 mails) decode in one
// pass at little more than the size of the result.
class ArchiveRecordView {
public:
    std::string_view className() const { return className_; }
    int32_t decodeInt(std::string_view key) const { return int32_t(decodeInt64(key)); }
    int64_t decodeInt64(std::string_view key) const;
    bool decodeBool(std::string_view key) const;
    // A text or data field's bytes; empty for anything else.
    std::string_view decodeString(std::string_view key) const;

private:
    friend class KeyedArchive;
    struct Field {
        std::string_view key;
        uint8_t tag = 0;
        uint64_t number = 0;
        std::string_view bytes;
    };
    const Field* find(std::string_view key) const;
    std::string_view className_;
    std::vector<Field> fields_;
    // The field after the last one found: records are mostly decoded in their order.
    mutable size_t next_ = 0;
};

// Writes archive bytes record by record, so a long list is archived without building
// a record object per entry. Each record's fields follow its beginRecord().
class ArchiveEncoder {
public:
    // With `expectedSize`, room for that many bytes is made at once.
    explicit ArchiveEncoder(uint32_t recordCount, size_t expectedSize = 0);
    void beginRecord(std::string_view className);
    void encodeInt64(int64_t value, std::string_view key);
    void encodeBool(bool value, std::string_view key);
    void encodeString(std::string_view value, std::string_view key);
    // Adds a field of any archivable kind; false (and nothing written) for the others.
    bool encodeValue(const Value& value, std::string_view key);
    // The bytes with their checksum; the encoder is spent.
    Bytes finish();

private:
    void u8(uint8_t v) { out_.push_back(v); }
    void u32(uint32_t v);
    void u64(uint64_t v);
    void str(std::string_view s);
    void patchFieldCount();
    Bytes out_;
    size_t countAt_ = 0;
    uint32_t fieldCount_ = 0;
    bool inRecord_ = false;
};

// Turns a list of records into bytes and back. The bytes carry a checksum: a
// truncated or altered archive decodes to nullopt, never to half a list.
class KeyedArchive {
public:
    static Bytes archive(const std::vector<ArchiveRecord>& records);
    static std::optional<std::vector<ArchiveRecord>> unarchive(const Bytes& data);
    // Checks the checksum, then hands each record to `each` in order, for as long as `each`
    // returns true. False when the bytes are not a readable archive, or `each` stopped the
    // walk: `each` may have seen the records before then, and what it made of them is to be
    // dropped.
    static bool forEachRecord(const Bytes& data, const std::function<bool(const ArchiveRecordView&)>& each);
};

} // namespace platform
