#include "platform/runtime/RunLoop.h"
#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNSessionTokenCachingStrategy.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "tests/socialnet/SNRequestTestSupport.h"
#include "tests/support/StateWaits.h"

namespace socialnet::test {
namespace {

class SNRequestCompletionTest : public RequestFixture {
protected:
    static std::string resultText(const Outcome& outcome) { return outcome.result.description(); }
};

TEST_F(SNRequestCompletionTest, AnInvalidTokenClosesTheSessionAndClearsItBeforeTheHandlerRuns) {
    auto session = openSession("TOKEN-1");
    network_.answerGraph("/me", R"({"error":{"code":190,"message":"expired"}})", 400);
    SNSessionState seen = SNSessionState::Created;
    std::vector<Outcome> outcomes;
    auto request = std::make_shared<SNRequest>(session, "me");
    request->startWithCompletionHandler([&](SNRequestConnection&, const SNValue& result, const SNErrorPtr& error) {
        seen = session->state();
        outcomes.push_back({result, error});
    });
    ASSERT_TRUE(waitFor(outcomes, 1));
    ASSERT_TRUE(outcomes[0].error);
    EXPECT_EQ(outcomes[0].error->code, 5);
    EXPECT_EQ(outcomes[0].error->info("com.socialnet.sdk:HTTPStatusCode"), "400");
    EXPECT_EQ(outcomes[0].error->parsedJSONResponse.description(),
              "{code = 400; body = {error = {code = 190; message = expired; }; }; }");
    EXPECT_TRUE(outcomes[0].result.isNull());
    EXPECT_EQ(seen, SNSessionState::Closed);
    EXPECT_TRUE(SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation().isNull());
}

TEST_F(SNRequestCompletionTest, APlainTextBodyArrivesWrapped) {
    network_.answerGraph("/me/likes", "true");
    auto outcomes = send(openSession(), {"me/likes"});
    EXPECT_EQ(outcomes[0].error, nullptr);
    ASSERT_TRUE(outcomes[0].result.isDictionary());
    EXPECT_EQ(outcomes[0].result.dictionary()->objectForKey("SOCIALNET_NON_JSON_RESULT").string(), "true");
}

TEST_F(SNRequestCompletionTest, BatchAnswersThatDoNotFitGiveEveryHandlerCodeFour) {
    auto session = openSession();
    network_.answerGraph("/", R"([{"code":200,"body":"{\"id\":\"1\"}"},{"code":200,"body":"{}"}])");
    auto short_ = send(session, {"a", "b", "c"});
    ASSERT_EQ(short_.size(), 3u);
    for (auto& outcome : short_) {
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code, 4);
        ASSERT_TRUE(outcome.error->parsedJSONResponse.isDictionary());
        EXPECT_EQ(outcome.error->parsedJSONResponse.dictionary()->objectForKey("body").description(), "{id = 1; }");
    }
    network_.answerGraph("/", R"({"id":"1"})");
    auto object = send(session, {"a", "b"});
    for (auto& outcome : object) {
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code, 4);
        EXPECT_TRUE(outcome.error->parsedJSONResponse.isNull());
    }
}

TEST_F(SNRequestCompletionTest, EachBatchElementIsCheckedOnItsOwn) {
    network_.answerGraph("/", R"([{"code":404,"body":"{\"error\":{\"code\":803}}"},)"
                              R"({"code":200,"body":"{\"id\":\"2\"}"},null,)"
                              R"({"code":200,"body":"{\"error_msg\":\"no\"}"}])");
    auto outcomes = send(openSession(), {"a", "b", "c", "d"});
    ASSERT_EQ(outcomes.size(), 4u);
    ASSERT_TRUE(outcomes[0].error);
    EXPECT_EQ(outcomes[0].error->code, 5);
    EXPECT_EQ(outcomes[0].error->info("com.socialnet.sdk:HTTPStatusCode"), "404");
    EXPECT_EQ(outcomes[0].error->parsedJSONResponse.dictionary()->objectForKey("code").description(), "404");
    EXPECT_EQ(outcomes[1].error, nullptr);
    EXPECT_EQ(resultText(outcomes[1]), "{id = 2; }");
    EXPECT_EQ(outcomes[2].error, nullptr);
    EXPECT_TRUE(outcomes[2].result.isNull());
    // Only an element's own keys are checked, not those inside its body.
    EXPECT_EQ(outcomes[3].error, nullptr);
    EXPECT_EQ(resultText(outcomes[3]), "{error_msg = no; }");
}

TEST_F(SNRequestCompletionTest, AnImageAnswerIsCodeSixAndATransportFailureCodeFive) {
    network_.serveImage("/me/picture", "\x89PNG");
    auto image = send(openSession(), {"me/picture"});
    ASSERT_TRUE(image[0].error);
    EXPECT_EQ(image[0].error->code, 6);
    EXPECT_EQ(image[0].error->info("com.socialnet.sdk:HTTPStatusCode"), "0");

    uint16_t closedPort;
    {
        kavo::test::TestHttpServer gone;
        closedPort = gone.port();
    }
    std::vector<Outcome> outcomes;
    auto connection = std::make_shared<SNRequestConnection>();
    connection->addRequest(std::make_shared<SNRequest>(nullptr, "me"), recordInto(outcomes));
    connection->setUrlRequest(platform::HttpRequest::get("http://127.0.0.1:" + std::to_string(closedPort) + "/me"));
    connection->start();
    ASSERT_TRUE(waitFor(outcomes, 1));
    ASSERT_TRUE(outcomes[0].error);
    EXPECT_EQ(outcomes[0].error->code, 5);
    EXPECT_EQ(outcomes[0].error->info("com.socialnet.sdk:HTTPStatusCode"), "200");
    ASSERT_TRUE(outcomes[0].error->inner);
    EXPECT_EQ(outcomes[0].error->inner->domain, "platform.url");
}

TEST_F(SNRequestCompletionTest, CancellingGivesEveryHandlerCodeOne) {
    http_.holdConnections();
    std::vector<Outcome> outcomes;
    auto connection = std::make_shared<SNRequestConnection>();
    connection->addRequest(std::make_shared<SNRequest>(nullptr, "a"), recordInto(outcomes));
    connection->addRequest(std::make_shared<SNRequest>(nullptr, "b"), recordInto(outcomes));
    connection->start();
    connection->cancel();
    ASSERT_EQ(outcomes.size(), 2u);
    for (auto& outcome : outcomes) {
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code, 1);
        EXPECT_EQ(outcome.error->domain, "com.socialnet.sdk");
        EXPECT_TRUE(outcome.result.isNull());
    }
    EXPECT_EQ(connection->state(), SNRequestConnection::State::Cancelled);
}

TEST_F(SNRequestCompletionTest, MissingPermissionsOfASystemAccountRenewTheAuthorization) {
    platform_->systemAccount = true;
    auto session = openSession("TOKEN-1", false, 1);
    network_.answerGraph("/me/feed", R"({"error":{"code":200}})", 403);
    auto outcomes = send(session, {"me/feed"});
    ASSERT_TRUE(outcomes[0].error);
    EXPECT_EQ(outcomes[0].error->code, 5);
    EXPECT_EQ(platform_->renewals, 1);
    EXPECT_TRUE(session->isOpen());
}

class LegacyDelegate : public SNRequestDelegate {
public:
    std::vector<std::string> calls;
    void requestLoading(SNRequest&) override { calls.push_back("loading"); }
    void requestDidReceiveResponse(SNRequest&, const std::optional<SNURLResponse>& response) override {
        calls.push_back("response " + std::to_string(response ? response->statusCode : -1));
    }
    void requestDidLoadRawResponse(SNRequest&, const std::string& data) override { calls.push_back("raw " + data); }
    void requestDidLoad(SNRequest&, const SNValue& result) override { calls.push_back("load " + result.description()); }
    void requestDidFailWithError(SNRequest&, const SNErrorPtr& error) override {
        calls.push_back("fail " + std::to_string(error ? error->code : 0));
    }
};

TEST_F(SNRequestCompletionTest, ALegacyDelegateHearsTheOutcomeInOrder) {
    network_.answerGraph("/me", R"({"id":"4"})");
    LegacyDelegate delegate;
    auto request = std::make_shared<SNRequest>(openSession(), "me");
    request->setDelegate(&delegate);
    bool handlerCalled = false;
    auto connection = request->startWithCompletionHandler(
        [&](SNRequestConnection&, const SNValue&, const SNErrorPtr&) { handlerCalled = true; });
    EXPECT_EQ(request->state(), SNRequest::State::Loading);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return request->state() == SNRequest::State::Complete; },
                                                   kavo::test::kStateWait));
    EXPECT_EQ(delegate.calls,
              (std::vector<std::string>{"loading", "response 200", "raw {\"id\":\"4\"}", "load {id = 4; }"}));
    EXPECT_FALSE(handlerCalled);

    LegacyDelegate failing;
    http_.answerStatus(500);
    auto failed = std::make_shared<SNRequest>(nullptr, "me");
    failed->setDelegate(&failing);
    failed->startWithCompletionHandler(nullptr);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return failed->state() == SNRequest::State::Complete; },
                                                   kavo::test::kStateWait));
    EXPECT_EQ(failing.calls, (std::vector<std::string>{"loading", "fail 5"}));
    ASSERT_TRUE(failed->error());
    EXPECT_EQ(failed->error()->code, 5);
}

TEST_F(SNRequestCompletionTest, AnInvalidTokenInALaterElementOfAFailedBatchClosesThatRequestsSession) {
    auto first = openSession("TOKEN-A");
    auto second = openSession("TOKEN-B");
    network_.answerGraph("/",
                         R"([{"code":200,"body":"{\"id\":\"1\"}"},)"
                         R"({"code":400,"body":"{\"error\":{\"code\":190}}"}])",
                         400);
    std::vector<Outcome> outcomes;
    auto connection = std::make_shared<SNRequestConnection>();
    connection->addRequest(std::make_shared<SNRequest>(first, "a"), recordInto(outcomes));
    connection->addRequest(std::make_shared<SNRequest>(second, "b"), recordInto(outcomes));
    connection->start();
    ASSERT_TRUE(waitFor(outcomes, 2));
    ASSERT_TRUE(outcomes[1].error);
    EXPECT_EQ(outcomes[1].error->code, 5);
    EXPECT_TRUE(first->isOpen()) << "element 0 carries no invalid token";
    EXPECT_EQ(second->state(), SNSessionState::Closed);
}

TEST_F(SNRequestCompletionTest, ACompletedRequestStartsATokenExtensionThatIsDue) {
    auto session = openSession("TOKEN-1", true);
    network_.answerGraph("/me", R"({"id":"4"})");
    advance(2 * 86400);
    std::vector<Outcome> outcomes;
    // Answered through the cache road, which piggybacks nothing at the start.
    auto connection = std::make_shared<SNRequestConnection>();
    connection->addRequest(std::make_shared<SNRequest>(session, "me"), recordInto(outcomes));
    connection->startWithCacheIdentity(std::string("due"), false);
    ASSERT_TRUE(waitFor(outcomes, 1));
    ASSERT_EQ(connection->requests().size(), 1u);
    ASSERT_TRUE(
        platform::RunLoop::main().runUntil([&] { return http_.requests().size() >= 2; }, kavo::test::kStateWait));
    EXPECT_EQ(http_.requests()[1].path.rfind("/method/auth.extendSSOAccessToken?", 0), 0u) << http_.requests()[1].path;
    // Not again within the hour.
    std::vector<Outcome> later;
    auto again = std::make_shared<SNRequestConnection>();
    again->addRequest(std::make_shared<SNRequest>(session, "me"), recordInto(later));
    again->startWithCacheIdentity(std::string("due"), false);
    ASSERT_TRUE(waitFor(later, 1));
    platform::RunLoop::main().runPending();
    size_t extensions = 0;
    for (auto& request : http_.requests())
        extensions += request.path.rfind("/method/auth.extendSSOAccessToken?", 0) == 0;
    EXPECT_EQ(extensions, 1u);
}

TEST_F(SNRequestCompletionTest, AnExtensionAnswerWithoutATokenKeepsTheTokenAndTakesTheDate) {
    auto session = openSession("TOKEN-1", true);
    network_.answerGraph("/", R"([{"code":200,"body":"{\"id\":\"4\"}"},)"
                              R"({"code":200,"body":"{\"expires_at\":2000000000}"}])");
    advance(2 * 86400);
    auto outcomes = send(session, {"me"});
    platform::RunLoop::main().runPending();
    EXPECT_EQ(session->state(), SNSessionState::OpenTokenExtended);
    EXPECT_EQ(session->accessToken(), "TOKEN-1");
    EXPECT_EQ(session->expirationDate(), 2000000000.0);
    auto cached = SNSessionTokenCachingStrategy::defaultInstance()->fetchTokenInformation();
    EXPECT_EQ(cached.get(SNTokenInformationTokenKey).stringValue(), "TOKEN-1");
}

TEST_F(SNRequestCompletionTest, OnlyAStatus200AnswerIsKeptInTheCache) {
    auto session = openSession("TOKEN-1");
    const std::string query = "?migration_bundle=snsdk%3A20121003&format=json&sdk=ios&access_token=TOKEN-1";
    for (int status : {200, 201, 204, 304, 404, 500}) {
        const std::string path = "/s" + std::to_string(status);
        network_.answerGraph(path, R"({"id":"4"})", status);
        std::vector<Outcome> outcomes;
        auto connection = std::make_shared<SNRequestConnection>();
        connection->addRequest(std::make_shared<SNRequest>(session, path.substr(1)), recordInto(outcomes));
        connection->startWithCacheIdentity(std::string("kept"), true);
        ASSERT_TRUE(waitFor(outcomes, 1)) << status;
        SNDataDiskCache::sharedCache().waitUntilIdle();
        const auto stored =
            SNDataDiskCache::sharedCache().dataForURL("SNRequestCache://kept/" + network_.graphBase() + path + query);
        EXPECT_EQ(stored.has_value(), status == 200) << status;
    }
}

TEST_F(SNRequestCompletionTest, AnInvalidTokenOnTheLegacyRoadExpiresTheRequestAndClosesTheSession) {
    network_.answerGraph("/me", R"({"error":{"code":190,"message":"expired"}})", 400);
    LegacyDelegate delegate;
    auto session = openSession();
    auto request = std::make_shared<SNRequest>(session, "me");
    request->setDelegate(&delegate);
    request->startWithCompletionHandler(nullptr);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return request->state() == SNRequest::State::Complete; },
                                                   kavo::test::kStateWait));
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"loading", "fail 5"}));
    EXPECT_TRUE(request->sessionDidExpire());
    EXPECT_FALSE(session->isOpen());

    // Any other failure leaves the session open.
    network_.answerGraph("/me", R"({"error":{"code":100,"message":"bad"}})", 400);
    LegacyDelegate other;
    auto open = openSession("TOKEN-2");
    auto second = std::make_shared<SNRequest>(open, "me");
    second->setDelegate(&other);
    second->startWithCompletionHandler(nullptr);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return second->state() == SNRequest::State::Complete; },
                                                   kavo::test::kStateWait));
    EXPECT_FALSE(second->sessionDidExpire());
    EXPECT_TRUE(open->isOpen());
}

} // namespace
} // namespace socialnet::test
