#pragma once

#include "platform/foundation/Value.h"

#include <memory>
#include <string>

namespace socialnet {

// Keys of the stored token dictionary, in the order the session writes them.
inline constexpr const char* SNTokenInformationTokenKey = "com.socialnet.sdk:TokenInformationTokenKey";
inline constexpr const char* SNTokenInformationExpirationDateKey =
    "com.socialnet.sdk:TokenInformationExpirationDateKey";
inline constexpr const char* SNTokenInformationRefreshDateKey = "com.socialnet.sdk:TokenInformationRefreshDateKey";
inline constexpr const char* SNTokenInformationIsSocialNetLoginKey =
    "com.socialnet.sdk:TokenInformationIsSocialNetLoginKey";
inline constexpr const char* SNTokenInformationLoginTypeLoginKey =
    "com.socialnet.sdk:TokenInformationLoginTypeLoginKey";
inline constexpr const char* SNTokenInformationPermissionsKey = "com.socialnet.sdk:TokenInformationPermissionsKey";

// Keeps the session's token between runs: one dictionary in the standard user
// defaults under one key, written and removed at once (synchronized).
class SNSessionTokenCachingStrategy {
public:
    static constexpr const char* kDefaultKeyName = "SNAccessTokenInformationKey";

    // An empty key name means the default one.
    explicit SNSessionTokenCachingStrategy(std::string keyName = {});

    // The shared instance that serves every session not given its own.
    static const std::shared_ptr<SNSessionTokenCachingStrategy>& defaultInstance();
    // A non-empty token text and a date for the expiry.
    static bool isValidTokenInformation(const platform::Value& information);

    void cacheTokenInformation(const platform::Value& information);
    // Null when nothing is stored.
    platform::Value fetchTokenInformation() const;
    void clearToken();

    const std::string& keyName() const { return accessTokenInformationKeyName_; }
    std::string description() const;

private:
    std::string accessTokenInformationKeyName_;
};

} // namespace socialnet
