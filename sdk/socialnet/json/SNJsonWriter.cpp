#include "sdk/socialnet/json/SNJsonWriter.h"

#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"

#include <algorithm>
#include <cstdio>

namespace socialnet {

std::optional<std::string> SNJsonWriter::stringWithObject(const SNValue& value) {
    clearErrorTrace();
    if (value.isDictionary() || value.isArray()) return stringWithFragment(value);
    if (value.kind() == SNValue::Kind::Object) {
        if (auto proxy = value.object()->proxyForJson())
            if (auto text = stringWithObject(*proxy)) return text;
    }
    clearErrorTrace();
    addErrorWithCode(kFragment, "Not valid type for JSON");
    return std::nullopt;
}

std::optional<std::string> SNJsonWriter::stringWithFragment(const SNValue& value) {
    clearErrorTrace();
    depth_ = 0;
    std::string json;
    json.reserve(128);
    if (!appendValue(value, json)) return std::nullopt;
    return json;
}

bool SNJsonWriter::appendValue(const SNValue& value, std::string& json) {
    switch (value.kind()) {
    case SNValue::Kind::Dictionary:
        return appendDictionary(value, json);
    case SNValue::Kind::Array:
        return appendArray(value, json);
    case SNValue::Kind::String:
        appendString(value.string(), json);
        return true;
    case SNValue::Kind::Bool:
        json += value.boolValue() ? "true" : "false";
        return true;
    case SNValue::Kind::Number:
        // Not-a-number and the infinities have no JSON text; writing "nan" would
        // make text that no reader takes back.
        if (value.number()->isFinite()) {
            json += value.number()->text();
            return true;
        }
        break;
    case SNValue::Kind::Null:
        json += "null";
        return true;
    case SNValue::Kind::Object:
        if (auto proxy = value.object()->proxyForJson()) return appendValue(*proxy, json);
        break;
    default:
        break;
    }
    addErrorWithCode(kUnsupported, "JSON serialisation not supported for " + value.className());
    return false;
}

void SNJsonWriter::appendIndent(std::string& json) const {
    json += '\n';
    json.append(size_t(2) * depth_, ' ');
}

bool SNJsonWriter::appendArray(const SNValue& value, std::string& json) {
    if (!enterContainer()) return false;
    json += '[';
    auto elements = value.array()->allObjects();
    bool addComma = false;
    for (auto& element : elements) {
        if (addComma) json += ',';
        addComma = true;
        if (humanReadable_) appendIndent(json);
        if (!appendValue(element, json)) return false;
    }
    leaveContainer();
    if (humanReadable_ && !elements.empty()) appendIndent(json);
    json += ']';
    return true;
}

bool SNJsonWriter::appendDictionary(const SNValue& value, std::string& json) {
    if (!enterContainer()) return false;
    json += '{';
    const char* colon = humanReadable_ ? " : " : ":";
    auto& dictionary = value.dictionary();
    auto keys = dictionary->keys();
    if (sortKeys_) {
        std::stable_sort(keys.begin(), keys.end(),
                         [](const SNValue& a, const SNValue& b) { return a.description() < b.description(); });
    }
    bool addComma = false;
    for (auto& key : keys) {
        if (addComma) json += ',';
        addComma = true;
        if (humanReadable_) appendIndent(json);
        if (!key.isString()) {
            addErrorWithCode(kUnsupported, "JSON object key must be string");
            return false;
        }
        appendString(key.string(), json);
        json += colon;
        if (!appendValue(dictionary->objectForKey(key), json)) {
            addErrorWithCode(kUnsupported, "Unsupported value for key " + key.string() + " in object");
            return false;
        }
    }
    leaveContainer();
    if (humanReadable_ && !keys.empty()) appendIndent(json);
    json += '}';
    return true;
}

void SNJsonWriter::appendString(const std::string& text, std::string& json) {
    json += '"';
    bool plain = std::none_of(text.begin(), text.end(),
                              [](char ch) { return ch == '"' || ch == '\\' || static_cast<unsigned char>(ch) < 0x20; });
    if (plain) {
        json += text;
    } else {
        for (char ch : text) {
            switch (ch) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\b':
                json += "\\b";
                break;
            case '\t':
                json += "\\t";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\f':
                json += "\\f";
                break;
            case '\r':
                json += "\\r";
                break;
            default:
                if (static_cast<unsigned char>(ch) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(static_cast<unsigned char>(ch)));
                    json += escape;
                } else {
                    json += ch;
                }
            }
        }
    }
    json += '"';
}

} // namespace socialnet
