#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace socialnet {

// What the operating system's social-network account answered to a request for access.
struct SNSystemAccountAnswer {
    bool granted = false;
    // The store's error, when it gave one.
    std::optional<int> errorCode;
    std::optional<std::string> errorDescription;
    // The first account's token when access was granted.
    std::string token;
};

// The services the login routes need from the system: opening another application or
// the browser, the multitasking question, the system's social-network account and the
// login host's cookies. This desktop build has no multitasking and no such account,
// so only the inline dialog runs; tests install fakes.
class SNLoginPlatform {
public:
    using AccessCompletion = std::function<void(const SNSystemAccountAnswer&)>;

    virtual ~SNLoginPlatform() = default;

    virtual bool isMultitaskingSupported() = 0;
    // True when the address was handed to an application or the browser.
    virtual bool openURL(const std::string& url) = 0;
    // The system keeps an account type for the social network.
    virtual bool hasSystemAccountType() = 0;
    // Audience is "everyone", "friends", "me" or nullopt. The completion may come on
    // any thread.
    virtual void requestSystemAccountAccess(const std::string& appID, const std::vector<std::string>& permissions,
                                            const std::optional<std::string>& audience,
                                            AccessCompletion completion) = 0;
    virtual void renewSystemAccountCredentials(std::function<void(int result, std::string error)> completion) = 0;
    virtual void deleteCookiesForHost(const std::string& host) = 0;

    static std::shared_ptr<SNLoginPlatform> current();
    // nullptr restores the system's own services.
    static void setCurrent(std::shared_ptr<SNLoginPlatform> platform);
};

} // namespace socialnet
