#pragma once

#include <cstddef>
#include <string>

namespace portalstub {

// What a person's name may hold, at registration and sign-in alike, and how much of a name
// from the wire the stub repeats.

// The longest name, in characters: as many as the client's name fields show at once (they
// set no limit of their own).
inline constexpr size_t kLongestName = 20;
// The most combining marks one letter carries in a name (Vietnamese puts two on a vowel).
inline constexpr size_t kMostMarks = 3;

// Every rule looks at a name in its one normal form (NFC): written with its marks apart or
// composed, a name is the same name and is judged alike.

// Whether a person can read `name` as the name it is: UTF-8 text of no more than
// kLongestName characters that holds no control character (a tab, a bell, an escape, a
// NUL, U+0085, ...), no line or paragraph separator (U+2028, U+2029), no format or
// invisible character (a zero-width space U+200B, a mark that turns the text around such
// as U+202E, U+200E, U+2066, U+061C, a byte-order mark U+FEFF, the Hangul filler U+3164),
// no character that is unassigned or of private use, no letter with more than kMostMarks
// combining marks, and that does not read as blank.
bool readableName(const std::string& name);
// Whether the only space `name` holds is the blank (U+0020), never at either end nor two
// in a row: a no-break space, an ideographic space or a blank too many shows as a blank
// does, and would make a second name that reads as the first.
bool plainlySpaced(const std::string& name);
// Whether `name` reads as blank: it holds nothing but white space (a blank, a tab,
// U+00A0, U+3000, ...) and invisible or combining characters.
bool readsAsBlank(const std::string& name);
// `name` in its one normal form (NFC: each letter and its marks composed where Unicode
// composes them), as accounts are kept and compared; text that is not UTF-8 as it is.
std::string normalName(const std::string& name);
// What `name` reads as: two names with one likeness are taken for each other. ICU's
// confusable skeleton ("lаn" with a Cyrillic a, "Ian" and "1an" read as "lan") of the
// name in its compatibility form (the fullwidth "ｌａｎ" is "lan"), without the
// characters that show nothing of their own (a variation selector). Letters keep their
// case and their marks: "Lan" and "Hải" are other names than "lan" and "Hai".
std::string likeness(const std::string& name);
// At most the first kLongestName characters of `name`, as a reply or the log repeats a
// name from the wire.
std::string shortenedName(const std::string& name);
// The refusal of what names a player no one is ("No player named <name>", the name
// shortened), in the player's language.
std::string noPlayerNamed(const std::string& name);

} // namespace portalstub
