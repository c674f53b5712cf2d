// The session's quieter duties: coming back to the application, announcing an open
// active session, the application's own callback scheme, and the stored token's layout.
#include "platform/foundation/NotificationCenter.h"
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

class SNSessionEdgesTest : public SessionFixture {
protected:
    std::shared_ptr<SNSession> sessionWithSuffix(const std::string& suffix) {
        return std::make_shared<SNSession>(std::nullopt, std::vector<std::string>{"email"},
                                           SNSessionDefaultAudience::None, suffix, nullptr);
    }
};

TEST_F(SNSessionEdgesTest, ComingBackWithoutAPendingCallbackLeavesAnOpeningDialogAlone) {
    auto session = makeSession();
    session->openWithBehavior(SNSessionLoginBehavior::DialogOnly, recorder());
    ASSERT_EQ(session->state(), S::CreatedOpening);
    ASSERT_TRUE(session->loginDialog());
    SNSession::setActiveSession(session);
    session->handleDidBecomeActive();
    EXPECT_EQ(session->state(), S::CreatedOpening);
    EXPECT_TRUE(heard.empty());
    session->close();
}

TEST_F(SNSessionEdgesTest, AnAnsweredCallbackIsNotTakenForACancelWhenTheApplicationComesBack) {
    platform_->multitasking = true;
    platform_->openableSchemes = {"snauth"};
    auto session = makeSession();
    session->openWithCompletionHandler(recorder());
    SNSession::setActiveSession(session);
    // The login application answers with a refusal that moves the login on to the browser.
    platform_->openableSchemes = {"snauth", "http"};
    ASSERT_TRUE(session->handleOpenURL("sn123://authorize#error=service_disabled_use_browser"));
    ASSERT_EQ(session->state(), S::CreatedOpening);
    ASSERT_TRUE(session->handleOpenURL("sn123://authorize#access_token=T&expires_in=3600"));
    ASSERT_EQ(session->state(), S::Open);
    heard.clear();
    session->handleDidBecomeActive();
    EXPECT_EQ(session->state(), S::Open);
    EXPECT_TRUE(heard.empty());
}

TEST_F(SNSessionEdgesTest, AnOpenSessionMadeActiveIsAnnouncedAsOpen) {
    std::vector<std::string> posted;
    auto& center = platform::NotificationCenter::defaultCenter();
    std::vector<platform::NotificationCenter::Token> tokens;
    for (auto* name : {SNSessionDidSetActiveSessionNotification, SNSessionDidBecomeOpenActiveSessionNotification})
        tokens.push_back(center.addObserver(name, [&posted, name](const platform::Notification&) {
            posted.push_back(std::string(name).substr(std::string("com.socialnet.sdk:SNSession").size()));
        }));
    storeToken("T", SNSession::now() + 3600);
    auto session = makeSession();
    session->openWithCompletionHandler(nullptr);
    ASSERT_TRUE(session->isOpen());
    EXPECT_TRUE(posted.empty());
    SNSession::setActiveSession(session);
    EXPECT_EQ(posted,
              (std::vector<std::string>{"DidSetActiveSessionNotification", "DidBecomeOpenActiveSessionNotification"}));
    for (auto token : tokens)
        center.removeObserver(token);
}

TEST_F(SNSessionEdgesTest, ASchemeSuffixNamesTheLocalClientAndTheCallbackAddress) {
    platform_->multitasking = true;
    platform_->openableSchemes = {"snauth2"};
    auto session = sessionWithSuffix("free");
    EXPECT_EQ(session->urlSchemeSuffix(), "free");
    session->openWithCompletionHandler(recorder());
    ASSERT_EQ(platform_->opened.size(), 1u);
    EXPECT_EQ(platform_->opened[0], "snauth2://authorize?client_id=123&type=user_agent&redirect_uri=snconnect%3A%2F%2F"
                                    "success&display=touch&sdk=ios&scope=email&local_client_id=free");
    EXPECT_FALSE(session->handleOpenURL("sn123://authorize#access_token=T"));
    EXPECT_TRUE(session->handleOpenURL("sn123free://authorize#access_token=T&expires_in=3600"));
    EXPECT_EQ(session->state(), S::Open);
}

TEST_F(SNSessionEdgesTest, TheStoredTokenKeepsItsKeysAndTheRefreshDate) {
    platform_->multitasking = true;
    platform_->openableSchemes = {"snauth"};
    auto session = makeSession({"email"});
    session->openWithCompletionHandler(recorder());
    const double opened = SNSession::now();
    ASSERT_TRUE(session->handleOpenURL("sn123://authorize#access_token=T&expires_in=3600"));
    const platform::Value stored = platform::UserDefaults::standard().objectForKey("SNAccessTokenInformationKey");
    ASSERT_TRUE(stored.isDictionary());
    EXPECT_EQ(stored.keys(), (std::vector<std::string>{"com.socialnet.sdk:TokenInformationTokenKey",
                                                       "com.socialnet.sdk:TokenInformationExpirationDateKey",
                                                       "com.socialnet.sdk:TokenInformationRefreshDateKey",
                                                       "com.socialnet.sdk:TokenInformationIsSocialNetLoginKey",
                                                       "com.socialnet.sdk:TokenInformationLoginTypeLoginKey",
                                                       "com.socialnet.sdk:TokenInformationPermissionsKey"}));
    EXPECT_EQ(stored.get("com.socialnet.sdk:TokenInformationTokenKey").stringValue(), "T");
    EXPECT_EQ(stored.get("com.socialnet.sdk:TokenInformationExpirationDateKey").dateValue(), opened + 3600);
    EXPECT_EQ(stored.get("com.socialnet.sdk:TokenInformationRefreshDateKey").dateValue(), opened);
    EXPECT_TRUE(stored.get("com.socialnet.sdk:TokenInformationIsSocialNetLoginKey").boolValue());
    EXPECT_EQ(stored.get("com.socialnet.sdk:TokenInformationLoginTypeLoginKey").intValue(), 2);

    // A new session reads the refresh date back: no extension is due within the day.
    session->close();
    auto again = makeSession({"email"});
    again->openWithCompletionHandler(nullptr);
    ASSERT_TRUE(again->isOpen());
    advance(7200);
    EXPECT_FALSE(again->shouldExtendAccessToken());
    advance(86400);
    EXPECT_TRUE(again->shouldExtendAccessToken());
}

} // namespace
} // namespace socialnet::test
