#include "platform/services/PaymentQueue.h"

#include "ServicesTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace platform;

namespace {

// Keeps every delivery, in order.
class RecordingObserver : public PaymentObserver {
public:
    void updatedTransactions(PaymentQueue&, const std::vector<PaymentTransaction>& list) override {
        for (const auto& t : list)
            updates.push_back(t);
    }
    void removedTransactions(PaymentQueue&, const std::vector<PaymentTransaction>& list) override {
        for (const auto& t : list)
            removed.push_back(t.transactionIdentifier);
    }
    void restoreCompletedTransactionsFinished(PaymentQueue&) override { ++restoreFinished; }

    std::vector<PaymentTransaction> updates;
    std::vector<std::string> removed;
    int restoreFinished = 0;
};

class PaymentQueueTest : public services_test::MainLoopTest {
protected:
    void SetUp() override {
        MainLoopTest::SetUp();
        unsetenv("KAVO_STORE_OUTCOME");
        queue().resetForTesting();
        queue().addObserver(&observer_);
    }
    void TearDown() override {
        queue().resetForTesting();
        unsetenv("KAVO_STORE_OUTCOME");
        MainLoopTest::TearDown();
    }
    static PaymentQueue& queue() { return PaymentQueue::defaultQueue(); }
    std::vector<TransactionState> states() const {
        std::vector<TransactionState> list;
        for (const auto& t : observer_.updates)
            list.push_back(t.state);
        return list;
    }

    RecordingObserver observer_;
};

TEST_F(PaymentQueueTest, APurchaseGoesPurchasingThenPurchasedWithAReceipt) {
    PaymentQueue::setOutcome(StoreOutcome::Purchased);
    EXPECT_TRUE(PaymentQueue::canMakePayments());
    queue().addPayment("vn.kavo.zel100", 2);
    EXPECT_TRUE(observer_.updates.empty()) << "deliveries come on the run loop";
    runPosted();
    runPosted();
    ASSERT_EQ(states(), (std::vector<TransactionState>{TransactionState::Purchasing, TransactionState::Purchased}));
    const auto& done = observer_.updates[1];
    EXPECT_FALSE(done.transactionIdentifier.empty());
    EXPECT_EQ(done.transactionIdentifier, observer_.updates[0].transactionIdentifier);
    EXPECT_TRUE(done.errorText.empty());

    auto receipt = nlohmann::json::parse(std::string(done.receipt.begin(), done.receipt.end()));
    EXPECT_EQ(receipt["product"], "vn.kavo.zel100");
    EXPECT_EQ(receipt["quantity"], 2);
    EXPECT_EQ(receipt["transactionId"], done.transactionIdentifier);
    EXPECT_TRUE(receipt["date"].is_string());
}

TEST_F(PaymentQueueTest, WithoutAChosenOutcomeTheStoreIsNotAvailable) {
    queue().addPayment("vn.kavo.zel100");
    runPosted();
    runPosted();
    ASSERT_EQ(states(), (std::vector<TransactionState>{TransactionState::Purchasing, TransactionState::Failed}));
    EXPECT_EQ(observer_.updates[1].errorText, "store not available");
    EXPECT_TRUE(observer_.updates[1].receipt.empty());
}

TEST_F(PaymentQueueTest, TheDeveloperChoosesTheOutcomeThroughTheEnvironment) {
    setenv("KAVO_STORE_OUTCOME", "cancelled", 1);
    queue().addPayment("vn.kavo.zel50");
    setenv("KAVO_STORE_OUTCOME", "purchased", 1);
    queue().addPayment("vn.kavo.zel50");
    runPosted();
    runPosted();
    ASSERT_EQ(observer_.updates.size(), 4u);
    EXPECT_EQ(observer_.updates[1].state, TransactionState::Cancelled);
    EXPECT_EQ(observer_.updates[3].state, TransactionState::Purchased);
    EXPECT_NE(observer_.updates[1].transactionIdentifier, observer_.updates[3].transactionIdentifier);
}

TEST_F(PaymentQueueTest, FinishedTransactionsLeaveTheQueueAndCanBeRestored) {
    PaymentQueue::setOutcome(StoreOutcome::Purchased);
    queue().addPayment("vn.kavo.avatar7");
    runPosted();
    runPosted();
    ASSERT_EQ(queue().transactions().size(), 1u);
    EXPECT_EQ(queue().transactions()[0].state, TransactionState::Purchased);
    std::string id = queue().transactions()[0].transactionIdentifier;

    queue().finishTransaction(id);
    queue().finishTransaction("no-such-transaction");
    runPosted();
    EXPECT_TRUE(queue().transactions().empty());
    EXPECT_EQ(observer_.removed, std::vector<std::string>{id});

    observer_.updates.clear();
    queue().restoreCompletedTransactions();
    runPosted();
    ASSERT_EQ(observer_.updates.size(), 1u);
    EXPECT_EQ(observer_.updates[0].state, TransactionState::Restored);
    EXPECT_EQ(observer_.updates[0].productIdentifier, "vn.kavo.avatar7");
    EXPECT_EQ(observer_.restoreFinished, 1);
}

TEST_F(PaymentQueueTest, ARemovedObserverHearsNothingMore) {
    queue().addPayment("vn.kavo.zel100");
    queue().removeObserver(&observer_);
    runPosted();
    runPosted();
    EXPECT_TRUE(observer_.updates.empty());
}

TEST_F(PaymentQueueTest, ProductsComeFromTheLocalTable) {
    std::vector<Product> found;
    std::vector<std::string> invalid;
    auto request = [&] {
        queue().requestProducts({"vn.kavo.zel100", "vn.kavo.unknown"}, [&](auto products, auto bad) {
            found = std::move(products);
            invalid = std::move(bad);
        });
        runPosted();
    };
    request();
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(invalid.size(), 2u);

    queue().setProducts({Product{"vn.kavo.zel100", "100 Zel", "Gói 100 Zel", 22000, "VND"}});
    request();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].title, "100 Zel");
    EXPECT_EQ(found[0].price, 22000);
    EXPECT_EQ(invalid, std::vector<std::string>{"vn.kavo.unknown"});
}

} // namespace
