#include "platform/services/AccountStore.h"

#include "platform/runtime/RunLoop.h"

namespace platform {

std::vector<SystemAccount> AccountStore::accountsOfType(const std::string&) {
    return {};
}

void AccountStore::requestAccess(const std::string& type,
                                 std::function<void(bool granted, std::string error)> completion) {
    if (!completion) return;
    runOnMainThread([completion = std::move(completion), type] {
        completion(false, "no system accounts of type " + type + " on this machine");
    });
}

} // namespace platform
