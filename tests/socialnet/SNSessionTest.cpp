#include "sdk/socialnet/SNSession.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "sdk/socialnet/SNSettings.h"
#include "tests/socialnet/SNSessionTestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace socialnet::test {
namespace {

using S = SNSessionState;

constexpr S kAllStates[] = {S::Created,           S::CreatedTokenLoaded, S::CreatedOpening, S::Open,
                            S::OpenTokenExtended, S::ClosedLoginFailed,  S::Closed};

std::string raisedBy(const std::function<void()>& action) {
    try {
        action();
    } catch (const SNInvalidOperationException& exception) {
        EXPECT_STREQ(exception.name(), "com.socialnet.sdk:InvalidOperationException");
        return exception.what();
    }
    return {};
}

class SNSessionTest : public SessionFixture {};

TEST_F(SNSessionTest, OnlyTheListedMovesAreLegal) {
    const std::set<std::pair<int, int>> legal = {{0, 1},     {0, 2},   {1, 513}, {2, 513},   {513, 514},
                                                 {514, 514}, {2, 257}, {1, 258}, {513, 258}, {514, 258}};
    for (S prior : kAllStates)
        for (S next : kAllStates)
            EXPECT_EQ(SNSession::isLegalTransition(prior, next), legal.count({int(prior), int(next)}) == 1)
                << int(prior) << " -> " << int(next);
}

TEST_F(SNSessionTest, StatesAreNamedAndOpennessIsTheOpenBit) {
    EXPECT_EQ(SNSession::sessionStateDescription(S::Open), "SNSessionStateOpen");
    EXPECT_EQ(SNSession::sessionStateDescription(S::ClosedLoginFailed), "SNSessionStateClosedLoginFailed");
    EXPECT_EQ(SNSession::sessionStateDescription(3), "[Unknown]");
    auto session = makeSession();
    EXPECT_EQ(session->stateValue(), 0);
    EXPECT_FALSE(session->isOpen());
    EXPECT_EQ(session->appBaseUrl(), "sn123://authorize");
    EXPECT_EQ(session->urlSchemeSuffix(), "");
    EXPECT_EQ(session->description().find("<SNSession: 0x"), 0u);
    EXPECT_NE(session->description().find("state: SNSessionStateCreated, "), std::string::npos);
}

TEST_F(SNSessionTest, MisuseRaisesTheInvalidOperationException) {
    SNSession::setDefaultAppID(std::nullopt);
    EXPECT_EQ(raisedBy([&] { makeSession(); }),
              "SNSession: No AppID provided; either pass an AppID to init, or add a string valued key with the "
              "appropriate id named SocialNetAppID to the bundle *.plist");
    SNSession::setDefaultAppID(std::string("123"));
    auto session = makeSession();
    session->openWithBehavior(SNSessionLoginBehavior::NoDialog, recorder());
    ASSERT_EQ(session->state(), S::ClosedLoginFailed);
    EXPECT_EQ(raisedBy([&] { session->openWithCompletionHandler(nullptr); }),
              "SNSession: an attempt was made to open an already opened or closed session");
    EXPECT_EQ(raisedBy([&] { session->reauthorizeWithReadPermissions({"email"}, nullptr); }),
              "SNSession: an attempt was made reauthorize permissions on an unopened session");
}

TEST_F(SNSessionTest, ACachedTokenOpensAtOnceWithoutTheNetwork) {
    storeToken("cached", SNSession::now() + 3600, {"email"}, 2);
    auto session = makeSession({"email"});
    EXPECT_EQ(session->state(), S::CreatedTokenLoaded);
    EXPECT_EQ(session->accessToken(), "cached");
    EXPECT_EQ(session->loginType(), SNSessionLoginType::NativeApp);
    session->openWithCompletionHandler(recorder());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].state, S::Open);
    EXPECT_FALSE(heard[0].hasError);
    EXPECT_TRUE(platform_->opened.empty());
    EXPECT_FALSE(session->loginDialog());
    // A plain close keeps the cache for the next session; closing clears the token.
    session->close();
    EXPECT_EQ(session->state(), S::Closed);
    EXPECT_EQ(session->accessToken(), "");
    EXPECT_EQ(makeSession()->accessToken(), "cached");
}

TEST_F(SNSessionTest, ClosingACreatedSessionIsLoggedAndChangesNothing) {
    SNSettings::setLoggingBehavior(SNSettings::Behaviors{"state_transitions"});
    auto session = makeSession();
    session->close();
    SNSettings::setLoggingBehavior(std::nullopt);
    EXPECT_EQ(session->state(), S::Created);
    EXPECT_EQ(logLines, std::vector<std::string>{"SNSDKLog: SNSession **INVALID** transition from "
                                                 "SNSessionStateCreated to SNSessionStateClosed"});
}

TEST_F(SNSessionTest, ObserversHearWillAndDidInOrder) {
    auto session = makeSession();
    std::vector<std::string> told;
    session->addObserver([&](const std::string& key, bool prior) { told.push_back((prior ? "will " : "did ") + key); });
    session->openWithBehavior(SNSessionLoginBehavior::DialogOnly, recorder());
    told.clear();
    session->snDialogLogin("T", SNSession::now() + 60);
    EXPECT_EQ(told, (std::vector<std::string>{"will status", "will isOpen", "will accessToken", "will expirationDate",
                                              "did expirationDate", "did accessToken", "did isOpen", "did status"}));
    told.clear();
    // An observer that changes the session while a change is applied is misuse.
    session->addObserver([&](const std::string& key, bool prior) {
        if (prior && key == "status") session->refreshAccessToken(std::nullopt, SNSession::now());
    });
    EXPECT_EQ(raisedBy([&] { session->close(); }).rfind("SNSession: An attempt to change an SNSession object", 0), 0u);
}

TEST_F(SNSessionTest, TheActiveSessionIsAnnounced) {
    std::vector<std::string> posted;
    auto& center = platform::NotificationCenter::defaultCenter();
    std::vector<platform::NotificationCenter::Token> tokens;
    for (auto* name :
         {SNSessionDidSetActiveSessionNotification, SNSessionDidUnsetActiveSessionNotification,
          SNSessionDidBecomeOpenActiveSessionNotification, SNSessionDidBecomeClosedActiveSessionNotification})
        tokens.push_back(center.addObserver(name, [&posted, name](const platform::Notification&) {
            posted.push_back(std::string(name).substr(std::string("com.socialnet.sdk:SNSession").size()));
        }));
    auto first = makeSession();
    SNSession::setActiveSession(first);
    SNSession::setActiveSession(first);
    EXPECT_EQ(posted, std::vector<std::string>{"DidSetActiveSessionNotification"});
    first->openWithBehavior(SNSessionLoginBehavior::DialogOnly, nullptr);
    first->snDialogLogin("T", SNSession::now() + 60);
    auto second = makeSession();
    SNSession::setActiveSession(second);
    EXPECT_EQ(first->state(), S::Closed);
    EXPECT_EQ(posted,
              (std::vector<std::string>{"DidSetActiveSessionNotification", "DidBecomeOpenActiveSessionNotification",
                                        "DidBecomeClosedActiveSessionNotification", "DidUnsetActiveSessionNotification",
                                        "DidSetActiveSessionNotification"}));
    EXPECT_EQ(SNSession::activeSessionIfOpen(), nullptr);
    for (auto token : tokens)
        center.removeObserver(token);
}

TEST_F(SNSessionTest, TheTokenIsExtendedAtMostHourlyAndNotWithinADay) {
    platform_->multitasking = true;
    platform_->openableSchemes = {"snauth"};
    auto session = makeSession();
    session->openWithBehavior(SNSessionLoginBehavior::WithDialogFallback, recorder());
    session->handleOpenURL("sn123://authorize#access_token=T&expires_in=86400");
    ASSERT_EQ(session->state(), S::Open);
    EXPECT_FALSE(session->shouldExtendAccessToken());
    advance(86401);
    EXPECT_TRUE(session->shouldExtendAccessToken());
    EXPECT_FALSE(session->shouldExtendAccessToken());
    advance(3601);
    EXPECT_TRUE(session->shouldExtendAccessToken());
    session->refreshAccessToken(std::string("T2"), SNSession::now() + 100);
    EXPECT_EQ(session->state(), S::OpenTokenExtended);
    EXPECT_EQ(session->accessToken(), "T2");
    // An extension keeps the type of the login that got the token.
    EXPECT_EQ(session->loginType(), SNSessionLoginType::NativeApp);
    auto cached = SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation();
    EXPECT_EQ(cached.get(SNTokenInformationTokenKey).stringValue(), "T2");
    EXPECT_EQ(cached.get(SNTokenInformationLoginTypeLoginKey).intValue(), 2);
    advance(3601);
    EXPECT_FALSE(session->shouldExtendAccessToken());
    session->closeAndClearTokenInformation();
    EXPECT_EQ(session->state(), S::Closed);
    EXPECT_TRUE(SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation().isNull());
}

TEST_F(SNSessionTest, ACallFromAnotherThreadIsReportedAndGoesOn) {
    storeToken("cached", SNSession::now() + 3600);
    auto session = makeSession();
    logLines.clear();
    std::thread other([&] { session->close(); });
    other.join();
    EXPECT_EQ(logLines, std::vector<std::string>{"SNSession: should only be used from a single thread"});
    EXPECT_EQ(session->state(), S::Closed);
}

TEST_F(SNSessionTest, ExpiryTextsGiveDatesOrNone) {
    EXPECT_EQ(SNSession::expirationDateFromExpirationTimeString(std::nullopt), std::nullopt);
    EXPECT_EQ(SNSession::expirationDateFromExpirationTimeString(std::string("0")), std::nullopt);
    EXPECT_EQ(SNSession::expirationDateFromExpirationTimeString(std::string("x")), std::nullopt);
    EXPECT_EQ(SNSession::expirationDateFromExpirationTimeString(std::string("3600")), SNSession::now() + 3600);
}

} // namespace
} // namespace socialnet::test
