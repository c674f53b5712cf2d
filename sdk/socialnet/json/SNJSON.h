#pragma once

#include "sdk/socialnet/json/SNJsonBase.h"
#include "sdk/socialnet/json/SNJsonParser.h"
#include "sdk/socialnet/json/SNJsonWriter.h"

#include <optional>
#include <string>
#include <string_view>

namespace socialnet {

// Reading and writing behind one object, as the request layer uses them. After a
// failure the facade's own trace holds a copy of the inner one, and an error
// out-argument receives its outermost error.
class SNJSON : public SNJsonBase {
public:
    SNJSON();

    std::optional<std::string> stringWithObject(const SNValue& value);
    std::optional<SNValue> objectWithString(std::optional<std::string_view> text);

    std::optional<std::string> stringWithObject(const SNValue& value, bool allowScalar, SNErrorPtr* error);
    std::optional<SNValue> objectWithString(std::optional<std::string_view> text, bool allowScalar, SNErrorPtr* error);
    std::optional<std::string> stringWithObject(const SNValue& value, SNErrorPtr* error) {
        return stringWithObject(value, false, error);
    }
    std::optional<std::string> stringWithFragment(const SNValue& value, SNErrorPtr* error) {
        return stringWithObject(value, true, error);
    }
    std::optional<SNValue> objectWithString(std::optional<std::string_view> text, SNErrorPtr* error) {
        return objectWithString(text, false, error);
    }
    std::optional<SNValue> fragmentWithString(std::optional<std::string_view> text, SNErrorPtr* error) {
        return objectWithString(text, true, error);
    }

    // The parser's limit; setting it sets the writer's too.
    uint32_t maxDepth() const { return jsonParser_.maxDepth(); }
    void setMaxDepth(uint32_t maxDepth);
    bool humanReadable() const { return jsonWriter_.humanReadable(); }
    void setHumanReadable(bool on) { jsonWriter_.setHumanReadable(on); }
    bool sortKeys() const { return jsonWriter_.sortKeys(); }
    void setSortKeys(bool on) { jsonWriter_.setSortKeys(on); }

private:
    void takeTrace(const SNJsonBase& from, SNErrorPtr* error);

    SNJsonParser jsonParser_;
    SNJsonWriter jsonWriter_;
};

} // namespace socialnet
