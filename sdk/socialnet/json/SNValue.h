#pragma once

#include "sdk/socialnet/json/SNDecimal.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace socialnet {

class SNDictionary;
class SNArray;
class SNObject;
using SNDictionaryPtr = std::shared_ptr<SNDictionary>;
using SNArrayPtr = std::shared_ptr<SNArray>;
using SNObjectPtr = std::shared_ptr<SNObject>;
using SNBytes = std::vector<uint8_t>;

// One value of the library: what JSON holds (null, boolean, exact number, string,
// dictionary, array) plus what request parameters carry (dates, raw data, and
// objects of other kinds such as images). Dictionaries and arrays are held by
// reference: copying an SNValue shares the container, so a change made through one
// copy (a graph object storing its wrapper back into its parent) is seen by all.
class SNValue {
public:
    enum class Kind { Null, Bool, Number, String, Dictionary, Array, Date, Data, Object };

    SNValue() = default;
    SNValue(bool v) : data_(v) {}
    SNValue(int v) : data_(SNDecimal::fromInt64(v)) {}
    SNValue(int64_t v) : data_(SNDecimal::fromInt64(v)) {}
    SNValue(double v) : data_(SNDecimal::fromDouble(v)) {}
    SNValue(SNDecimal v) : data_(std::move(v)) {}
    SNValue(const char* v) : data_(std::string(v ? v : "")) {}
    SNValue(std::string v) : data_(std::move(v)) {}
    SNValue(std::string_view v) : data_(std::string(v)) {}
    SNValue(SNDictionaryPtr v);
    SNValue(SNArrayPtr v);
    SNValue(SNObjectPtr v);
    // Other pointers would otherwise quietly become booleans.
    SNValue(const void*) = delete;

    // Seconds since 1970-01-01 00:00:00 UTC.
    static SNValue date(double secondsSince1970);
    static SNValue data(SNBytes bytes);

    Kind kind() const;
    bool isNull() const { return kind() == Kind::Null; }
    bool isBool() const { return kind() == Kind::Bool; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isString() const { return kind() == Kind::String; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDate() const { return kind() == Kind::Date; }

    // Each gives false, zero, empty or nullptr for a value of another kind.
    bool boolValue() const;
    const SNDecimal* number() const;
    const std::string& string() const;
    const SNDictionaryPtr& dictionary() const;
    const SNArrayPtr& array() const;
    double dateValue() const;
    const SNBytes& bytes() const;
    const SNObjectPtr& object() const;

    // A text for log lines and ids: strings as they are, numbers as decimal text,
    // booleans "1" or "0", null "<null>", containers in braces and brackets.
    std::string description() const;
    // The kind's name, for "not supported" messages.
    std::string className() const;

    // Deep comparison; dictionaries compare as sets of entries, objects by identity.
    bool operator==(const SNValue& other) const;
    // The same container or object (not a deep comparison).
    bool isIdenticalTo(const SNValue& other) const;

private:
    struct DateBox {
        double seconds = 0;
    };
    struct DataBox {
        SNBytes bytes;
    };
    std::variant<std::monostate, bool, SNDecimal, std::string, SNDictionaryPtr, SNArrayPtr, DateBox, DataBox,
                 SNObjectPtr>
        data_;
};

// A value of a kind JSON cannot hold (an image, ...). It may still offer a stand-in
// for JSON, as a date might give its text.
class SNObject {
public:
    virtual ~SNObject() = default;
    virtual std::string className() const = 0;
    virtual std::string description() const { return "<" + className() + ">"; }
    virtual std::optional<SNValue> proxyForJson() const { return std::nullopt; }
};

} // namespace socialnet
