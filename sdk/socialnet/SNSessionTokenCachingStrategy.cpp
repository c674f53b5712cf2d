#include "sdk/socialnet/SNSessionTokenCachingStrategy.h"

#include "platform/foundation/UserDefaults.h"

#include <cstdio>

namespace socialnet {

SNSessionTokenCachingStrategy::SNSessionTokenCachingStrategy(std::string keyName)
    : accessTokenInformationKeyName_(keyName.empty() ? kDefaultKeyName : std::move(keyName)) {}

const std::shared_ptr<SNSessionTokenCachingStrategy>& SNSessionTokenCachingStrategy::defaultInstance() {
    static const auto shared = std::make_shared<SNSessionTokenCachingStrategy>();
    return shared;
}

bool SNSessionTokenCachingStrategy::isValidTokenInformation(const platform::Value& information) {
    const auto& token = information.get(SNTokenInformationTokenKey);
    const auto& expiry = information.get(SNTokenInformationExpirationDateKey);
    return token.isString() && !token.stringValue().empty() && expiry.type() == platform::ValueType::Date;
}

void SNSessionTokenCachingStrategy::cacheTokenInformation(const platform::Value& information) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setObject(information, accessTokenInformationKeyName_);
    defaults.synchronize();
}

platform::Value SNSessionTokenCachingStrategy::fetchTokenInformation() const {
    return platform::UserDefaults::standard().objectForKey(accessTokenInformationKeyName_);
}

void SNSessionTokenCachingStrategy::clearToken() {
    auto& defaults = platform::UserDefaults::standard();
    defaults.removeObjectForKey(accessTokenInformationKeyName_);
    defaults.synchronize();
}

std::string SNSessionTokenCachingStrategy::description() const {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "<SNSessionTokenCachingStrategy: %p>", static_cast<const void*>(this));
    return buffer;
}

} // namespace socialnet
