#pragma once

#include "sdk/socialnet/json/SNJsonBase.h"
#include "sdk/socialnet/json/SNValue.h"

#include <optional>
#include <string>

namespace socialnet {

// Writes values as JSON text. Strings are escaped only where JSON needs it ("/" and
// non-ASCII text are written as they are). The human-readable form indents by two
// blanks per level and separates keys with " : ". A value JSON cannot hold (or a
// number that is not finite) fails with the reason in errorTrace().
class SNJsonWriter : public SNJsonBase {
public:
    // A dictionary or an array, or a value whose JSON stand-in is one.
    std::optional<std::string> stringWithObject(const SNValue& value);
    // A value of any kind.
    std::optional<std::string> stringWithFragment(const SNValue& value);

    bool humanReadable() const { return humanReadable_; }
    void setHumanReadable(bool on) { humanReadable_ = on; }
    bool sortKeys() const { return sortKeys_; }
    void setSortKeys(bool on) { sortKeys_ = on; }

private:
    bool appendValue(const SNValue& value, std::string& json);
    bool appendArray(const SNValue& value, std::string& json);
    bool appendDictionary(const SNValue& value, std::string& json);
    void appendString(const std::string& text, std::string& json);
    void appendIndent(std::string& json) const;

    bool humanReadable_ = false;
    bool sortKeys_ = false;
};

} // namespace socialnet
