#include "sdk/socialnet/SNLoginPlatform.h"

#include "platform/foundation/HttpClient.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/UrlOpener.h"

#include <mutex>

namespace socialnet {

namespace {

// The desktop's answers: no application switching, no system account of the network.
class SystemLoginPlatform : public SNLoginPlatform {
public:
    bool isMultitaskingSupported() override { return false; }
    bool openURL(const std::string& url) override { return platform::UrlOpener::openURL(url); }
    bool hasSystemAccountType() override { return false; }
    void requestSystemAccountAccess(const std::string&, const std::vector<std::string>&,
                                    const std::optional<std::string>&, AccessCompletion completion) override {
        platform::runOnMainThread([completion] { completion({}); });
    }
    void renewSystemAccountCredentials(std::function<void(int, std::string)> completion) override {
        platform::runOnMainThread([completion] { completion(0, {}); });
    }
    // A new login never sees the cookies of an earlier one.
    void deleteCookiesForHost(const std::string& host) override { platform::HttpClient::deleteCookies(host); }
};

struct Installed {
    std::mutex mutex;
    std::shared_ptr<SNLoginPlatform> platform = std::make_shared<SystemLoginPlatform>();
};

Installed& installed() {
    static Installed shared;
    return shared;
}

} // namespace

std::shared_ptr<SNLoginPlatform> SNLoginPlatform::current() {
    std::lock_guard lock(installed().mutex);
    return installed().platform;
}

void SNLoginPlatform::setCurrent(std::shared_ptr<SNLoginPlatform> platform) {
    std::lock_guard lock(installed().mutex);
    installed().platform = platform ? std::move(platform) : std::make_shared<SystemLoginPlatform>();
}

} // namespace socialnet
