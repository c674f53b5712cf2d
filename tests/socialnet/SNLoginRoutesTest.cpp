#include "platform/foundation/HttpClient.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Window.h"
#include "sdk/socialnet/SNSession.h"
#include "tests/socialnet/SNSessionTestSupport.h"
#include "tests/support/StateWaits.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace socialnet::test {
namespace {

using S = SNSessionState;
using B = SNSessionLoginBehavior;

constexpr const char* kDialogQuery =
    "client_id=123&type=user_agent&redirect_uri=snconnect%3A%2F%2Fsuccess&display=touch&sdk=ios&scope=";

class SNLoginRoutesTest : public SessionFixture {};

TEST_F(SNLoginRoutesTest, EachBehaviourTriesItsRoutesInOrder) {
    struct Case {
        B behavior;
        bool multitasking;
        bool systemAccount;
        int accessRequests;
        std::vector<std::string> opened;
        bool dialog;
        S state;
    };
    const std::string app = std::string("snauth://authorize?") + kDialogQuery;
    const std::string browser = loginHostBase() + "/dialog/oauth?client_id=123&type=user_agent&redirect_uri="
                                                  "sn123%3A%2F%2Fauthorize&display=touch&sdk=ios&scope=";
    std::vector<Case> cases = {
        {B::WithDialogFallback, false, true, 0, {}, true, S::CreatedOpening},
        {B::WithDialogFallback, true, false, 0, {app, browser}, true, S::CreatedOpening},
        {B::NoDialog, false, false, 0, {}, false, S::ClosedLoginFailed},
        {B::NoDialog, true, true, 0, {app, browser}, false, S::ClosedLoginFailed},
        {B::DialogOnly, true, true, 0, {}, true, S::CreatedOpening},
        {B::SystemAccount, true, false, 0, {app, browser}, false, S::ClosedLoginFailed},
        {B::SystemAccount, true, true, 1, {}, false, S::ClosedLoginFailed},
    };
    for (auto& c : cases) {
        platform_->multitasking = c.multitasking;
        platform_->systemAccount = c.systemAccount;
        platform_->opened.clear();
        platform_->accessRequests = 0;
        platform_->cookieHosts.clear();
        heard.clear();
        auto session = makeSession();
        session->openWithBehavior(c.behavior, recorder());
        advance(0);
        EXPECT_EQ(platform_->accessRequests, c.accessRequests) << int(c.behavior);
        EXPECT_EQ(platform_->opened, c.opened) << int(c.behavior);
        EXPECT_EQ(bool(session->loginDialog()), c.dialog) << int(c.behavior);
        EXPECT_EQ(session->state(), c.state) << int(c.behavior);
        EXPECT_EQ(platform_->cookieHosts, std::vector<std::string>{"127.0.0.1"});
        if (c.state == S::ClosedLoginFailed && c.accessRequests == 0) {
            ASSERT_EQ(heard.size(), 1u);
            EXPECT_EQ(heard[0].reason, "com.socialnet.sdk:ErrorLoginNotCancelled");
        }
        if (session->loginDialog()) {
            EXPECT_EQ(*session->loginDialog()->loadingURL(),
                      loginHostBase() + "/dialog/oauth?" +
                          (!c.opened.empty() ? "client_id=123&type=user_agent&redirect_uri=sn123%3A%2F%2Fauthorize"
                                               "&display=touch&sdk=ios&scope="
                                             : kDialogQuery));
            session->close();
        }
    }
}

TEST_F(SNLoginRoutesTest, TheNativeApplicationAnswersThroughTheCallbackURL) {
    platform_->multitasking = true;
    platform_->openableSchemes = {"snauth"};
    struct Case {
        std::string url;
        bool handled;
        S state;
        double expiresIn; // 0: the distant future
    };
    std::vector<Case> cases = {
        {"sn123://authorize#access_token=T&expires_in=3600", true, S::Open, 3600},
        {"sn123://authorize#access_token=T&expires_in=0", true, S::Open, 0},
        {"sn123://authorize?access_token=T", true, S::Open, 0},
        {"sn456://authorize#access_token=T", false, S::CreatedOpening, -1},
        {"sn123://authorize#error=access_denied&error_code=200", true, S::ClosedLoginFailed, -1},
    };
    for (auto& c : cases) {
        heard.clear();
        auto session = makeSession();
        session->openWithCompletionHandler(recorder());
        ASSERT_EQ(platform_->opened.back().rfind("snauth://authorize?", 0), 0u);
        EXPECT_EQ(session->handleOpenURL(c.url), c.handled) << c.url;
        EXPECT_EQ(session->state(), c.state) << c.url;
        if (c.state == S::Open) {
            EXPECT_EQ(session->accessToken(), "T");
            EXPECT_EQ(session->loginType(), SNSessionLoginType::NativeApp);
            EXPECT_EQ(*session->expirationDate(),
                      c.expiresIn == 0 ? SNSession::kDistantFuture : SNSession::now() + c.expiresIn);
            auto cached = SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation();
            EXPECT_EQ(cached.get(SNTokenInformationTokenKey).stringValue(), "T");
            EXPECT_TRUE(cached.get(SNTokenInformationIsSocialNetLoginKey).boolValue());
            SNSessionTokenCachingStrategy::defaultInstance()->clearToken();
        }
        if (c.state == S::ClosedLoginFailed) {
            EXPECT_EQ(heard.back().reason, "access_denied");
            EXPECT_EQ(heard.size(), 1u);
        }
        if (!c.handled) {
            // Still waiting: coming back without an answer ends the login.
            SNSession::setActiveSession(session);
            session->handleDidBecomeActive();
            EXPECT_EQ(session->state(), S::ClosedLoginFailed);
            EXPECT_EQ(heard.back().state, S::ClosedLoginFailed);
            SNSession::setActiveSession(nullptr);
        }
    }
    // After a close the callback is refused and logged.
    auto closed = makeSession();
    closed->openWithCompletionHandler(nullptr);
    closed->close();
    logLines.clear();
    EXPECT_FALSE(closed->handleOpenURL("sn123://authorize#access_token=T"));
    EXPECT_EQ(logLines, std::vector<std::string>{"SNConditionalLog: handleOpenURL should not be called once a session "
                                                 "has closed"});
}

TEST_F(SNLoginRoutesTest, ADisabledServiceFallsBackToTheBrowserOrFails) {
    platform_->multitasking = true;
    platform_->openableSchemes = {"snauth", "http"};
    auto session = makeSession();
    session->openWithCompletionHandler(recorder());
    platform_->opened.clear();
    EXPECT_TRUE(session->handleOpenURL("sn123://authorize#error=service_disabled_use_browser"));
    ASSERT_EQ(platform_->opened.size(), 1u);
    EXPECT_EQ(platform_->opened[0].rfind(loginHostBase() + "/dialog/oauth?", 0), 0u);
    EXPECT_TRUE(session->handleOpenURL("sn123://authorize#error=service_disabled"));
    EXPECT_EQ(session->state(), S::ClosedLoginFailed);
    EXPECT_EQ(heard.back().reason, "com.socialnet.sdk:ErrorLoginNotCancelled");
}

TEST_F(SNLoginRoutesTest, TheSystemAccountGrantsRefusesOrFallsBack) {
    platform_->systemAccount = true;
    platform_->accountAnswer = {true, std::nullopt, std::nullopt, "SYS"};
    auto granted = makeSession();
    granted->openWithBehavior(B::SystemAccount, recorder());
    advance(0);
    EXPECT_EQ(granted->state(), S::Open);
    EXPECT_EQ(granted->loginType(), SNSessionLoginType::SystemAccount);
    EXPECT_EQ(*granted->expirationDate(), SNSession::kDistantFuture);
    EXPECT_EQ(platform_->requestedPermissions, std::vector<std::string>{"email"});
    SNSessionTokenCachingStrategy::defaultInstance()->clearToken();

    platform_->accountAnswer = {false, 6, std::string("terms not accepted"), ""};
    auto fallback = makeSession();
    fallback->openWithBehavior(B::SystemAccount, recorder());
    advance(0);
    EXPECT_EQ(fallback->state(), S::CreatedOpening);
    EXPECT_TRUE(fallback->loginDialog());
    // The dialog asks this machine's login host for the page.
    ASSERT_TRUE(loginHost_.waitForRequests(1, kavo::test::kStateWait));
    EXPECT_EQ(loginHost_.requests()[0].method, "GET");
    EXPECT_EQ(loginHost_.requests()[0].path, std::string("/dialog/oauth?") + kDialogQuery);
    fallback->close();

    platform_->accountAnswer = {false, 7, std::nullopt, ""};
    heard.clear();
    logLines.clear();
    auto refused = makeSession();
    refused->openWithBehavior(B::SystemAccount, recorder());
    advance(0);
    EXPECT_EQ(refused->state(), S::ClosedLoginFailed);
    EXPECT_EQ(heard.back().reason, "com.socialnet.sdk:ErrorLoginFailedReason");
    ASSERT_FALSE(logLines.empty());
    EXPECT_EQ(logLines[0].rfind("SNConditionalLog: System authorization failed", 0), 0u);
}

TEST_F(SNLoginRoutesTest, ReauthorizationJoinsPermissionsOrReportsItsFailure) {
    platform_->systemAccount = true;
    platform_->accountAnswer = {true, std::nullopt, std::nullopt, "SYS"};
    auto session = makeSession({"email"});
    session->openWithBehavior(B::SystemAccount, nullptr);
    advance(0);
    std::vector<std::string> outcomes;
    auto record = [&](SNSession&, const SNError& error) {
        outcomes.push_back(error.empty() ? "ok" : error.info(SNErrorLoginFailedReasonKey));
    };
    platform_->accountAnswer = {true, std::nullopt, std::nullopt, "SYS2"};
    session->reauthorizeWithPublishPermissions({"publish_actions"}, SNSessionDefaultAudience::Friends, record);
    advance(0);
    EXPECT_EQ(outcomes, std::vector<std::string>{"ok"});
    EXPECT_EQ(session->state(), S::OpenTokenExtended);
    EXPECT_EQ(session->accessToken(), "SYS2");
    EXPECT_EQ(session->permissions(), (std::vector<std::string>{"email", "publish_actions"}));
    EXPECT_EQ(platform_->requestedAudience, "friends");

    platform_->accountAnswer = {false, 1, std::nullopt, ""};
    session->reauthorizeWithReadPermissions({"user_likes"}, record);
    EXPECT_EQ(std::string([&] {
                  try {
                      session->reauthorizeWithReadPermissions({"user_likes"}, record);
                  } catch (const SNInvalidOperationException& e) {
                      return std::string(e.what());
                  }
                  return std::string();
              }()),
              "SNSession: It is not valid to reauthorize while a previous reauthorize call has not yet completed.");
    advance(0);
    EXPECT_EQ(outcomes.back(), "com.socialnet.sdk:ErrorReauthorizeFailedReasonUserCancelled");
    EXPECT_EQ(session->state(), S::OpenTokenExtended);
}

TEST_F(SNLoginRoutesTest, AReauthorizationCallbackWithoutATokenIsACancel) {
    platform_->multitasking = true;
    platform_->openableSchemes = {"snauth"};
    auto session = makeSession();
    session->openWithCompletionHandler(nullptr);
    ASSERT_TRUE(session->handleOpenURL("sn123://authorize#access_token=OLD&expires_in=3600"));
    std::vector<std::string> outcomes;
    auto record = [&](SNSession&, const SNError& error) {
        outcomes.push_back(error.empty() ? "ok" : error.info(SNErrorLoginFailedReasonKey));
    };
    session->reauthorizeWithPermissions({"user_likes"}, B::NoDialog, record);
    EXPECT_EQ(session->reauthorizePermissions(), std::vector<std::string>{"user_likes"});
    EXPECT_TRUE(session->handleOpenURL("sn123://authorize#expires_in=3600"));
    // A callback with a token is checked over the network (SNIdentityCheckTest).
    EXPECT_EQ(outcomes, (std::vector<std::string>{"com.socialnet.sdk:ErrorReauthorizeFailedReasonUserCancelled"}));
    EXPECT_EQ(session->accessToken(), "OLD");
    EXPECT_EQ(session->state(), S::Open);
    // Closing fails a pending reauthorization.
    session->reauthorizeWithPermissions({"user_likes"}, B::NoDialog, record);
    session->close();
    EXPECT_EQ(outcomes.back(), "com.socialnet.sdk:ErrorReauthorizeFailedReasonSessionClosed");
}

TEST_F(SNLoginRoutesTest, EachLoginStartsWithoutTheLoginHostsCookies) {
    kavo::test::TestHttpServer host;
    host.serveAnswer("/login", {200, {"Set-Cookie: sid=abc; Path=/; HttpOnly"}, "page"});
    EXPECT_EQ(platform::HttpClient::perform(platform::HttpRequest::get(host.url("/login"))).status, 200);
    EXPECT_EQ(platform::HttpClient::cookies("127.0.0.1"), std::vector<std::string>{"sid=abc"});
    platform::HttpClient::perform(platform::HttpRequest::get(host.url("/login")));
    ASSERT_EQ(host.requests().size(), 2u);
    EXPECT_NE(host.requests()[1].headers.find("Cookie: sid=abc"), std::string::npos);
    // The system's own services delete them when a login walk starts.
    SNLoginPlatform::setCurrent(nullptr);
    SNLoginPlatform::current()->deleteCookiesForHost("127.0.0.1");
    EXPECT_TRUE(platform::HttpClient::cookies("127.0.0.1").empty());
}

TEST_F(SNLoginRoutesTest, PermissionRequestsAreChecked) {
    auto raised = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const SNInvalidOperationException& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(raised([] {
                  SNSession::validateRequestForPermissions({"publish_stream"}, SNSessionDefaultAudience::None, true,
                                                           false);
              }),
              "SNSession: Publish permissions were requested without specifying an audience; use "
              "SNSessionDefaultAudienceJustMe, SNSessionDefaultAudienceFriends, or SNSessionDefaultAudienceEveryone");
    EXPECT_EQ(raised([] {
                  SNSession::validateRequestForPermissions({"email", "publish_stream"}, SNSessionDefaultAudience::None,
                                                           true, true);
              }),
              "SNSession: Publish or manage permissions are not permited to to be requested with read permissions.");
    logLines.clear();
    EXPECT_EQ(raised([] {
                  SNSession::validateRequestForPermissions({"email", "publish_stream"},
                                                           SNSessionDefaultAudience::JustMe, true, false);
              }),
              "");
    EXPECT_EQ(logLines, std::vector<std::string>{"SNConditionalLog: SNSession: a permission request for publish or "
                                                 "manage permissions contains unexpected read permissions"});
    EXPECT_EQ(raised([] {
                  SNSession::validateRequestForPermissions({"publish_stream"}, SNSessionDefaultAudience::None, false,
                                                           true);
              }),
              "");
    for (auto* publish : {"publish_x", "manage_pages", "ads_management", "create_event", "rsvp_event"})
        EXPECT_TRUE(SNSession::isPublishPermission(publish)) << publish;
    EXPECT_FALSE(SNSession::isPublishPermission("email"));
    EXPECT_EQ(SNSession::addBasicInfoPermission({"user_likes"}), (std::vector<std::string>{"user_likes", "email"}));
    EXPECT_TRUE(SNSession::areRequiredPermissions({}, {"a"}));
    EXPECT_FALSE(SNSession::areRequiredPermissions({"b"}, {"a"}));
}

TEST_F(SNLoginRoutesTest, RandomCallbackAddressesAndCachedDictionariesAreSurvived) {
    std::mt19937 random(7);
    const std::string alphabet = "sn123:/#?&=%+access_tokenexpires_inerror0123456789ABCDEF\xC3\xA9";
    for (int i = 0; i < 300; ++i) {
        std::string url = i % 2 ? "sn123://authorize" : "";
        for (int k = int(random() % 40); k > 0; --k)
            url += alphabet[random() % alphabet.size()];
        auto session = makeSession();
        session->openWithBehavior(B::NoDialog, nullptr);
        session->handleOpenURL(url);
        EXPECT_TRUE(session->state() == S::ClosedLoginFailed || session->state() == S::Open) << url;
    }
    const platform::Value values[] = {
        platform::Value(),        platform::Value("x"),          platform::Value(3),
        platform::Value::date(1), platform::Value::emptyArray(), platform::Value::emptyDictionary()};
    const char* keys[] = {SNTokenInformationTokenKey,       SNTokenInformationExpirationDateKey,
                          SNTokenInformationRefreshDateKey, SNTokenInformationLoginTypeLoginKey,
                          SNTokenInformationPermissionsKey, SNTokenInformationIsSocialNetLoginKey};
    for (int i = 0; i < 300; ++i) {
        platform::Value information = i % 7 ? platform::Value::emptyDictionary() : values[random() % 6];
        for (auto* key : keys)
            if (random() % 2) information.set(key, values[random() % 6]);
        SNSessionTokenCachingStrategy::defaultInstance()->cacheTokenInformation(information);
        auto session = makeSession();
        EXPECT_EQ(session->state(), S::Created);
    }
}

} // namespace
} // namespace socialnet::test
