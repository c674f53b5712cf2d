#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct SystemAccount {
    std::string type;
    std::string username;
};

// The system's list of signed-in social accounts. This machine keeps none, so the
// list is empty and a request for access is refused (on the main run loop).
class AccountStore {
public:
    static std::vector<SystemAccount> accountsOfType(const std::string& type);
    static void requestAccess(const std::string& type, std::function<void(bool granted, std::string error)> completion);
};

} // namespace platform
