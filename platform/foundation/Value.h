#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

using Bytes = std::vector<uint8_t>;

// Bytes that hold text (Base64 characters, say) seen as text.
inline std::string_view asText(const Bytes& chars) {
    return {reinterpret_cast<const char*>(chars.data()), chars.size()};
}

enum class ValueType { Null, Bool, Integer, Real, String, Data, Date, Array, Dictionary };

// One loosely typed value: the shape of property lists, JSON documents, user
// defaults and archived records. Getters never throw: asking for the wrong kind
// converts where a sensible conversion exists and gives zero or empty otherwise.
// Dictionaries keep their keys in insertion order.
class Value {
public:
    using Array = std::vector<Value>;
    using Entry = std::pair<std::string, Value>;
    using Dictionary = std::vector<Entry>;

    Value() = default;
    Value(bool v) : data_(v) {}
    Value(int v) : data_(int64_t(v)) {}
    Value(unsigned v) : data_(int64_t(v)) {}
    Value(long v) : data_(int64_t(v)) {}
    Value(unsigned long v) : data_(int64_t(v)) {}
    Value(long long v) : data_(int64_t(v)) {}
    Value(unsigned long long v) : data_(int64_t(v)) {}
    Value(double v) : data_(v) {}
    Value(const char* v) : data_(std::string(v ? v : "")) {}
    Value(std::string v) : data_(std::move(v)) {}
    Value(std::string_view v) : data_(std::string(v)) {}
    Value(Bytes v) : data_(std::move(v)) {}
    Value(Array v) : data_(std::move(v)) {}
    Value(Dictionary v) : data_(std::move(v)) {}
    // Other pointers would otherwise quietly become booleans.
    Value(const void*) = delete;

    // A date is seconds since 1970-01-01 00:00:00 UTC.
    static Value date(double secondsSince1970);
    // Data kept as its Base64 text (the characters' bytes), which must be valid (see
    // isBase64), and decoded the first time the bytes are asked for. Copies share the text
    // and the decoded bytes: a large stored value costs nothing until it is read. Decoded
    // where it lies, once a reader of readBase64Text gave the text back.
    static Value lazyData(Bytes base64);
    // Data whose copies share the bytes: a large value copied into a snapshot costs nothing.
    static Value sharedData(Bytes bytes);
    // Data made by `make` (a data value, which the maker may keep: its bytes are shared,
    // not copied) the first time the bytes or their size are asked for, on whichever
    // thread asks first: a large value can be handed to a writer thread to make there.
    // `make` must be safe to run on any thread, and may run again for a value of unmade().
    static Value deferredData(std::function<Value()> make);
    // True for data made by deferredData and not made yet.
    bool isDeferredData() const;
    // For data of deferredData already made: a value of the same maker that makes the
    // bytes again when asked, so the bytes made go with the last copy that holds them (a
    // large value written to a file need not stay in memory as well). Else a copy.
    Value unmade() const;
    // True for data made by deferredData once made.
    bool isMadeData() const;
    // True when both are copies of one shared data value (lazy, shared or deferred).
    bool sharesDataWith(const Value& other) const;
    // Hands `read` the Base64 text of data made by lazyData and not decoded yet, and gives
    // it back once `read` returns; false (and `read` not run) when there is none. A writer
    // can put the text out as it stands instead of encoding the bytes again. A decode on
    // another thread waits until `read` returns, so `read` must be short and must not ask
    // for this value's bytes.
    bool readBase64Text(const std::function<void(std::string_view)>& read) const;
    // The tests' hook: called on a decoding thread when its decode finds the Base64 text
    // held by a reader of readBase64Text and begins to wait for it, with that value's lock
    // held (the hook must not touch the value). Null but in tests.
    static void setDecodeWaitsTestHook(std::function<void()> hook);
    static Value emptyArray() { return Value(Array{}); }
    static Value emptyDictionary() { return Value(Dictionary{}); }

    ValueType type() const;
    bool isNull() const { return type() == ValueType::Null; }
    bool isNumber() const;
    bool isString() const { return type() == ValueType::String; }
    bool isArray() const { return type() == ValueType::Array; }
    bool isDictionary() const { return type() == ValueType::Dictionary; }

    // Numbers convert by truncation (saturating for reals out of range). Text
    // converts like the classic intValue: leading blanks, an optional sign and
    // digits up to the first non-digit; no digits gives 0; overflow saturates.
    int intValue() const;
    int64_t int64Value() const;
    double doubleValue() const;
    // Numbers: non-zero. Text: after blanks, a sign and zeros, starts with Y, y, T, t or 1-9.
    bool boolValue() const;
    // Text as is; numbers as plain decimal text ("12", "1.5", "-3"); booleans
    // "1" or "0"; dates as ISO-8601 UTC; anything else empty.
    std::string stringValue() const;
    // Seconds since 1970 for dates and numbers, 0 otherwise.
    double dateValue() const;
    // The following return a shared empty value for other kinds.
    const Bytes& dataValue() const;
    const Array& arrayValue() const;
    const Dictionary& dictValue() const;

    // Dictionary access. A missing key, or a value that is not a dictionary,
    // gives a null value.
    const Value& operator[](std::string_view key) const { return get(key); }
    const Value& get(std::string_view key) const;
    bool contains(std::string_view key) const;
    // Replaces the value in place (keeping its position) or appends the key. A
    // value that is not a dictionary becomes an empty dictionary first.
    void set(std::string_view key, Value value);
    void remove(std::string_view key);
    std::vector<std::string> keys() const;

    // Array access; out of range gives a null value.
    const Value& at(size_t index) const;
    // A value that is not an array becomes an empty array first.
    void append(Value value);
    // Elements of an array, entries of a dictionary, bytes of data, 0 otherwise.
    size_t size() const;

    bool operator==(const Value& other) const;

private:
    struct DateBox {
        double seconds = 0;
        bool operator==(const DateBox&) const = default;
    };
    explicit Value(DateBox d) : data_(d) {}
    struct LazyBytes;
    struct LazyBox {
        std::shared_ptr<const LazyBytes> bytes;
        bool operator==(const LazyBox& other) const;
    };
    explicit Value(LazyBox d) : data_(std::move(d)) {}

    std::variant<std::monostate, bool, int64_t, double, std::string, Bytes, DateBox, Array, Dictionary, LazyBox> data_;
};

// Whole-number text conversions shared with the formatters: the classic rules
// described at Value::intValue.
int64_t parseLeadingInteger(std::string_view text);
double parseLeadingReal(std::string_view text);
// Shortest text that reads back as the same double ("1.5", "2", "1e+20").
std::string formatReal(double value);

} // namespace platform
