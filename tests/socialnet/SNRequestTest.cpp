#include "sdk/socialnet/SNDataDiskCache.h"
#include "sdk/socialnet/SNGraphObject.h"
#include "sdk/socialnet/SNImageValue.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNJSON.h"
#include "tests/socialnet/SNRequestTestSupport.h"

#include <algorithm>

namespace socialnet::test {
namespace {

using kavo::test::FakeSocialNetwork;
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const SNDictionaryPtr& dictionary) {
    Pairs pairs;
    for (auto& key : dictionary->keys())
        pairs.emplace_back(key.description(), dictionary->objectForKey(key).description());
    return pairs;
}

std::string header(const std::string& headers, const std::string& name) {
    size_t at = headers.find(name + ": ");
    if (at == std::string::npos) return {};
    at += name.size() + 2;
    return headers.substr(at, headers.find("\r\n", at) - at);
}

SNValue parseJson(const std::string& text) {
    SNJSON json;
    return json.objectWithString(std::string_view(text)).value_or(SNValue());
}

class SNRequestTest : public RequestFixture {};

TEST_F(SNRequestTest, ANewRequestCarriesOnlyTheMigrationBundle) {
    auto request = std::make_shared<SNRequest>();
    EXPECT_EQ(pairsOf(request->parameters()), (Pairs{{"migration_bundle", "snsdk:20121003"}}));
    EXPECT_EQ(request->HTTPMethod(), "GET");
    EXPECT_EQ(request->session(), nullptr);
    EXPECT_EQ(request->graphPath(), std::nullopt);
    request->setGraphObject(SNGraphObject::graphObject());
    EXPECT_EQ(request->HTTPMethod(), "POST");
    EXPECT_EQ(request->description().find("<SNRequest: 0x"), 0u);
    EXPECT_NE(request->description().find(", HTTPMethod: POST, parameters: {"), std::string::npos)
        << request->description();
}

TEST_F(SNRequestTest, TheClassBuildersNameTheirPathsMethodsAndParameters) {
    auto session = openSession();
    SNSession::setActiveSession(session);
    auto tag = [](const char* id) {
        auto object = SNDictionary::make();
        object->setObject(id, "id");
        return SNValue(object);
    };
    struct Case {
        std::shared_ptr<SNRequest> request;
        std::string path;
        std::string method;
        Pairs parameters;
    };
    const std::string bundle = "snsdk:20121003";
    std::vector<Case> cases{
        {SNRequest::requestForMe(), "me", "GET", {{"migration_bundle", bundle}}},
        {SNRequest::requestForMyFriends(),
         "me/friends",
         "GET",
         {{"migration_bundle", bundle}, {"fields", "id,name,username,first_name,last_name"}}},
        {SNRequest::requestForPostStatusUpdate("hi", tag("77"), {tag("1"), tag("2")}),
         "me/feed",
         "POST",
         {{"migration_bundle", bundle}, {"message", "hi"}, {"place", "77"}, {"tags", "1,2"}}},
        {SNRequest::requestForPostStatusUpdate("hi"),
         "me/feed",
         "POST",
         {{"migration_bundle", bundle}, {"message", "hi"}}},
        {SNRequest::requestForPlacesSearch(10.5, -20.25, 1000, 20, "pho"),
         "search",
         "GET",
         {{"migration_bundle", bundle},
          {"type", "place"},
          {"limit", "20"},
          {"center", "10.500000,-20.250000"},
          {"distance", "1000"},
          {"q", "pho"}}},
        {SNRequest::requestForPlacesSearch(1, 2, 3, 4, ""),
         "search",
         "GET",
         {{"migration_bundle", bundle},
          {"type", "place"},
          {"limit", "4"},
          {"center", "1.000000,2.000000"},
          {"distance", "3"}}},
    };
    for (auto& c : cases) {
        EXPECT_EQ(c.request->graphPath(), c.path);
        EXPECT_EQ(c.request->HTTPMethod(), c.method) << c.path;
        EXPECT_EQ(pairsOf(c.request->parameters()), c.parameters) << c.path;
        EXPECT_EQ(c.request->session(), session);
    }
    auto photo = SNRequest::requestForUploadPhoto(nullptr);
    EXPECT_EQ(photo->graphPath(), "me/photos");
    EXPECT_EQ(photo->HTTPMethod(), "POST");
    EXPECT_TRUE(SNImageValue::from(photo->parameters()->objectForKey("picture")));
}

TEST_F(SNRequestTest, OneGetForMeGoesToItsPathWithTheTokenAndNoBody) {
    auto session = openSession("TOKEN-1");
    network_.answerGraph("/me", "{\"id\":\"4\"}");
    std::vector<Outcome> outcomes;
    auto request = std::make_shared<SNRequest>(session, "me");
    auto connection = request->startWithCompletionHandler(recordInto(outcomes));
    ASSERT_TRUE(waitFor(outcomes, 1));
    auto sent = http_.requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].method, "GET");
    EXPECT_EQ(sent[0].path, "/me?migration_bundle=snsdk%3A20121003&format=json&sdk=ios&access_token=TOKEN-1");
    EXPECT_EQ(sent[0].body, "");
    EXPECT_EQ(header(sent[0].headers, "User-Agent"), "SNSDK.3.1.1");
    EXPECT_EQ(header(sent[0].headers, "Content-Type"),
              "multipart/form-data; boundary=3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f");
    EXPECT_EQ(outcomes[0].error, nullptr);
    ASSERT_TRUE(outcomes[0].result.isDictionary());
    EXPECT_EQ(outcomes[0].result.dictionary()->objectForKey("id").string(), "4");
    EXPECT_EQ(connection->state(), SNRequestConnection::State::Completed);
}

TEST_F(SNRequestTest, APostSendsItsTextFieldsThenItsFiles) {
    auto session = openSession();
    network_.answerGraph("/me/feed", "{\"id\":\"9\"}");
    auto parameters = SNDictionary::make();
    parameters->setObject("hello", "message");
    parameters->setObject(SNValue::data({1, 2, 3}), "blob");
    std::vector<Outcome> outcomes;
    auto request = std::make_shared<SNRequest>(session, "me/feed", parameters, "post");
    request->startWithCompletionHandler(recordInto(outcomes));
    ASSERT_TRUE(waitFor(outcomes, 1));
    auto sent = http_.requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].method, "POST");
    auto parts = FakeSocialNetwork::readForm(sent[0].body);
    std::vector<std::string> names;
    for (auto& part : parts)
        names.push_back(part.name + "=" + (part.fileName.empty() ? part.content : "<" + part.contentType + ">"));
    EXPECT_EQ(names, (std::vector<std::string>{"migration_bundle=snsdk:20121003", "message=hello", "format=json",
                                               "sdk=ios", "access_token=TOKEN-1", "blob=<content/unknown>"}));
}

TEST_F(SNRequestTest, GraphObjectsFlattenByTheirRules) {
    using Seen = std::vector<std::pair<std::string, std::string>>;
    auto flatten = [](const std::string& json, const std::string& path) {
        Seen seen;
        SNRequestConnection::processGraphObject(
            parseJson(json).dictionary(), path,
            [&](const std::string& key, const SNValue& value) { seen.emplace_back(key, value.description()); });
        return seen;
    };
    const std::string object = R"({"image":{"url":"u","w":2},"place":{"id":12},"friend":{"url":"f"},)"
                               R"("none":{"x":1},"tags":[1,"b"],"n":3.5,"flag":true})";
    EXPECT_EQ(flatten(object, "me/app:cook"), (Seen{{"image[url]", "u"},
                                                    {"image[w]", "2"},
                                                    {"place", "12"},
                                                    {"friend", "f"},
                                                    {"tags[0]", "1"},
                                                    {"tags[1]", "b"},
                                                    {"n", "3.5"}}));
    // Not an action (no ":" at position 4 or later before "?"): the image goes by reference.
    EXPECT_EQ(flatten(R"({"image":{"url":"u","w":2}})", "me/feed?x=a:b"), (Seen{{"image", "u"}}));
    EXPECT_EQ(flatten(R"({"image":{"url":"u"}})", "/me/app:cook"), (Seen{{"image[url]", "u"}}));
    EXPECT_EQ(flatten(R"({"a":{"b":[{"id":"7"}]}})", "me/app:do"), (Seen{}));
    EXPECT_EQ(flatten(R"({"a":[{"id":"7"},{"url":"w"}]})", "me/x"), (Seen{{"a[0]", "7"}, {"a[1]", "w"}}));
}

TEST_F(SNRequestTest, TwoRequestsGoAsOneBatchWithNumberedFiles) {
    auto session = openSession("TOKEN-1");
    network_.answerGraph("/", R"([{"code":200,"body":"{\"id\":\"4\"}"},{"code":200,"body":"{\"id\":\"5\"}"}])");
    auto withFile = SNDictionary::make();
    withFile->setObject(SNValue::data({9}), "source");
    auto graphObject = SNGraphObject::graphObject();
    graphObject->setObject("a b", "message");
    std::vector<Outcome> outcomes;
    auto connectionPtr = std::make_shared<SNRequestConnection>();
    connectionPtr->addRequest(std::make_shared<SNRequest>(session, "me/photos", withFile, "post"), recordInto(outcomes),
                              std::string("first"));
    auto post = SNRequest::initForPost(nullptr, "me/feed", graphObject);
    post->parameters()->setObject(SNValue::data({8}), "other");
    connectionPtr->addRequest(post, recordInto(outcomes));
    connectionPtr->start();
    ASSERT_TRUE(waitFor(outcomes, 2));
    auto sent = http_.requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].method, "POST");
    EXPECT_EQ(sent[0].path, "/");
    auto parts = FakeSocialNetwork::readForm(sent[0].body);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].name, "batch_app_id");
    EXPECT_EQ(parts[0].content, "123");
    EXPECT_EQ(parts[1].name, "batch");
    EXPECT_EQ(parts[2].fileName, "file0");
    EXPECT_EQ(parts[2].content, std::string(1, '\x09'));
    EXPECT_EQ(parts[3].fileName, "file1");
    auto batch = parseJson(parts[1].content);
    ASSERT_TRUE(batch.isArray());
    ASSERT_EQ(batch.array()->count(), 2u);
    auto first = batch.array()->objectAtIndex(0).dictionary();
    auto second = batch.array()->objectAtIndex(1).dictionary();
    EXPECT_EQ(first->objectForKey("name").string(), "first");
    EXPECT_EQ(first->objectForKey("method").string(), "post");
    EXPECT_EQ(first->objectForKey("relative_url").string(),
              "me/photos?migration_bundle=snsdk%3A20121003&format=json&sdk=ios&access_token=TOKEN-1");
    EXPECT_EQ(first->objectForKey("attached_files").string(), "file0");
    EXPECT_FALSE(second->containsKey("name"));
    EXPECT_EQ(second->objectForKey("body").string(), "message=a%20b");
    EXPECT_EQ(second->objectForKey("attached_files").string(), "file1");
    EXPECT_EQ(outcomes[1].result.dictionary()->objectForKey("id").string(), "5");
}

TEST_F(SNRequestTest, ABatchNeedsAnAppIdAndAConnectionNeedsARequest) {
    SNSession::setDefaultAppID(std::nullopt);
    auto raised = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const SNInvalidOperationException& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    auto empty = std::make_shared<SNRequestConnection>();
    EXPECT_EQ(raised([&] { empty->urlRequest(); }),
              "SNRequestConnection: Must have at least one request or urlRequest not specified.");
    auto batch = std::make_shared<SNRequestConnection>();
    batch->addRequest(std::make_shared<SNRequest>(nullptr, "a"), nullptr);
    batch->addRequest(std::make_shared<SNRequest>(nullptr, "b"), nullptr);
    EXPECT_EQ(raised([&] { batch->urlRequest(); }),
              "SNRequestConnection: At least one request in a batch must have an open SNSession, or a default app "
              "ID must be specified.");
    SNSession::setDefaultAppID(std::string("555"));
    auto parts = FakeSocialNetwork::readForm(batch->urlRequest().body);
    ASSERT_FALSE(parts.empty());
    EXPECT_EQ(parts[0].content, "555");
}

TEST_F(SNRequestTest, ASessionDueForExtensionPiggybacksTheExtension) {
    auto session = openSession("TOKEN-1", true);
    network_.answerGraph("/", R"([{"code":200,"body":"{\"id\":\"4\"}"},)"
                              R"({"code":200,"body":"{\"access_token\":\"TOKEN-2\",\"expires_at\":2000000000}"}])");
    advance(2 * 86400);
    std::vector<Outcome> outcomes;
    auto connection = std::make_shared<SNRequestConnection>();
    connection->addRequest(std::make_shared<SNRequest>(session, "me"), recordInto(outcomes));
    connection->start();
    ASSERT_EQ(connection->requests().size(), 2u);
    EXPECT_EQ(connection->requests()[1].request->restMethod(), "auth.extendSSOAccessToken");
    ASSERT_TRUE(waitFor(outcomes, 1));
    platform::RunLoop::main().runPending();
    auto batch = parseJson(FakeSocialNetwork::readForm(http_.requests()[0].body)[1].content);
    EXPECT_EQ(batch.array()->objectAtIndex(1).dictionary()->objectForKey("relative_url").string(),
              "method/auth.extendSSOAccessToken?migration_bundle=snsdk%3A20121003&format=json&sdk=ios&access_token="
              "TOKEN-1");
    EXPECT_EQ(session->state(), SNSessionState::OpenTokenExtended);
    EXPECT_EQ(session->accessToken(), "TOKEN-2");
    EXPECT_EQ(session->expirationDate(), 2000000000.0);

    // Not again within the hour; never beside a REST request or at 50 held.
    advance(2 * 86400);
    auto rest = std::make_shared<SNRequestConnection>();
    rest->addRequest(SNRequest::initWithRestMethod(session, "users.get", nullptr, std::nullopt), nullptr);
    rest->start();
    EXPECT_EQ(rest->requests().size(), 1u);
    auto full = std::make_shared<SNRequestConnection>();
    for (int i = 0; i < 50; ++i)
        full->addRequest(std::make_shared<SNRequest>(session, "me"), nullptr);
    full->start();
    EXPECT_EQ(full->requests().size(), 50u);
    session->close(); // no extension from the cancellations below
    full->cancel();
    rest->cancel();
}

TEST_F(SNRequestTest, MisusedConnectionsAreRefusedAndLogged) {
    auto connection = std::make_shared<SNRequestConnection>();
    connection->cancel();
    EXPECT_EQ(connection->state(), SNRequestConnection::State::Cancelled);
    connection->addRequest(std::make_shared<SNRequest>(nullptr, "me"), nullptr);
    connection->start();
    connection->setUrlRequest(platform::HttpRequest::get("http://127.0.0.1/"));
    EXPECT_EQ(connection->requests().size(), 0u);
    EXPECT_EQ(connection->state(), SNRequestConnection::State::Cancelled);
    EXPECT_EQ(logLines, (std::vector<std::string>{
                            "SNRequestConnection: internal inconsistency: Requests must be added before starting or "
                            "cancelling.",
                            "SNRequestConnection: internal inconsistency: Cannot call start again after calling "
                            "start or cancel.",
                            "SNRequestConnection: internal inconsistency: Cannot set urlRequest after starting or "
                            "cancelling."}));
    EXPECT_TRUE(http_.requests().empty());
}

TEST_F(SNRequestTest, AResultWithACacheIdentityIsAnsweredFromTheCacheLater) {
    auto session = openSession("TOKEN-1");
    network_.answerGraph("/me", "{\"id\":\"4\"}");
    std::vector<Outcome> outcomes;
    auto first = std::make_shared<SNRequestConnection>();
    first->addRequest(std::make_shared<SNRequest>(session, "me"), recordInto(outcomes));
    first->startWithCacheIdentity(std::string("friends"), true);
    ASSERT_TRUE(waitFor(outcomes, 1));
    EXPECT_FALSE(first->isResultFromCache());
    SNDataDiskCache::sharedCache().waitUntilIdle();
    EXPECT_EQ(SNDataDiskCache::sharedCache().dataForURL(
                  "SNRequestCache://friends/" + network_.graphBase() +
                  "/me?migration_bundle=snsdk%3A20121003&format=json&sdk=ios&access_token=TOKEN-1"),
              "{\"id\":\"4\"}");

    auto second = std::make_shared<SNRequestConnection>();
    second->addRequest(std::make_shared<SNRequest>(session, "me"), recordInto(outcomes));
    second->startWithCacheIdentity(std::string("friends"), true);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(second->isResultFromCache());
    EXPECT_EQ(outcomes[1].result.dictionary()->objectForKey("id").string(), "4");
    EXPECT_EQ(http_.requests().size(), 1u);
}

} // namespace
} // namespace socialnet::test
