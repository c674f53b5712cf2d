#include "sdk/socialnet/json/SNJSON.h"

namespace socialnet {

SNJSON::SNJSON() {
    setMaxDepth(kDefaultMaxDepth);
}

void SNJSON::setMaxDepth(uint32_t maxDepth) {
    SNJsonBase::setMaxDepth(maxDepth);
    jsonParser_.setMaxDepth(maxDepth);
    jsonWriter_.setMaxDepth(maxDepth);
}

void SNJSON::takeTrace(const SNJsonBase& from, SNErrorPtr* error) {
    errorTrace_ = from.errorTrace();
    if (error && !errorTrace_.empty()) *error = errorTrace_.back();
}

std::optional<std::string> SNJSON::stringWithObject(const SNValue& value) {
    clearErrorTrace();
    auto text = jsonWriter_.stringWithObject(value);
    if (!text) takeTrace(jsonWriter_, nullptr);
    return text;
}

std::optional<SNValue> SNJSON::objectWithString(std::optional<std::string_view> text) {
    clearErrorTrace();
    auto value = jsonParser_.objectWithString(text);
    if (!value) takeTrace(jsonParser_, nullptr);
    return value;
}

std::optional<std::string> SNJSON::stringWithObject(const SNValue& value, bool allowScalar, SNErrorPtr* error) {
    clearErrorTrace();
    auto text = allowScalar ? jsonWriter_.stringWithFragment(value) : jsonWriter_.stringWithObject(value);
    if (!text) takeTrace(jsonWriter_, error);
    return text;
}

std::optional<SNValue> SNJSON::objectWithString(std::optional<std::string_view> text, bool allowScalar,
                                                SNErrorPtr* error) {
    clearErrorTrace();
    auto value = allowScalar ? jsonParser_.fragmentWithString(text) : jsonParser_.objectWithString(text);
    if (!value) takeTrace(jsonParser_, error);
    return value;
}

} // namespace socialnet
