#pragma once

#include <cstddef>
#include <string>

namespace portalstub {

// What a person's name may hold, at registration and sign-in alike, and how much of a name
// from the wire the stub repeats.

// The longest name, in characters: as many as the client's name fields show at once (they
// set no limit of their own).
inline constexpr size_t kLongestName = 20;

// Whether a person can read `name` as a name: no control character (a tab, a bell, an
// escape, a carriage return, a NUL, U+0085, ...) and no line or paragraph separator
// (U+2028, U+2029), and no more than kLongestName characters.
bool readableName(const std::string& name);
// At most the first kLongestName characters of `name`, as a reply or the log repeats a
// name from the wire.
std::string shortenedName(const std::string& name);

} // namespace portalstub
