#pragma once

// How the recording test doubles write a call down: one line of text a call, which a
// test compares with the lines it expects.
#include <cstdint>
#include <string>
#include <type_traits>

namespace kavo::test {

// One call written down as a line: its name, then each value after a blank (numbers,
// int8_t too, in digits; texts as they are).
template <typename... Values> std::string line(const std::string& name, const Values&... values) {
    std::string out = name;
    const auto add = [&out](const auto& value) {
        if constexpr (std::is_arithmetic_v<std::decay_t<decltype(value)>>)
            out += " " + std::to_string(int64_t(value));
        else
            out += " " + std::string(value);
    };
    (add(values), ...);
    return out;
}

// A text in single quotes, as the recorders write texts down.
inline std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

} // namespace kavo::test
