#include "platform/foundation/UserDefaults.h"
#include "sdk/socialnet/SNSession.h"
#include "sdk/socialnet/SNSessionTokenCachingStrategy.h"
#include "tests/socialnet/SNSessionTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace socialnet::test {
namespace {

using S = SNSessionState;

class SNTokenCacheTest : public SessionFixture {};

TEST_F(SNTokenCacheTest, OnlyAValidTokenWithAFutureDateIsLoaded) {
    struct Case {
        const char* name;
        platform::Value token;
        platform::Value expiry;
        bool valid;
    };
    double later = SNSession::now() + 3600;
    std::vector<Case> cases = {
        {"valid", platform::Value("T"), platform::Value::date(later), true},
        {"empty token", platform::Value(""), platform::Value::date(later), false},
        {"missing token", platform::Value(), platform::Value::date(later), false},
        {"expiry as text", platform::Value("T"), platform::Value("2099-01-01"), false},
    };
    for (auto& c : cases) {
        platform::Value information = platform::Value::emptyDictionary();
        if (!c.token.isNull()) information.set(SNTokenInformationTokenKey, c.token);
        information.set(SNTokenInformationExpirationDateKey, c.expiry);
        SNSessionTokenCachingStrategy::defaultInstance()->cacheTokenInformation(information);
        EXPECT_EQ(SNSessionTokenCachingStrategy::isValidTokenInformation(information), c.valid) << c.name;
        auto session = makeSession();
        EXPECT_EQ(session->state(), c.valid ? S::CreatedTokenLoaded : S::Created) << c.name;
        // An invalid entry is left where it is.
        EXPECT_FALSE(SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation().isNull()) << c.name;
    }
}

TEST_F(SNTokenCacheTest, ATokenThatDoesNotFitTheRequestIsCleared) {
    double later = SNSession::now() + 3600;
    storeToken("T", later, {"email", "user_likes"}, 1, false);
    auto fits = makeSession({"email"});
    EXPECT_EQ(fits->state(), S::CreatedTokenLoaded);
    EXPECT_EQ(fits->permissions(), (std::vector<std::string>{"email", "user_likes"}));
    EXPECT_EQ(fits->loginType(), SNSessionLoginType::SystemAccount);
    // Loading caches nothing new: the stored entry is the one written above.
    EXPECT_FALSE(SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation().contains(
        SNTokenInformationIsSocialNetLoginKey));

    auto wantsMore = makeSession({"publish_stream"});
    EXPECT_EQ(wantsMore->state(), S::Created);
    EXPECT_TRUE(SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation().isNull());

    storeToken("T", SNSession::now() - 1);
    EXPECT_EQ(makeSession()->state(), S::Created);
    EXPECT_TRUE(SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation().isNull());
}

TEST_F(SNTokenCacheTest, ACacheWithItsOwnKeyKeepsToItAndSessionsShareTheDefault) {
    auto own = std::make_shared<SNSessionTokenCachingStrategy>("OwnTokenKey");
    EXPECT_EQ(own->keyName(), "OwnTokenKey");
    EXPECT_EQ(SNSessionTokenCachingStrategy::defaultInstance()->keyName(), "SNAccessTokenInformationKey");
    auto first = makeSession({}, own);
    first->openWithBehavior(SNSessionLoginBehavior::DialogOnly, nullptr);
    first->snDialogLogin("OWN", SNSession::now() + 60);
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_EQ(defaults.objectForKey("OwnTokenKey").get(SNTokenInformationTokenKey).stringValue(), "OWN");
    EXPECT_TRUE(defaults.objectForKey("SNAccessTokenInformationKey").isNull());

    auto second = makeSession();
    second->openWithBehavior(SNSessionLoginBehavior::DialogOnly, nullptr);
    second->snDialogLogin("SHARED", SNSession::now() + 60);
    EXPECT_EQ(makeSession()->accessToken(), "SHARED");
    platform::UserDefaults::standard().reset();
    EXPECT_EQ(makeSession()->accessToken(), "SHARED"); // written to disk at once
}

} // namespace
} // namespace socialnet::test
