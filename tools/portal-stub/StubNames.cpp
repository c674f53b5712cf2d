#include "tools/portal-stub/StubNames.h"

#include "tools/portal-stub/StubLanguage.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace portalstub {

namespace {

// The characters of `text` in turn (`each` answers false to stop); false when the bytes
// are not UTF-8 text.
template <class Each> bool forEachCharacter(const std::string& text, Each each) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = int32_t(text.size());
    for (int32_t at = 0; at < length;) {
        UChar32 character = 0;
        U8_NEXT(bytes, at, length, character);
        if (character < 0) return false;
        if (!each(character)) return true;
    }
    return true;
}

bool isMark(UChar32 character) {
    return (U_GET_GC_MASK(character) & U_GC_M_MASK) != 0;
}

// A character no one reads as part of a name: a control, a format character, a line or
// paragraph separator, one unassigned, of private use or a surrogate, or one the text
// shows as nothing (a default-ignorable one that is no combining mark: U+3164, U+FFA0;
// a variation selector is a mark on the letter before it).
bool unreadable(UChar32 character) {
    constexpr uint32_t kUnread =
        U_GC_CC_MASK | U_GC_CF_MASK | U_GC_ZL_MASK | U_GC_ZP_MASK | U_GC_CO_MASK | U_GC_CS_MASK | U_GC_CN_MASK;
    if (U_GET_GC_MASK(character) & kUnread) return true;
    return u_hasBinaryProperty(character, UCHAR_DEFAULT_IGNORABLE_CODE_POINT) && !isMark(character);
}

} // namespace

bool readableName(const std::string& name) {
    size_t characters = 0;
    size_t marks = 0;
    bool readable = true;
    const bool text = forEachCharacter(name, [&](UChar32 character) {
        marks = isMark(character) ? marks + 1 : 0;
        readable = ++characters <= kLongestName && marks <= kMostMarks && !unreadable(character);
        return readable;
    });
    return text && readable && !readsAsBlank(name);
}

bool readsAsBlank(const std::string& name) {
    bool blank = true;
    const bool text = forEachCharacter(name, [&](UChar32 character) {
        blank = u_isUWhiteSpace(character) || isMark(character) ||
                u_hasBinaryProperty(character, UCHAR_DEFAULT_IGNORABLE_CODE_POINT);
        return blank;
    });
    return text && blank;
}

std::string shortenedName(const std::string& name) {
    size_t characters = 0;
    for (size_t at = 0; at < name.size(); ++at)
        if ((static_cast<unsigned char>(name[at]) & 0xC0) != 0x80 && ++characters > kLongestName)
            return name.substr(0, at);
    return name;
}

std::string noPlayerNamed(const std::string& name) {
    return say("Không có người chơi " + shortenedName(name), "No player named " + shortenedName(name));
}

} // namespace portalstub
