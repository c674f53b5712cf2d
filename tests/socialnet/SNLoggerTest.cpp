#include "sdk/socialnet/SNLogger.h"

#include "platform/runtime/Log.h"
#include "sdk/socialnet/SNSettings.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace socialnet {
namespace {

// Each test starts as a fresh process would: no behaviour on, counters reset, and
// the platform log captured.
class SNLoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SNLogger::resetClassStateForTesting();
        SNSettings::setLoggingBehavior(std::nullopt);
        platform::setLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    void TearDown() override {
        platform::setLogSink({});
        SNSettings::setLoggingBehavior(std::nullopt);
        SNLogger::resetClassStateForTesting();
    }
    static void turnOn(SNSettings::Behaviors behaviors) { SNSettings::setLoggingBehavior(std::move(behaviors)); }

    std::vector<std::string> lines;
};

TEST_F(SNLoggerTest, WithTheDefaultSettingsNothingIsLogged) {
    for (auto* name : {SNLoggingBehaviorSNRequests, SNLoggingBehaviorSNURLConnections, SNLoggingBehaviorAccessTokens,
                       SNLoggingBehaviorSessionStateTransitions, SNLoggingBehaviorPerformanceCharacteristics})
        EXPECT_FALSE(SNSettings::isLoggingBehaviorOn(name)) << name;
    EXPECT_EQ(SNSettings::loggingBehavior(), std::nullopt);
    EXPECT_TRUE(SNSettings::shouldAutoPublishInstall());
    SNLogger logger("sn_requests");
    logger.appendString("x");
    logger.emitToNSLog();
    SNLogger::singleShotLogEntry("sn_requests", "y");
    EXPECT_TRUE(lines.empty());
}

TEST_F(SNLoggerTest, ALoggerMadeWhileOffStaysInactive) {
    SNLogger early("sn_requests");
    turnOn({"sn_requests"});
    early.appendString("ignored");
    early.emitToNSLog();
    EXPECT_FALSE(early.isActive());
    EXPECT_EQ(early.contents(), std::nullopt);
    EXPECT_EQ(early.loggerSerialNumber(), 0u);
    EXPECT_TRUE(lines.empty());

    SNLogger first("sn_requests");
    SNLogger second("sn_requests");
    SNLogger other("state_transitions");
    EXPECT_EQ(first.loggerSerialNumber(), 1111u);
    EXPECT_EQ(second.loggerSerialNumber(), 1112u);
    EXPECT_FALSE(other.isActive());
    EXPECT_EQ(SNLogger::newSerialNumber(), 1113u);
}

TEST_F(SNLoggerTest, EntriesAreMaskedThenCutAtTenThousandCharacters) {
    turnOn({"sn_requests"});
    SNLogger logger("sn_requests");
    logger.appendString(std::string(10000, 'a'));
    logger.emitToNSLog();
    EXPECT_EQ(logger.contents(), "");
    logger.appendString(std::string(10001, 'b'));
    logger.emitToNSLog();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "SNSDKLog: " + std::string(10000, 'a'));
    EXPECT_EQ(lines[1], "SNSDKLog: TRUNCATED: " + std::string(10000, 'b'));

    // The token is replaced before the length is measured: 9990 + 20 characters fit.
    std::string token(40, 't');
    SNLogger::registerStringToReplace(token, "ACCESS_TOKEN_REMOVED");
    logger.setContents(std::string(9980, 'c') + token);
    logger.emitToNSLog();
    EXPECT_EQ(lines[2], "SNSDKLog: " + std::string(9980, 'c') + "ACCESS_TOKEN_REMOVED");
    SNLogger::registerStringToReplace(token, std::nullopt);
    logger.setContents(token);
    logger.emitToNSLog();
    EXPECT_EQ(lines[3], "SNSDKLog: " + token);
}

TEST_F(SNLoggerTest, ReplacementsAreKeptOnlyWhileSomeBehaviourIsOn) {
    SNLogger::registerStringToReplace("secret", "MASKED");
    turnOn({"perf_characteristics"});
    SNLogger::singleShotLogEntry("perf_characteristics", "a secret");
    SNLogger::registerStringToReplace("secret", "MASKED");
    SNLogger::singleShotLogEntry("perf_characteristics", "a secret");
    EXPECT_EQ(lines, (std::vector<std::string>{"SNSDKLog: a secret", "SNSDKLog: a MASKED"}));
}

TEST_F(SNLoggerTest, KeyValueLinesSkipEmptyValues) {
    turnOn({"sn_requests"});
    SNLogger logger("sn_requests");
    logger.appendKey("URL", "http://127.0.0.1/me");
    logger.appendKey("Body", "");
    logger.appendFormat("%s=%d", "n", 5);
    EXPECT_EQ(logger.contents(), "  URL:\thttp://127.0.0.1/me\nn=5");
    EXPECT_EQ(logger.loggingBehavior(), "sn_requests");
}

TEST_F(SNLoggerTest, ElapsedTimeEntriesNeedARegisteredTag) {
    turnOn({"perf_characteristics"});
    SNLogger::singleShotLogEntryTimestamp("perf_characteristics", 7, "never registered ");
    SNLogger::registerCurrentTime("perf_characteristics", 8);
    SNLogger::singleShotLogEntryTimestamp("perf_characteristics", 8, "%s took ", "login");
    SNLogger::singleShotLogEntryTimestamp("perf_characteristics", 8, "used twice ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex("SNSDKLog: login took [0-9]+ msec"))) << lines[0];
}

TEST_F(SNLoggerTest, ManyOutstandingTagsAreWarnedAbout) {
    turnOn({"perf_characteristics"});
    for (uint64_t tag = 0; tag < 1000; ++tag)
        SNLogger::registerCurrentTime("perf_characteristics", tag);
    EXPECT_TRUE(lines.empty());
    SNLogger::registerCurrentTime("perf_characteristics", 1000);
    EXPECT_EQ(lines, std::vector<std::string>{"SNConditionalLog: Unexpectedly large number of outstanding perf "
                                              "logging start times, something is likely wrong."});
}

} // namespace
} // namespace socialnet
