#include "platform/foundation/Json.h"

#include "platform/foundation/Base64.h"
#include "platform/runtime/Log.h"

#include <nlohmann/json.hpp>

namespace platform {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kMaxDepth = 256;

// nlohmann reads nesting with its own stack but frees it recursively, so depth is
// checked on the raw text before it builds anything.
bool nestsTooDeep(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

Value fromJson(const Json& json) {
    switch (json.type()) {
    case Json::value_t::boolean:
        return Value(json.get<bool>());
    case Json::value_t::number_integer:
        return Value(json.get<int64_t>());
    case Json::value_t::number_unsigned: {
        uint64_t v = json.get<uint64_t>();
        if (v <= uint64_t(INT64_MAX)) return Value(int64_t(v));
        return Value(double(v));
    }
    case Json::value_t::number_float:
        return Value(json.get<double>());
    case Json::value_t::string:
        return Value(json.get<std::string>());
    case Json::value_t::array: {
        Value array = Value::emptyArray();
        for (auto& item : json)
            array.append(fromJson(item));
        return array;
    }
    case Json::value_t::object: {
        Value dict = Value::emptyDictionary();
        for (auto& [key, item] : json.items())
            dict.set(key, fromJson(item));
        return dict;
    }
    case Json::value_t::binary: {
        auto& bin = json.get_binary();
        return Value(Bytes(bin.begin(), bin.end()));
    }
    default:
        return Value();
    }
}

Json toJsonValue(const Value& value) {
    switch (value.type()) {
    case ValueType::Null:
        return nullptr;
    case ValueType::Bool:
        return value.boolValue();
    case ValueType::Integer:
        return value.int64Value();
    case ValueType::Real:
        return value.doubleValue();
    case ValueType::String:
        return value.stringValue();
    case ValueType::Data:
        return base64Encode(value.dataValue());
    case ValueType::Date:
        return value.dateValue();
    case ValueType::Array: {
        Json array = Json::array();
        for (auto& item : value.arrayValue())
            array.push_back(toJsonValue(item));
        return array;
    }
    case ValueType::Dictionary: {
        Json object = Json::object();
        for (auto& [key, item] : value.dictValue())
            object[key] = toJsonValue(item);
        return object;
    }
    }
    return nullptr;
}

} // namespace

std::optional<Value> parseJson(std::string_view text) {
    if (nestsTooDeep(text)) {
        log("parseJson: nesting too deep");
        return std::nullopt;
    }
    Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded()) {
        log("parseJson: not valid JSON");
        return std::nullopt;
    }
    return fromJson(json);
}

std::string toJson(const Value& value, bool pretty) {
    return toJsonValue(value).dump(pretty ? 4 : -1, ' ', false, Json::error_handler_t::replace);
}

} // namespace platform
