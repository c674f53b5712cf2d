#include "app/PageOpener.h"

#include "app/Text.h"
#include "app/UIController.h"
#include "platform/foundation/TextFormat.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/services/UrlOpener.h"

namespace kavo {

namespace {

// The number of a call address ("tel:" or "telprompt:"), or nothing for another address.
std::string numberToCall(const std::string& address) {
    for (const std::string scheme : {"tel:", "telprompt:"}) {
        if (address.compare(0, scheme.size(), scheme) == 0) return address.substr(scheme.size());
    }
    return {};
}

} // namespace

bool PageOpener::open(const std::string& address) {
    KAVO_ASSERT_MAIN_THREAD();
    if (platform::UrlOpener::show(address)) return true;
    UIController::showNotice(cannotOpenText(address));
    return false;
}

std::string PageOpener::cannotOpenText(const std::string& address) {
    const std::string number = numberToCall(address);
    if (!number.empty()) return text("KAVO_callHelp") + " " + number;
    return platform::formatText(text("KAVO_cannotOpenPage"), {address});
}

} // namespace kavo
