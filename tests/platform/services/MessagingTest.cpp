#include "ServicesTestSupport.h"
#include "platform/services/AccountStore.h"
#include "platform/services/AdvertisingId.h"
#include "platform/services/LocalNotifications.h"
#include "platform/services/Pasteboard.h"
#include "platform/services/PlatformServices.h"
#include "platform/services/SmsComposer.h"
#include "platform/services/UrlOpener.h"
#include "platform/ui/Application.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class SmsTest : public services_test::MainLoopTest {
protected:
    void SetUp() override {
        MainLoopTest::SetUp();
        SmsComposer::clearRecord();
    }
    void TearDown() override {
        SmsComposer::setTestResult(std::nullopt);
        MainLoopTest::TearDown();
    }
};

TEST_F(SmsTest, ThisMachineCannotSendSoAComposerReportsFailedOnTheRunLoop) {
    EXPECT_FALSE(SmsComposer::canSendText());
    std::optional<SmsResult> result;
    SmsComposer::present({"8077"}, "KAVO DK an", [&](SmsResult r) { result = r; });
    EXPECT_FALSE(result) << "the result must not arrive inline";
    runPosted();
    EXPECT_EQ(result, SmsResult::Failed);
    ASSERT_EQ(SmsComposer::requests().size(), 1u);
    EXPECT_EQ(SmsComposer::requests()[0].recipients, std::vector<std::string>{"8077"});
    EXPECT_EQ(SmsComposer::requests()[0].body, "KAVO DK an");
}

TEST_F(SmsTest, TheTestChoosesSentOrCancelled) {
    std::vector<SmsResult> results;
    SmsComposer::setTestResult(SmsResult::Sent);
    EXPECT_TRUE(SmsComposer::canSendText());
    SmsComposer::present({"8177", "8277"}, "nap", [&](SmsResult r) { results.push_back(r); });
    SmsComposer::setTestResult(SmsResult::Cancelled);
    SmsComposer::present({"8077"}, "quen mk", [&](SmsResult r) { results.push_back(r); });
    runPosted();
    EXPECT_EQ(results, (std::vector<SmsResult>{SmsResult::Sent, SmsResult::Cancelled}));
    EXPECT_EQ(SmsComposer::requests().size(), 2u);
}

class UrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        UrlOpener::clearRecord();
        UrlOpener::setBrowserLauncher([this](const std::string& url) {
            launched_.push_back(url);
            return browserPresent_;
        });
    }
    void TearDown() override { UrlOpener::setBrowserLauncher(nullptr); }

    std::vector<std::string> launched_;
    bool browserPresent_ = true;
};

TEST_F(UrlTest, DiallingIsRefused) {
    EXPECT_FALSE(UrlOpener::canOpenURL("telprompt:19001234"));
    EXPECT_FALSE(UrlOpener::openURL("telprompt:19001234"));
    EXPECT_FALSE(UrlOpener::openURL("tel:19001234"));
    EXPECT_FALSE(UrlOpener::openURL("TEL:19001234"));
    EXPECT_TRUE(launched_.empty());
    ASSERT_EQ(UrlOpener::opened().size(), 3u);
    EXPECT_EQ(UrlOpener::opened()[0].url, "telprompt:19001234");
    EXPECT_FALSE(UrlOpener::opened()[0].opened);
}

TEST_F(UrlTest, WebPagesGoToTheBrowserOrWithoutOneAreLoggedAndCountAsOpened) {
    EXPECT_TRUE(UrlOpener::canOpenURL("https://example.test/su-kien"));
    EXPECT_TRUE(UrlOpener::openURL("https://example.test/su-kien"));
    EXPECT_EQ(launched_, std::vector<std::string>{"https://example.test/su-kien"});
    EXPECT_TRUE(UrlOpener::opened().at(0).handedToBrowser);
    browserPresent_ = false;
    EXPECT_TRUE(UrlOpener::openURL("http://example.test/"));
    EXPECT_TRUE(UrlOpener::opened().at(1).opened);
    EXPECT_FALSE(UrlOpener::opened().at(1).handedToBrowser);
}

TEST_F(UrlTest, OtherSchemesAndBrokenAddressesCannotBeOpened) {
    EXPECT_FALSE(UrlOpener::openURL("sms:8077"));
    EXPECT_FALSE(UrlOpener::openURL("no scheme at all"));
    EXPECT_FALSE(UrlOpener::openURL("http:"));
    EXPECT_FALSE(UrlOpener::openURL(""));
    EXPECT_TRUE(launched_.empty());
}

TEST(Pasteboard, GeneralAndNamedBoardsKeepTheirOwnText) {
    Pasteboard::general().setString("KAVO DK an 123");
    Pasteboard::named("game").setString("Tiến lên");
    EXPECT_EQ(Pasteboard::general().string(), "KAVO DK an 123");
    EXPECT_EQ(Pasteboard::named("game").string(), "Tiến lên");
    EXPECT_EQ(&Pasteboard::named("game"), &Pasteboard::named("game"));
    Pasteboard::named("game").clear();
    EXPECT_FALSE(Pasteboard::named("game").hasString());
    EXPECT_TRUE(Pasteboard::general().hasString());
}

class SystemAccountsTest : public services_test::MainLoopTest {};

TEST_F(SystemAccountsTest, NoAccountsAndAccessIsRefused) {
    EXPECT_TRUE(AccountStore::accountsOfType("socialnet").empty());
    std::optional<bool> granted;
    AccountStore::requestAccess("socialnet", [&](bool ok, std::string) { granted = ok; });
    EXPECT_FALSE(granted);
    runPosted();
    EXPECT_EQ(granted, false);
    EXPECT_EQ(AdvertisingId::identifier(), "");
    EXPECT_FALSE(AdvertisingId::isTrackingEnabled());
}

TEST(LocalNotifications, ScheduledRemindersAreKeptUntilCancelled) {
    LocalNotifications::cancelAll();
    LocalNotification reminder;
    reminder.body = "Kavo Online goi loi chao den ban!";
    reminder.badgeNumber = 1;
    reminder.repeatInterval = RepeatInterval::Weekday;
    reminder.userInfo["someKey"] = "someValue";
    LocalNotifications::schedule(reminder);
    ASSERT_EQ(LocalNotifications::scheduled().size(), 1u);
    EXPECT_EQ(LocalNotifications::scheduled()[0].userInfo.at("someKey"), "someValue");
    LocalNotifications::cancelAll();
    EXPECT_TRUE(LocalNotifications::scheduled().empty());
}

} // namespace

namespace {

TEST_F(UrlTest, TheApplicationOpensAddressesThroughTheServices) {
    installPlatformServices();
    EXPECT_FALSE(ui::Application::shared().openURL("telprompt:19001234"));
    EXPECT_TRUE(ui::Application::shared().openURL("https://example.test/huong-dan"));
    EXPECT_EQ(launched_, std::vector<std::string>{"https://example.test/huong-dan"});
    EXPECT_EQ(UrlOpener::opened().size(), 2u);
}

} // namespace
