// Answers of unusual shapes, and what a failed graph request leaves in the log.
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "sdk/socialnet/SNGraphObjectArray.h"
#include "sdk/socialnet/SNSettings.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "tests/socialnet/SNRequestTestSupport.h"

namespace socialnet::test {
namespace {

class SNRequestAnswersTest : public RequestFixture {};

TEST_F(SNRequestAnswersTest, AnArrayBodyReachesTheHandlerAsAWrappedArray) {
    network_.answerGraph("/me/friends", R"([{"id":"7","name":"Lan"},{"id":"8"}])");
    auto outcomes = send(openSession(), {"me/friends"});
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].error, nullptr);
    ASSERT_TRUE(outcomes[0].result.isArray());
    EXPECT_EQ(outcomes[0].result.description(), "({id = 7; name = Lan; }, {id = 8; })");
}

TEST_F(SNRequestAnswersTest, ABatchElementWithAnArrayBodyGetsItsResult) {
    network_.answerGraph("/", R"([{"code":200,"body":"[1,2]"},{"code":200,"body":"{\"id\":\"2\"}"}])");
    auto outcomes = send(openSession(), {"a", "b"});
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].error, nullptr);
    ASSERT_TRUE(outcomes[0].result.isArray());
    EXPECT_EQ(outcomes[0].result.array()->count(), 2u);
    EXPECT_EQ(outcomes[1].result.description(), "{id = 2; }");
}

struct TextualCode {
    const char* code;
    int expectedError; // 0: none
    const char* status;
};

TEST_F(SNRequestAnswersTest, ATextualCodeCountsByItsLeadingInteger) {
    const TextualCode cases[] = {
        {R"("404")", 5, "404"},
        {R"(" 500 Internal")", 5, "500"},
        {R"("200")", 0, ""},
        {R"("204 No Content")", 0, ""},
        {R"("abc")", 5, "0"},
        {R"("-3")", 5, "-3"},
        {R"("99999999999999")", 5, "2147483647"},
    };
    for (auto& c : cases) {
        network_.answerGraph("/", std::string(R"([{"code":)") + c.code + R"(,"body":"{}"},{"code":200,"body":"{}"}])");
        auto outcomes = send(openSession(), {"x", "y"});
        ASSERT_EQ(outcomes.size(), 2u) << c.code;
        if (!c.expectedError) {
            EXPECT_EQ(outcomes[0].error, nullptr) << c.code;
            continue;
        }
        ASSERT_TRUE(outcomes[0].error) << c.code;
        EXPECT_EQ(outcomes[0].error->code, c.expectedError) << c.code;
        EXPECT_EQ(outcomes[0].error->info("com.socialnet.sdk:HTTPStatusCode"), c.status) << c.code;
    }
}

TEST_F(SNRequestAnswersTest, AGraphRequestToARefusedPortLeavesNoTokenInTheLog) {
    uint16_t closedPort;
    {
        kavo::test::TestHttpServer gone;
        closedPort = gone.port();
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(closedPort);
    platform::writeFileAtomically(bundle_ + "/Info.plist",
                                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                                  "<key>SocialNetGraphURL</key><string>" +
                                      base + "</string>\n<key>SocialNetRestURL</key><string>" + base +
                                      "</string>\n</dict>\n</plist>\n");
    platform::Bundle::main().setMainPath(bundle_);
    for (bool logRequests : {false, true}) {
        if (logRequests) SNSettings::setLoggingBehavior(SNSettings::Behaviors{SNLoggingBehaviorSNRequests});
        auto outcomes = send(openSession("SECRET-TOKEN-55"), {"me"});
        ASSERT_EQ(outcomes.size(), 1u);
        ASSERT_TRUE(outcomes[0].error);
        EXPECT_EQ(outcomes[0].error->code, 5);
        outcomes = send(openSession("SECRET-TOKEN-56"), {"me", "me/friends"});
        ASSERT_EQ(outcomes.size(), 2u);
    }
    bool sawAddress = false;
    for (auto& line : logLines) {
        EXPECT_EQ(line.find("SECRET-TOKEN"), std::string::npos) << line;
        sawAddress = sawAddress || line.find(base + "/me failed") != std::string::npos;
    }
    EXPECT_TRUE(sawAddress);
}

} // namespace
} // namespace socialnet::test
