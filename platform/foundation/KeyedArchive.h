#pragma once

#include "platform/foundation/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

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

// Turns a list of records into bytes and back. The bytes carry a checksum: a
// truncated or altered archive decodes to nullopt, never to half a list.
class KeyedArchive {
public:
    static Bytes archive(const std::vector<ArchiveRecord>& records);
    static std::optional<std::vector<ArchiveRecord>> unarchive(const Bytes& data);
};

} // namespace platform
