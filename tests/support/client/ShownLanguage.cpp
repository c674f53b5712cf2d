#include "tests/support/client/ShownLanguage.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Text.h"

#include <set>

namespace kavo::test {

namespace {

// Latin letters with marks: none is written in English.
bool hasMarkedLetter(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const char32_t c = platform::nextCharacter(text, at);
        if ((c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x1E00 && c <= 0x1EFF)) return true;
    }
    return false;
}

std::set<std::string> upperCasedValues(const char* language) {
    std::set<std::string> values;
    const platform::Value table = platform::Bundle::main().loadPlist(language);
    if (table.isDictionary())
        for (const auto& [key, value] : table.dictValue())
            if (value.isString()) values.insert(platform::toUpper(value.stringValue()));
    return values;
}

} // namespace

std::vector<std::string> vietnameseTexts(const std::vector<std::string>& texts) {
    const std::set<std::string> vietnamese = upperCasedValues("vi"), english = upperCasedValues("en");
    std::vector<std::string> found;
    for (const std::string& text : texts) {
        const std::string upper = platform::toUpper(text);
        if (hasMarkedLetter(text) || (vietnamese.count(upper) && !english.count(upper))) found.push_back(text);
    }
    return found;
}

} // namespace kavo::test
