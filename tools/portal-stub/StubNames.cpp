#include "tools/portal-stub/StubNames.h"

#include "tools/portal-stub/StubLanguage.h"

#include <memory>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uspoof.h>
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

// A character that shows as a blank does: any white space or space separator (U+00A0,
// U+2000 to U+200A, U+202F, U+3000, ...) and the braille blank U+2800.
bool showsAsBlank(UChar32 character) {
    return u_isUWhiteSpace(character) || u_charType(character) == U_SPACE_SEPARATOR || character == 0x2800;
}

// `text` through one of ICU's normal forms; nothing when ICU cannot give it.
std::string normalized(const icu::Normalizer2* form, const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString normal = form ? form->normalize(text, status) : text;
    std::string bytes;
    if (U_SUCCESS(status)) normal.toUTF8String(bytes);
    return bytes;
}

// ICU's spoof checker, made once: its skeletons are read from any thread.
const USpoofChecker* spoofChecker() {
    static const auto checker = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<USpoofChecker, void (*)(USpoofChecker*)> made(uspoof_open(&status), uspoof_close);
        if (U_FAILURE(status)) made.reset();
        return made;
    }();
    return checker.get();
}

// The confusable skeleton of `text` (UTF-8), or the text itself when ICU cannot give one.
std::string skeletonOf(const std::string& text) {
    const USpoofChecker* checker = spoofChecker();
    if (!checker) return text;
    // Asked first how long it is, then written into a buffer that long.
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uspoof_getSkeletonUTF8(checker, 0, text.data(), int32_t(text.size()), nullptr, 0, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR) return U_SUCCESS(status) ? std::string() : text;
    std::string skeleton(size_t(length), '\0');
    status = U_ZERO_ERROR;
    uspoof_getSkeletonUTF8(checker, 0, text.data(), int32_t(text.size()), skeleton.data(), length, &status);
    return U_SUCCESS(status) ? skeleton : text;
}

} // namespace

std::string normalName(const std::string& name) {
    if (!forEachCharacter(name, [](UChar32) { return true; })) return name;
    UErrorCode status = U_ZERO_ERROR;
    const std::string normal = normalized(icu::Normalizer2::getNFCInstance(status), icu::UnicodeString::fromUTF8(name));
    return U_SUCCESS(status) && !normal.empty() ? normal : name;
}

std::string likeness(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* compatible = icu::Normalizer2::getNFKCInstance(status);
    std::string shown;
    forEachCharacter(U_SUCCESS(status) ? normalized(compatible, icu::UnicodeString::fromUTF8(name)) : name,
                     [&](UChar32 character) {
                         if (!u_hasBinaryProperty(character, UCHAR_DEFAULT_IGNORABLE_CODE_POINT))
                             icu::UnicodeString(character).toUTF8String(shown);
                         return true;
                     });
    return skeletonOf(shown);
}

bool readableName(const std::string& name) {
    size_t characters = 0;
    size_t marks = 0;
    bool readable = true;
    const bool text = forEachCharacter(normalName(name), [&](UChar32 character) {
        marks = isMark(character) ? marks + 1 : 0;
        readable = ++characters <= kLongestName && marks <= kMostMarks && !unreadable(character);
        return readable;
    });
    return text && readable && !readsAsBlank(name);
}

bool plainlySpaced(const std::string& name) {
    UChar32 last = ' ';
    bool plain = true;
    forEachCharacter(name, [&](UChar32 character) {
        plain = !showsAsBlank(character) || (character == ' ' && last != ' ');
        last = character;
        return plain;
    });
    return plain && last != ' ';
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
