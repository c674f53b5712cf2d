#include "app/Resources.h"
#include "app/SMSDelegate.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/StateWaits.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>

namespace kavo {
namespace {

using platform::SmsResult;

TEST(Connectivity, TheServerListAddressAnsweringMeansTheNetworkIsThere) {
    test::AppEnvironment env;
    test::TestHttpServer web;
    web.serveText("/servers.txt", "Kavo Local|127.0.0.1:12346");
    EXPECT_TRUE(Util::connectedToInternetAt(web.url("/servers.txt")));
    platform::RunLoop::main().runPending();
    EXPECT_EQ(UIController::currentDialog(), nullptr) << "nothing is told";
    EXPECT_TRUE(web.waitForRequests(1, test::kStateWait));
}

TEST(Connectivity, AnAddressThatFailsTellsThePlayerInANoticeOfItsOwn) {
    test::AppEnvironment env;
    Resources::getInstance().loadLanguage();
    std::string address;
    {
        test::TestHttpServer gone;
        address = gone.url("/servers.txt");
    }
    test::TestHttpServer web;
    web.answerStatus(500);
    for (const std::string& url : {address, web.url("/servers.txt"), std::string()}) {
        EXPECT_FALSE(Util::connectedToInternetAt(url)) << url;
        EXPECT_EQ(UIController::currentDialog(), nullptr) << "the notice opens on the main thread, later";
        platform::RunLoop::main().runPending();
        auto dialog = UIController::currentDialog();
        ASSERT_TRUE(dialog) << url;
        EXPECT_EQ(dialog->message(), Resources::getInstance().textWithKey("KAVO_connectFail"));
        EXPECT_FALSE(dialog->message().empty());
        EXPECT_EQ(dialog->numberOfButtons(), 1);
        EXPECT_EQ(test::openDialogCode(), UIController::kActionNone);
        UIController::closeDialog();
    }
}

class SmsFinished : public ::testing::Test {
protected:
    SmsFinished() {
        auto& defaults = platform::UserDefaults::standard();
        defaults.setString("an", "uname");
        defaults.setString("secret", "password");
        SMSDelegate::setSentReporter(
            [this](const std::string& body, const std::string& to) { reports_.push_back(body + " -> " + to); });
    }
    ~SmsFinished() override { SMSDelegate::setSentReporter(nullptr); }
    std::string stored(const char* key) { return platform::UserDefaults::standard().stringForKey(key); }

    test::AppEnvironment env_;
    std::vector<std::string> reports_;
};

TEST_F(SmsFinished, ARegistrationMessageNotSentKeepsTheRememberedAccount) {
    for (SmsResult result : {SmsResult::Cancelled, SmsResult::Failed}) {
        SMSDelegate(SMSDelegate::kModeRegistration).messageComposeDidFinish(result, "DK moi", "8077");
        EXPECT_EQ(stored("uname"), "an");
        EXPECT_EQ(stored("password"), "secret");
    }
    EXPECT_TRUE(reports_.empty());
}

TEST_F(SmsFinished, ACancelledRequestKeepsTheAccount) {
    SMSDelegate(SMSDelegate::kModeRequest).messageComposeDidFinish(SmsResult::Cancelled, "MK an", "8077");
    EXPECT_EQ(stored("uname"), "an");
    EXPECT_EQ(stored("password"), "secret");
}

TEST_F(SmsFinished, OnlyAnOrdinarySentMessageIsReportedToTheServer) {
    SMSDelegate(SMSDelegate::kModeRegistration).messageComposeDidFinish(SmsResult::Sent, "DK an", "8077");
    SMSDelegate(SMSDelegate::kModeRequest).messageComposeDidFinish(SmsResult::Sent, "MK an", "8077");
    SMSDelegate(2).messageComposeDidFinish(SmsResult::Sent, "NAP an", "8777");
    SMSDelegate(2).messageComposeDidFinish(SmsResult::Failed, "NAP an", "8777");
    EXPECT_EQ(reports_, std::vector<std::string>{"NAP an -> 8777"});
    EXPECT_EQ(stored("uname"), "an");
}

TEST_F(SmsFinished, ThePlayerIsToldHowItWentInAPlainNotice) {
    EXPECT_STREQ(SMSDelegate::resultTextKey(SmsResult::Cancelled, 1), "KAVO_cancelSendMessage");
    EXPECT_STREQ(SMSDelegate::resultTextKey(SmsResult::Failed, 0), "KAVO_cantSendMessage");
    EXPECT_STREQ(SMSDelegate::resultTextKey(SmsResult::Sent, 1), "KAVO_sendMessageRegistrySuccess");
    EXPECT_STREQ(SMSDelegate::resultTextKey(SmsResult::Sent, 0), "KAVO_requestSendMessageSuccess");
    EXPECT_STREQ(SMSDelegate::resultTextKey(SmsResult::Sent, 7), "KAVO_sendMessageSuccess");

    SMSDelegate(2).messageComposeDidFinish(SmsResult::Sent, "NAP an", "8777");
    EXPECT_EQ(UIController::currentDialog(), nullptr) << "the notice opens on the main thread, later";
    platform::RunLoop::main().runPending();
    ASSERT_TRUE(UIController::currentDialog());
    EXPECT_EQ(test::openDialogCode(), UIController::kActionNone);
    UIController::closeDialog();
}

} // namespace
} // namespace kavo
