#include "tools/portal-stub/StubNames.h"

#include "tools/portal-stub/StubText.h"

namespace portalstub {

bool readableName(const std::string& name) {
    for (size_t at = 0; at < name.size(); ++at)
        if (controlAt(name, at)) return false;
    return charactersOf(name) <= kLongestName;
}

std::string shortenedName(const std::string& name) {
    size_t characters = 0;
    for (size_t at = 0; at < name.size(); ++at)
        if ((static_cast<unsigned char>(name[at]) & 0xC0) != 0x80 && ++characters > kLongestName)
            return name.substr(0, at);
    return name;
}

} // namespace portalstub
