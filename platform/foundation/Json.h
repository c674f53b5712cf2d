#pragma once

#include "platform/foundation/Value.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// JSON text to and from Value. Object keys keep their order. Whole numbers that
// fit int64 become integers, others reals. Data is written as Base64 text and
// dates as seconds since 1970; both read back as text and number.

// nullopt (and a log line) for text that is not JSON or nests deeper than 256 levels.
std::optional<Value> parseJson(std::string_view text);
// Compact unless `pretty` (indented by four spaces). Invalid UTF-8 in text is
// replaced by U+FFFD; reals that are not finite are written as null.
std::string toJson(const Value& value, bool pretty = false);

} // namespace platform
