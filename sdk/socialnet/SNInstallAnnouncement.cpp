// The once-per-process install announcement of SNSettings.

#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/AdvertisingId.h"
#include "platform/services/Pasteboard.h"
#include "sdk/socialnet/SNGraphObject.h"
#include "sdk/socialnet/SNRequestConnection.h"
#include "sdk/socialnet/SNSession.h"
#include "sdk/socialnet/SNSettings.h"

#include <exception>
#include <mutex>

namespace socialnet {

namespace {

constexpr double kDelay = 0.1;
constexpr const char* kAttributionPasteboard = "sn_app_attribution";

struct OnceToken {
    std::mutex mutex;
    bool spent = false;
};

OnceToken& installPing() {
    static OnceToken token;
    return token;
}

std::string lastPingKey(const std::string& appID) {
    return "com.socialnet.sdk:lastAttributionPing" + appID;
}

void storePingDate(const std::string& appID) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setObject(platform::Value::date(SNSession::now()), lastPingKey(appID));
    defaults.synchronize();
}

bool isTrue(const SNValue& value) {
    return value.isBool() ? value.boolValue() : value.isNumber() && value.number()->int64Value() != 0;
}

} // namespace

void SNSettings::autoPublishInstall(const std::optional<std::string>& appID) {
    if (!shouldAutoPublishInstall()) return;
    {
        std::lock_guard lock(installPing().mutex);
        if (installPing().spent) return;
        installPing().spent = true;
    }
    platform::performAfterDelay(kDelay, [appID] { publishInstall(appID); });
}

void SNSettings::resetInstallPingForTesting() {
    std::lock_guard lock(installPing().mutex);
    installPing().spent = false;
}

void SNSettings::publishInstall(const std::optional<std::string>& givenAppID) {
    try {
        std::string appID = givenAppID.value_or(SNSession::defaultAppID());
        if (appID.empty()) return;
        platform::Value lastPing = platform::UserDefaults::standard().objectForKey(lastPingKey(appID));
        std::optional<std::string> attribution;
        if (auto* board = platform::Pasteboard::existing(kAttributionPasteboard); board && board->hasString())
            if (!board->string().empty()) attribution = board->string();
        std::optional<std::string> advertiser;
        if (std::string id = platform::AdvertisingId::identifier(); !id.empty()) advertiser = id;
        if ((!attribution && !advertiser) || !lastPing.isNull()) return;

        auto query = std::make_shared<SNRequest>(nullptr, appID + "?fields=supports_attribution");
        query->startWithCompletionHandler(
            [appID, attribution, advertiser](SNRequestConnection&, const SNValue& result, const SNErrorPtr& error) {
                try {
                    if (error) return;
                    if (!result.isDictionary() || !isTrue(result.dictionary()->objectForKey("supports_attribution"))) {
                        storePingDate(appID);
                        return;
                    }
                    auto event = SNGraphObject::graphObject();
                    event->setObject("MOBILE_APP_INSTALL", "event");
                    if (attribution) event->setObject(*attribution, "attribution");
                    if (advertiser) event->setObject(*advertiser, "advertiser_id");
                    auto post = SNRequest::initForPost(nullptr, appID + "/activities", event);
                    post->startWithCompletionHandler(
                        [appID](SNRequestConnection&, const SNValue&, const SNErrorPtr& error) {
                            try {
                                if (!error) {
                                    storePingDate(appID);
                                } else {
                                    resetInstallPingForTesting();
                                }
                            } catch (const std::exception& failure) {
                                platform::log(std::string("Failure after install publish: ") + failure.what());
                            }
                        });
                } catch (const std::exception& failure) {
                    platform::log(std::string("Failure during install publish: ") + failure.what());
                }
            });
    } catch (const std::exception& failure) {
        platform::log(std::string("Failure before/during install ping: ") + failure.what());
    }
}

} // namespace socialnet
