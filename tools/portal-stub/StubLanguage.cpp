#include "tools/portal-stub/StubLanguage.h"

#include "platform/foundation/NumberFormat.h"

#include <atomic>

namespace portalstub {

namespace {
std::atomic<bool> english{false};
} // namespace

void setClientLanguage(const std::string& json) {
    // Only the one field matters; the rest of the information is the client's business.
    const size_t key = json.find("\"lang\"");
    if (key == std::string::npos) return;
    const size_t open = json.find('"', json.find(':', key));
    if (open == std::string::npos) return;
    english = json.compare(open + 1, 3, "en\"") == 0;
}

bool clientSpeaksEnglish() {
    return english;
}

std::string groupedAmount(int64_t amount) {
    return platform::formatGroupedInteger(amount, clientSpeaksEnglish() ? "," : ".");
}

} // namespace portalstub
