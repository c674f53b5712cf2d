#include "platform/foundation/Value.h"

#include "platform/foundation/Base64.h"
#include "platform/foundation/DateFormat.h"

#include <charconv>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>

namespace platform {

namespace {

const Value& nullValue() {
    static const Value* v = new Value();
    return *v;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

template <typename Int> Int clampReal(double v) {
    if (std::isnan(v)) return 0;
    // The bounds are compared as doubles; the upper bound of int64 is not exact in
    // a double, so anything at or past 2^63 saturates.
    constexpr double lo = double(std::numeric_limits<Int>::min());
    constexpr double hi = double(std::numeric_limits<Int>::max());
    if (v <= lo) return std::numeric_limits<Int>::min();
    if (v >= hi) return std::numeric_limits<Int>::max();
    return Int(v);
}

std::mutex decodeHookMutex;
std::function<void()> decodeWaitsHook;

// Calls the tests' hook, if any.
void reachDecodeWaits() {
    std::function<void()> hook;
    {
        std::lock_guard lock(decodeHookMutex);
        hook = decodeWaitsHook;
    }
    if (hook) hook();
}

} // namespace

void Value::setDecodeWaitsTestHook(std::function<void()> hook) {
    std::lock_guard lock(decodeHookMutex);
    decodeWaitsHook = std::move(hook);
}

int64_t parseLeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as a negative number so that INT64_MIN is reachable.
    int64_t result = 0;
    constexpr int64_t min = std::numeric_limits<int64_t>::min();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (result < (min + digit) / 10) {
            result = min;
            for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            }
            break;
        }
        result = result * 10 - digit;
    }
    if (negative) return result;
    if (result == min) return std::numeric_limits<int64_t>::max();
    return -result;
}

double parseLeadingReal(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // from_chars takes no sign and no hex prefix; it reads the longest valid prefix.
    double value = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    if (i < text.size() && text[i] != '-' && text[i] != '+') {
        auto result = std::from_chars(first, last, value, std::chars_format::general);
        if (result.ec == std::errc::result_out_of_range) {
            // Too large or too small for a double: infinity or zero by the exponent's sign.
            std::string_view number(first, size_t(result.ptr - first));
            bool tiny = number.find("e-") != std::string_view::npos || number.find("E-") != std::string_view::npos;
            value = tiny ? 0 : std::numeric_limits<double>::infinity();
        } else if (result.ec != std::errc()) {
            value = 0;
        }
    }
    return negative ? -value : value;
}

std::string formatReal(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

Value Value::date(double secondsSince1970) {
    return Value(DateBox{secondsSince1970});
}

// Data shared by the copies of a value: Base64 text decoded when the bytes are first
// asked for (the text then goes), data made then, or bytes from the start. The maker of
// made data stays, so that a value without the bytes can be had again (Value::unmade).
struct Value::LazyBytes {
    using Maker = std::shared_ptr<const std::function<Value()>>;
    struct Base64 {
        Bytes chars;
    };
    explicit LazyBytes(Base64 base64)
        : knownSize(base64DecodedSize(asText(base64.chars))), text(std::move(base64.chars)) {}
    explicit LazyBytes(Bytes ready) : knownSize(ready.size()), bytes(std::move(ready)), isDecoded(true) {}
    explicit LazyBytes(Maker maker) : make(std::move(maker)) {}
    const Bytes& decoded() const {
        std::unique_lock lock(mutex);
        // A writer reads the text a slice at a time and gives it back under this lock: once
        // the slice it reads is out (a short write), its reads happened before, and the
        // text's megabytes become the bytes, with no second buffer beside them. The writer
        // encodes the rest from the bytes.
        if (textReaders > 0) {
            reachDecodeWaits();
            givenBack.wait(lock, [this] { return textReaders == 0; });
        }
        // Decoded once: a decoder that waited beside another finds the bytes made, and a
        // reference handed out before stays valid.
        if (!isDecoded) {
            if (make) {
                made = (*make)();
            } else {
                Bytes own = std::move(text);
                text = Bytes();
                if (base64DecodeInPlace(own)) bytes = std::move(own);
            }
            isDecoded = true;
        }
        return made.type() == ValueType::Data ? made.dataValue() : bytes;
    }
    // Reads the text without the lock (a writer putting it out must not hold up the other
    // slices' decodes or reads), then gives it back under the lock the decoder takes.
    bool readText(const std::function<void(std::string_view)>& read) const {
        std::unique_lock lock(mutex);
        if (isDecoded || make) return false;
        ++textReaders;
        lock.unlock();
        struct GiveBack {
            const LazyBytes& lazy;
            std::unique_lock<std::mutex>& lock;
            ~GiveBack() {
                lock.lock();
                if (--lazy.textReaders == 0) lazy.givenBack.notify_all();
            }
        } giveBack{*this, lock};
        read(asText(text));
        return true;
    }
    size_t size() const { return knownSize ? *knownSize : decoded().size(); }
    bool isDeferred() const {
        std::lock_guard lock(mutex);
        return !isDecoded && make;
    }
    bool isMade() const {
        std::lock_guard lock(mutex);
        return isDecoded && make;
    }
    const std::optional<size_t> knownSize;
    mutable std::mutex mutex;
    // Until decoded; read by readText's readers, reused by the decode once they are done.
    mutable Bytes text;
    // Readers of the text between readText's taking and giving back (under the lock).
    mutable int textReaders = 0;
    mutable std::condition_variable givenBack;
    const Maker make;
    mutable Value made;
    mutable Bytes bytes;
    mutable bool isDecoded = false;
};

bool Value::LazyBox::operator==(const LazyBox& other) const {
    return bytes == other.bytes || bytes->decoded() == other.bytes->decoded();
}

Value Value::lazyData(Bytes base64) {
    return Value(LazyBox{std::make_shared<const LazyBytes>(LazyBytes::Base64{std::move(base64)})});
}

Value Value::sharedData(Bytes bytes) {
    return Value(LazyBox{std::make_shared<const LazyBytes>(std::move(bytes))});
}

Value Value::deferredData(std::function<Value()> make) {
    return Value(
        LazyBox{std::make_shared<const LazyBytes>(std::make_shared<const std::function<Value()>>(std::move(make)))});
}

bool Value::isMadeData() const {
    auto lazy = std::get_if<LazyBox>(&data_);
    return lazy && lazy->bytes->isMade();
}

Value Value::unmade() const {
    auto lazy = std::get_if<LazyBox>(&data_);
    if (!lazy || !lazy->bytes->isMade()) return *this;
    return Value(LazyBox{std::make_shared<const LazyBytes>(lazy->bytes->make)});
}

bool Value::sharesDataWith(const Value& other) const {
    auto mine = std::get_if<LazyBox>(&data_);
    auto theirs = std::get_if<LazyBox>(&other.data_);
    return mine && theirs && mine->bytes == theirs->bytes;
}

bool Value::isDeferredData() const {
    auto lazy = std::get_if<LazyBox>(&data_);
    return lazy && lazy->bytes->isDeferred();
}

bool Value::readBase64Text(const std::function<void(std::string_view)>& read) const {
    auto lazy = std::get_if<LazyBox>(&data_);
    return lazy && lazy->bytes->readText(read);
}

ValueType Value::type() const {
    switch (data_.index()) {
    case 1:
        return ValueType::Bool;
    case 2:
        return ValueType::Integer;
    case 3:
        return ValueType::Real;
    case 4:
        return ValueType::String;
    case 5:
        return ValueType::Data;
    case 6:
        return ValueType::Date;
    case 7:
        return ValueType::Array;
    case 8:
        return ValueType::Dictionary;
    case 9:
        return ValueType::Data;
    default:
        return ValueType::Null;
    }
}

bool Value::isNumber() const {
    auto t = type();
    return t == ValueType::Bool || t == ValueType::Integer || t == ValueType::Real;
}

int Value::intValue() const {
    switch (type()) {
    case ValueType::Integer:
        return int(std::get<int64_t>(data_)); // wraps like a 32-bit cast
    case ValueType::Real:
        return clampReal<int>(std::get<double>(data_));
    case ValueType::String: {
        int64_t v = parseLeadingInteger(std::get<std::string>(data_));
        if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
        if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
        return int(v);
    }
    case ValueType::Bool:
        return std::get<bool>(data_) ? 1 : 0;
    case ValueType::Date:
        return clampReal<int>(std::get<DateBox>(data_).seconds);
    default:
        return 0;
    }
}

int64_t Value::int64Value() const {
    switch (type()) {
    case ValueType::Integer:
        return std::get<int64_t>(data_);
    case ValueType::Real:
        return clampReal<int64_t>(std::get<double>(data_));
    case ValueType::String:
        return parseLeadingInteger(std::get<std::string>(data_));
    case ValueType::Bool:
        return std::get<bool>(data_) ? 1 : 0;
    case ValueType::Date:
        return clampReal<int64_t>(std::get<DateBox>(data_).seconds);
    default:
        return 0;
    }
}

double Value::doubleValue() const {
    switch (type()) {
    case ValueType::Integer:
        return double(std::get<int64_t>(data_));
    case ValueType::Real:
        return std::get<double>(data_);
    case ValueType::String:
        return parseLeadingReal(std::get<std::string>(data_));
    case ValueType::Bool:
        return std::get<bool>(data_) ? 1 : 0;
    case ValueType::Date:
        return std::get<DateBox>(data_).seconds;
    default:
        return 0;
    }
}

bool Value::boolValue() const {
    switch (type()) {
    case ValueType::Bool:
        return std::get<bool>(data_);
    case ValueType::Integer:
        return std::get<int64_t>(data_) != 0;
    case ValueType::Real:
        return std::get<double>(data_) != 0;
    case ValueType::String: {
        const std::string& s = std::get<std::string>(data_);
        size_t i = 0;
        while (i < s.size() && isBlank(s[i]))
            ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        while (i < s.size() && s[i] == '0')
            ++i;
        if (i >= s.size()) return false;
        char c = s[i];
        return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
    }
    default:
        return false;
    }
}

std::string Value::stringValue() const {
    switch (type()) {
    case ValueType::String:
        return std::get<std::string>(data_);
    case ValueType::Integer:
        return std::to_string(std::get<int64_t>(data_));
    case ValueType::Real:
        return formatReal(std::get<double>(data_));
    case ValueType::Bool:
        return std::get<bool>(data_) ? "1" : "0";
    case ValueType::Date:
        return formatIso8601(std::get<DateBox>(data_).seconds);
    default:
        return {};
    }
}

double Value::dateValue() const {
    switch (type()) {
    case ValueType::Date:
        return std::get<DateBox>(data_).seconds;
    case ValueType::Integer:
        return double(std::get<int64_t>(data_));
    case ValueType::Real:
        return std::get<double>(data_);
    default:
        return 0;
    }
}

const Bytes& Value::dataValue() const {
    static const Bytes* empty = new Bytes();
    if (auto p = std::get_if<Bytes>(&data_)) return *p;
    if (auto lazy = std::get_if<LazyBox>(&data_)) return lazy->bytes->decoded();
    return *empty;
}

const Value::Array& Value::arrayValue() const {
    static const Array* empty = new Array();
    if (auto p = std::get_if<Array>(&data_)) return *p;
    return *empty;
}

const Value::Dictionary& Value::dictValue() const {
    static const Dictionary* empty = new Dictionary();
    if (auto p = std::get_if<Dictionary>(&data_)) return *p;
    return *empty;
}

const Value& Value::get(std::string_view key) const {
    if (auto dict = std::get_if<Dictionary>(&data_)) {
        for (auto& entry : *dict)
            if (entry.first == key) return entry.second;
    }
    return nullValue();
}

bool Value::contains(std::string_view key) const {
    if (auto dict = std::get_if<Dictionary>(&data_)) {
        for (auto& entry : *dict)
            if (entry.first == key) return true;
    }
    return false;
}

void Value::set(std::string_view key, Value value) {
    if (!isDictionary()) data_ = Dictionary{};
    auto& dict = std::get<Dictionary>(data_);
    for (auto& entry : dict) {
        if (entry.first == key) {
            entry.second = std::move(value);
            return;
        }
    }
    dict.emplace_back(std::string(key), std::move(value));
}

void Value::remove(std::string_view key) {
    auto dict = std::get_if<Dictionary>(&data_);
    if (!dict) return;
    for (auto it = dict->begin(); it != dict->end(); ++it) {
        if (it->first == key) {
            dict->erase(it);
            return;
        }
    }
}

std::vector<std::string> Value::keys() const {
    std::vector<std::string> result;
    for (auto& entry : dictValue())
        result.push_back(entry.first);
    return result;
}

const Value& Value::at(size_t index) const {
    auto& array = arrayValue();
    return index < array.size() ? array[index] : nullValue();
}

void Value::append(Value value) {
    if (!isArray()) data_ = Array{};
    std::get<Array>(data_).push_back(std::move(value));
}

size_t Value::size() const {
    switch (type()) {
    case ValueType::Array:
        return std::get<Array>(data_).size();
    case ValueType::Dictionary:
        return std::get<Dictionary>(data_).size();
    case ValueType::Data:
        if (auto lazy = std::get_if<LazyBox>(&data_)) return lazy->bytes->size();
        return std::get<Bytes>(data_).size();
    default:
        return 0;
    }
}

bool Value::operator==(const Value& other) const {
    // Data kept as text and data kept as bytes are equal when their bytes are.
    if (type() == ValueType::Data && other.type() == ValueType::Data && data_.index() != other.data_.index())
        return dataValue() == other.dataValue();
    return data_ == other.data_;
}

} // namespace platform
