#include "platform/foundation/UserDefaults.h"
#include "platform/services/AdvertisingId.h"
#include "platform/services/Pasteboard.h"
#include "sdk/socialnet/SNLogger.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "tests/socialnet/SNRequestTestSupport.h"
#include "tests/support/StateWaits.h"

#include <random>

namespace socialnet::test {
namespace {

using kavo::test::FakeSocialNetwork;

class SNInstallTest : public RequestFixture {
protected:
    void SetUp() override {
        RequestFixture::SetUp();
        SNSettings::setShouldAutoPublishInstall(true);
        SNSettings::resetInstallPingForTesting();
        platform::Pasteboard::named("sn_app_attribution").clear();
        platform::AdvertisingId::setIdentifierForTesting("");
    }
    void TearDown() override {
        platform::Pasteboard::named("sn_app_attribution").clear();
        platform::AdvertisingId::setIdentifierForTesting("");
        RequestFixture::TearDown();
    }
    // Schedules, lets the 0.1 s pass and waits for the requests the announcement makes.
    // The main loop keeps running meanwhile: the answer to the query reaches the
    // announcement there, and only then is the post sent.
    void announce(size_t requests) {
        SNSettings::autoPublishInstall(std::string("123"));
        advance(0.1);
        EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return http_.requests().size() >= requests; }, 30));
    }
    // A negative check: while the main loop runs 0.3 s more, no request beyond the first
    // `requests` comes and, when `undated`, no date is stored.
    [[nodiscard]] bool nothingMoreComes(size_t requests, bool undated) {
        return kavo::test::nothingComesWithin(
            0.3, [&] { return http_.requests().size() > requests || (undated && !storedDate().isNull()); });
    }
    bool dateStored() {
        return platform::RunLoop::main().runUntil([this] { return !storedDate().isNull(); }, 30);
    }
    platform::Value storedDate() {
        return platform::UserDefaults::standard().objectForKey("com.socialnet.sdk:lastAttributionPing123");
    }
};

TEST_F(SNInstallTest, WithoutAnyIdNothingIsSentOrStored) {
    SNSettings::autoPublishInstall(std::string("123"));
    advance(0.05);
    EXPECT_TRUE(platform::RunLoop::main().nextTimerDate() >= 0);
    announce(0);
    EXPECT_TRUE(nothingMoreComes(0, true));
    EXPECT_TRUE(http_.requests().empty());
    EXPECT_TRUE(storedDate().isNull());
}

TEST_F(SNInstallTest, AnAttributionIdIsQueriedThenPostedOnceAndTheDateStored) {
    platform::Pasteboard::named("sn_app_attribution").setString("ATTR-1");
    network_.answerGraph("/123", R"({"supports_attribution":true,"id":"123"})");
    network_.answerGraph("/123/activities", "true");
    announce(2);
    EXPECT_TRUE(dateStored());
    auto sent = http_.requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].path.rfind("/123?fields=supports_attribution&migration_bundle=snsdk%3A20121003", 0), 0u)
        << sent[0].path;
    EXPECT_EQ(sent[1].method, "POST");
    std::vector<std::string> fields;
    for (auto& part : FakeSocialNetwork::readForm(sent[1].body))
        fields.push_back(part.name + "=" + part.content);
    EXPECT_EQ(fields, (std::vector<std::string>{"migration_bundle=snsdk:20121003", "format=json", "sdk=ios",
                                                "event=MOBILE_APP_INSTALL", "attribution=ATTR-1"}));
    // Once per process, and for good once a date is stored.
    announce(2);
    SNSettings::resetInstallPingForTesting();
    announce(2);
    EXPECT_TRUE(nothingMoreComes(2, false));
    EXPECT_EQ(http_.requests().size(), 2u);
}

TEST_F(SNInstallTest, AQueryErrorStoresNothingAndSpendsTheProcessesChance) {
    platform::AdvertisingId::setIdentifierForTesting("ADV-1");
    network_.answerGraph("/123", R"({"error":{"code":1}})", 500);
    announce(1);
    EXPECT_TRUE(nothingMoreComes(1, true));
    EXPECT_EQ(http_.requests().size(), 1u);
    EXPECT_TRUE(storedDate().isNull());
    announce(1);
    EXPECT_TRUE(nothingMoreComes(1, false));
    EXPECT_EQ(http_.requests().size(), 1u);
}

TEST_F(SNInstallTest, APostErrorAllowsALaterAttempt) {
    platform::AdvertisingId::setIdentifierForTesting("ADV-1");
    network_.answerGraph("/123", R"({"supports_attribution":true})");
    network_.answerGraph("/123/activities", R"({"error":{"code":2}})", 500);
    announce(2);
    // The post's failure gives the process its chance back once its answer is handled:
    // until then a new announcement is not made.
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [this] {
            SNSettings::autoPublishInstall(std::string("123"));
            advance(0.1);
            return http_.requests().size() >= 3;
        },
        30));
    EXPECT_TRUE(platform::RunLoop::main().runUntil([this] { return http_.requests().size() >= 4; }, 30));
    EXPECT_TRUE(nothingMoreComes(4, true));
    EXPECT_TRUE(storedDate().isNull());
    EXPECT_EQ(http_.requests().size(), 4u);
}

TEST_F(SNInstallTest, AnAppWithoutAttributionGetsTheDateAndNoPost) {
    platform::Pasteboard::named("sn_app_attribution").setString("ATTR-1");
    network_.answerGraph("/123", R"({"supports_attribution":false})");
    announce(1);
    EXPECT_TRUE(dateStored());
    EXPECT_TRUE(nothingMoreComes(1, false));
    EXPECT_EQ(http_.requests().size(), 1u);
}

class SNIdentityCheckTest : public RequestFixture {
protected:
    // Opens a session with OLD, asks for more and comes back with NEW.
    std::vector<std::string> reauthorize(std::shared_ptr<SNSession>& session) {
        platform_->multitasking = true;
        platform_->openableSchemes = {"snauth"};
        session = makeSession();
        session->openWithCompletionHandler(nullptr);
        EXPECT_TRUE(session->handleOpenURL("sn123://authorize#access_token=OLD&expires_in=3600"));
        std::vector<std::string> outcomes;
        session->reauthorizeWithPermissions(
            {"user_likes"}, SNSessionLoginBehavior::NoDialog, [&outcomes](SNSession&, const SNError& error) {
                outcomes.push_back(error.empty() ? "ok" : error.info(SNErrorLoginFailedReasonKey));
            });
        EXPECT_TRUE(session->handleOpenURL("sn123://authorize#access_token=NEW&expires_in=3600"));
        EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return !outcomes.empty(); }, kavo::test::kStateWait));
        return outcomes;
    }
};

TEST_F(SNIdentityCheckTest, TheSameUserTakesTheNewTokenAndItsPermissions) {
    network_.answerGraph("/", R"([{"code":200,"body":"{\"id\":\"42\"}"},{"code":200,"body":"{\"id\":\"42\"}"},)"
                              R"({"code":200,"body":"{\"data\":[{\"email\":1,\"user_likes\":1}]}"}])");
    std::shared_ptr<SNSession> session;
    EXPECT_EQ(reauthorize(session), std::vector<std::string>{"ok"});
    EXPECT_EQ(session->stateValue(), 514);
    EXPECT_EQ(session->accessToken(), "NEW");
    EXPECT_EQ(session->permissions(), (std::vector<std::string>{"email", "user_likes"}));
    auto parts = FakeSocialNetwork::readForm(http_.requests().at(0).body);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_NE(parts[1].content.find("me?migration_bundle=snsdk%3A20121003&access_token=NEW&format=json&sdk=ios"),
              std::string::npos)
        << parts[1].content;
}

TEST_F(SNIdentityCheckTest, ComingBackRightAfterTheCallbackIsNoCancelOfTheCheckInFlight) {
    network_.answerGraph("/", R"([{"code":200,"body":"{\"id\":\"42\"}"},{"code":200,"body":"{\"id\":\"42\"}"},)"
                              R"({"code":200,"body":"{\"data\":[{\"email\":1,\"user_likes\":1}]}"}])");
    platform_->multitasking = true;
    platform_->openableSchemes = {"snauth"};
    auto session = makeSession();
    session->openWithCompletionHandler(nullptr);
    ASSERT_TRUE(session->handleOpenURL("sn123://authorize#access_token=OLD&expires_in=3600"));
    SNSession::setActiveSession(session);
    std::vector<std::string> outcomes;
    session->reauthorizeWithPermissions(
        {"user_likes"}, SNSessionLoginBehavior::NoDialog, [&outcomes](SNSession&, const SNError& error) {
            outcomes.push_back(error.empty() ? "ok" : error.info(SNErrorLoginFailedReasonKey));
        });
    ASSERT_TRUE(session->handleOpenURL("sn123://authorize#access_token=NEW&expires_in=3600"));
    // The application becomes active as the callback is handled.
    session->handleDidBecomeActive();
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return !outcomes.empty(); }, kavo::test::kStateWait));
    EXPECT_EQ(outcomes, std::vector<std::string>{"ok"});
    EXPECT_EQ(session->accessToken(), "NEW");
}

TEST_F(SNIdentityCheckTest, AnotherUserOrAFailedLookupKeepsTheOldToken) {
    for (const char* answer : {R"([{"code":200,"body":"{\"id\":\"42\"}"},{"code":200,"body":"{\"id\":\"43\"}"},)"
                               R"({"code":200,"body":"{\"data\":[]}"}])",
                               R"([{"code":200,"body":"{\"id\":\"42\"}"},{"code":400,"body":"{}"},null])"}) {
        network_.answerGraph("/", answer);
        std::shared_ptr<SNSession> session;
        EXPECT_EQ(reauthorize(session),
                  std::vector<std::string>{"com.socialnet.sdk:ErrorReauthorizeFailedReasonWrongUser"});
        EXPECT_EQ(session->accessToken(), "OLD");
        EXPECT_TRUE(session->isOpen());
        SNSession::setActiveSession(nullptr);
    }
}

class SNRequestLogTest : public RequestFixture {};

TEST_F(SNRequestLogTest, NoLogLineHoldsATokenUnlessAskedTo) {
    for (bool includeTokens : {false, true}) {
        logLines.clear();
        SNLogger::resetClassStateForTesting();
        SNSettings::Behaviors behaviors{"sn_requests", "snurl_connections", "state_transitions",
                                        "perf_characteristics"};
        if (includeTokens) behaviors.insert("include_access_tokens");
        SNSettings::setLoggingBehavior(behaviors);
        auto session = openSession("TOKEN-SECRET", true);
        network_.answerGraph("/",
                             R"([{"code":200,"body":"{\"id\":\"4\"}"},{"code":200,"body":"{}"},)"
                             R"({"code":200,"body":"{\"access_token\":\"TOKEN-FRESH\",\"expires_at\":2000000000}"}])");
        auto other = SNDictionary::make();
        other->setObject("TOKEN-PLAIN", "access_token");
        std::vector<Outcome> outcomes;
        auto connection = std::make_shared<SNRequestConnection>();
        connection->addRequest(std::make_shared<SNRequest>(session, "me"), recordInto(outcomes));
        connection->addRequest(std::make_shared<SNRequest>(nullptr, "me", other), recordInto(outcomes));
        connection->start();
        ASSERT_TRUE(waitFor(outcomes, 2));
        std::string all;
        for (auto& line : logLines)
            all += line + "\n";
        for (const char* token : {"TOKEN-SECRET", "TOKEN-PLAIN", "TOKEN-FRESH"})
            EXPECT_EQ(all.find(token) != std::string::npos, includeTokens) << token << "\n" << all;
        EXPECT_NE(all.find("Request <#"), std::string::npos);
        SNSession::setActiveSession(nullptr);
        session->close();
        http_.serveTexts();
    }
}

TEST_F(SNRequestLogTest, RandomAnswersNeverCrashAndEveryHandlerHearsOnce) {
    std::mt19937 random(5);
    const std::vector<std::string> pieces{"[",       "]",         "{",
                                          "}",       "\"code\":", "200",
                                          "404",     "\"body\":", "\"{}\"",
                                          "\"[1]\"", "null",      ",",
                                          "\"x\"",   "true",      "\"{\\\"error\\\":{\\\"code\\\":190}}\""};
    const std::vector<std::string> types{"text/javascript", "image/png", "text/plain", "application/json"};
    const std::vector<int> statuses{200, 200, 400, 500, 302, 204};
    std::vector<std::string> paths{"a", "b", "c"};
    for (int round = 0; round < 1000; ++round) {
        std::string body;
        for (size_t n = random() % 12; n > 0; --n)
            body += pieces[random() % pieces.size()];
        size_t count = 1 + random() % 3;
        network_.serveBody("/", types[random() % types.size()], body, statuses[random() % statuses.size()]);
        network_.serveBody("/a", types[random() % types.size()], body, statuses[random() % statuses.size()]);
        std::vector<Outcome> outcomes;
        auto connection = std::make_shared<SNRequestConnection>();
        for (size_t i = 0; i < count; ++i)
            connection->addRequest(std::make_shared<SNRequest>(nullptr, paths[i]), recordInto(outcomes));
        connection->start();
        ASSERT_TRUE(waitFor(outcomes, count)) << body;
        EXPECT_EQ(outcomes.size(), count);
    }
}

} // namespace
} // namespace socialnet::test
