#pragma once

#include "platform/foundation/Value.h"

#include <string>
#include <string_view>

namespace platform {

// XML property lists: dict, array, string, integer, real, true, false, data
// (Base64) and date (ISO-8601 UTC). Null values cannot be written: they are left
// out of dictionaries and arrays, and a null top-level value writes an empty plist.
class PropertyList {
public:
    // A missing, unreadable or malformed file or text gives a null value (and a
    // log line, except for a missing file, which is normal before the first save).
    static Value readFile(const std::string& path);
    static Value parse(std::string_view xml);

    static std::string toXml(const Value& value);
    // Written through writeFileAtomically a piece at a time: the text is never whole in memory.
    static bool writeFile(const std::string& path, const Value& value);
};

} // namespace platform
