// The purchase helper and the pending receipts it keeps on disk: what a store
// purchase leaves behind before the store is told it is done.
#include "account/IAPHelper.h"
#include "account/KavoIAPHelper.h"
#include "account/PendingReceipts.h"
#include "app/Resources.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PaymentQueue.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <ctime>

using namespace kavo;
using namespace kavo::test;

namespace {

class PurchaseHelper : public ClientFixture {
protected:
    platform::PaymentQueue& queue = platform::PaymentQueue::defaultQueue();
    IAPHelper& helper = KavoIAPHelper::sharedHelper();
    std::vector<std::string> events;
    std::vector<platform::NotificationCenter::Token> tokens;

    void SetUp() override {
        ClientFixture::SetUp();
        queue.resetForTesting();
        queue.addObserver(&helper);
        platform::UserDefaults::standard().setString("an", PendingReceipts::kUserKey);
        Resources::getInstance().setCurrentPurchaseName("Goi 20000");
        auto& center = platform::NotificationCenter::defaultCenter();
        tokens.push_back(center.addObserver(IAPHelper::kProductPurchased, [this](const platform::Notification& n) {
            // What is on disk and what the store still holds when the news goes out.
            platform::UserDefaults disk(dataPath() + "/defaults.plist");
            events.push_back("purchased " + n.userInfo["receipt"].stringValue() + " stored " +
                             std::to_string(disk.objectForKey(PendingReceipts::kListKey).arrayValue().size()) +
                             " unfinished " + std::to_string(queue.transactions().size()));
        }));
        tokens.push_back(center.addObserver(IAPHelper::kProductPurchaseFailed, [this](const platform::Notification& n) {
            events.push_back("failed " + std::to_string(n.userInfo["errorCode"].intValue()));
        }));
    }
    void TearDown() override {
        for (auto token : tokens)
            platform::NotificationCenter::defaultCenter().removeObserver(token);
        queue.resetForTesting();
        ClientFixture::TearDown();
    }
    static platform::PaymentTransaction transaction(platform::TransactionState state, const std::string& receipt) {
        platform::PaymentTransaction t;
        t.transactionIdentifier = "t-" + receipt;
        t.productIdentifier = "vn.kavo.online.zel20";
        t.state = state;
        t.receipt.assign(receipt.begin(), receipt.end());
        return t;
    }
};

TEST_F(PurchaseHelper, ReceiptsAreStandardBase64WithPadding) {
    const std::pair<std::string, std::string> vectors[] = {{"M", "TQ=="}, {"Ma", "TWE="}, {"Man", "TWFu"}, {"", ""}};
    for (const auto& [bytes, text] : vectors) {
        EXPECT_EQ(IAPHelper::encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), text) << bytes;
    }
}

TEST_F(PurchaseHelper, APurchaseIsOnDiskBeforeItIsAnnouncedAndFinishedAfter) {
    platform::PaymentQueue::setOutcome(platform::StoreOutcome::Purchased);
    helper.buyProductIdentifier("vn.kavo.online.zel20");
    runPosted();
    ASSERT_EQ(events.size(), 1u);
    // One entry written to the file, the transaction still held by the store.
    ASSERT_NE(events[0].find(" stored"), std::string::npos) << events[0];
    EXPECT_EQ(events[0].substr(events[0].find(" stored")), " stored 1 unfinished 1");
    EXPECT_TRUE(queue.transactions().empty()) << "finished after the announcement";
    const auto entries = PendingReceipts::entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].substr(0, 13), "an;Goi 20000;");
}

TEST_F(PurchaseHelper, TwoPurchasesInOneUpdateAreRecordedInTheirOrder) {
    helper.updatedTransactions(queue, {transaction(platform::TransactionState::Purchased, "a"),
                                       transaction(platform::TransactionState::Purchased, "b")});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].substr(0, 14), "purchased YQ==");
    EXPECT_EQ(events[1].substr(0, 14), "purchased Yg==");
    EXPECT_EQ(PendingReceipts::receiptsOf("an"), (std::vector<std::string>{"YQ==", "Yg=="}));
}

TEST_F(PurchaseHelper, AFailedOrCancelledPaymentIsAnnouncedFinishedAndNotStored) {
    platform::PaymentQueue::setOutcome(platform::StoreOutcome::Failed);
    helper.buyProductIdentifier("vn.kavo.online.zel20");
    platform::PaymentQueue::setOutcome(platform::StoreOutcome::Cancelled);
    helper.buyProductIdentifier("vn.kavo.online.zel50");
    runPosted();
    EXPECT_EQ(events, (std::vector<std::string>{"failed 0", "failed 2"}));
    EXPECT_TRUE(queue.transactions().empty());
    EXPECT_TRUE(PendingReceipts::entries().empty());
}

TEST_F(PurchaseHelper, ARestoredPurchaseIsRecordedAgainAsANewEntry) {
    helper.updatedTransactions(queue, {transaction(platform::TransactionState::Purchased, "a")});
    helper.updatedTransactions(queue, {transaction(platform::TransactionState::Restored, "a")});
    EXPECT_EQ(PendingReceipts::receiptsOf("an"), (std::vector<std::string>{"YQ==", "YQ=="}));
}

TEST_F(PurchaseHelper, AnEntryReadsUserNameReceiptAndLocalDateWithEnglishMonths) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "Asia/Ho_Chi_Minh", 1);
    tzset();
    // 2024-07-03 09:46:40 UTC is 16:46 in Hanoi.
    EXPECT_EQ(PendingReceipts::entryText("an", "Goi 20000", "TWFu", 1720000000),
              "an;Goi 20000;TWFu;Jul 03, 2024 16:46");
    if (old) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

TEST_F(PurchaseHelper, EntriesAreReadFromBothEndsSoANameWithSemicolonsKeepsItsReceipt) {
    struct Case {
        const char* entry;
        bool valid;
        const char* user;
        const char* receipt;
    };
    const Case cases[] = {
        {"an;Goi 20000;TWFu;Jul 03, 2024 16:46", true, "an", "TWFu"},
        {"an;Goi;20;000;TWFu;Jul 03, 2024 16:46", true, "an", "TWFu"},
        {"an;;TWFu;", true, "an", "TWFu"},
        {"an;TWFu;Jul 03", false, "", ""},
        {"no separators", false, "", ""},
    };
    for (const auto& c : cases) {
        const auto entry = PendingReceipts::parse(c.entry);
        ASSERT_EQ(entry.has_value(), c.valid) << c.entry;
        if (!entry) continue;
        EXPECT_EQ(entry->user, c.user) << c.entry;
        EXPECT_EQ(entry->receipt, c.receipt) << c.entry;
    }
}

TEST_F(PurchaseHelper, OneConfirmationRemovesEveryEntryOfThatUserAndReceiptOnly) {
    for (const char* entry : {"an;x;R;d", "bo;x;R;d", "an;y;z;R;d", "an;x;S;d"})
        PendingReceipts::append(entry);
    EXPECT_EQ(PendingReceipts::removeConfirmed("an", "R"), 2);
    EXPECT_EQ(PendingReceipts::entries(), (std::vector<std::string>{"bo;x;R;d", "an;x;S;d"}));
    platform::UserDefaults disk(dataPath() + "/defaults.plist");
    EXPECT_EQ(disk.objectForKey(PendingReceipts::kListKey).arrayValue().size(), 2u) << "written at once";
}

} // namespace
