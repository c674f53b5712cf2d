#pragma once

#include <cstdint>
#include <string>

namespace portalstub {

// The language of the client's texts ("vi" or "en", from the client information it
// sends after the sign-in): the stub's own texts follow it, Vietnamese until told.
void setClientLanguage(const std::string& json);
bool clientSpeaksEnglish();
// The text in the client's language.
inline std::string say(const std::string& vietnamese, const std::string& english) {
    return clientSpeaksEnglish() ? english : vietnamese;
}
// An amount with its digits grouped as the client's language writes them: "70.000" in
// Vietnamese, "70,000" in English.
std::string groupedAmount(int64_t amount);

} // namespace portalstub
