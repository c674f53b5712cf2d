#pragma once

#include <string>
#include <string_view>

namespace kavo {

// The text of a language key in the table in force, "" when the key has none (a label
// then shows nothing). Any thread: a table is never changed once made.
std::string text(std::string_view key);

} // namespace kavo
