#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class TransactionState { Purchasing, Purchased, Failed, Cancelled, Restored };

// The error code of a transaction the buyer cancelled.
constexpr int kPaymentCancelledErrorCode = 2;

struct PaymentTransaction {
    std::string transactionIdentifier;
    std::string productIdentifier;
    int quantity = 1;
    TransactionState state = TransactionState::Purchasing;
    std::string errorText;        // Failed and Cancelled
    int errorCode = 0;            // Failed 0, Cancelled 2 (the buyer's cancel)
    std::vector<uint8_t> receipt; // Purchased and Restored: JSON bytes
    double date = 0;              // seconds since 1970
};

struct Product {
    std::string identifier;
    std::string title;
    std::string description;
    double price = 0;
    std::string currencyCode = "VND";
};

class PaymentQueue;

// Told about transactions on the main run loop. Observers are not owned: remove
// one before it goes away.
class PaymentObserver {
public:
    virtual ~PaymentObserver() = default;
    virtual void updatedTransactions(PaymentQueue& queue, const std::vector<PaymentTransaction>& transactions) = 0;
    virtual void removedTransactions(PaymentQueue&, const std::vector<PaymentTransaction>&) {}
    virtual void restoreCompletedTransactionsFinished(PaymentQueue&) {}
    virtual void restoreCompletedTransactionsFailed(PaymentQueue&, const std::string& /*error*/) {}
};

// How the local store answers a purchase.
enum class StoreOutcome { Purchased, Failed, Cancelled };

// A local store standing in for a payment service: nothing is charged. A payment
// goes Purchasing, then Purchased, Failed or Cancelled, each step delivered to the
// observers on the main run loop. The answer is the one a test set with
// setOutcome(), else the one the developer chose with the environment variable
// KAVO_STORE_OUTCOME (purchased, failed or cancelled), else Failed with "store not
// available". A purchase carries a receipt: a small JSON text with the product,
// quantity, transaction id and date.
class PaymentQueue {
public:
    static PaymentQueue& defaultQueue();
    static bool canMakePayments();

    void addObserver(PaymentObserver* observer);
    void removeObserver(PaymentObserver* observer);

    void addPayment(const std::string& productIdentifier, int quantity = 1);
    // Drops a transaction the client has dealt with; observers hear removedTransactions.
    void finishTransaction(const std::string& transactionIdentifier);
    // Transactions not finished yet.
    std::vector<PaymentTransaction> transactions() const;
    // Delivers this run's purchases again as Restored, then restoreCompletedTransactionsFinished.
    void restoreCompletedTransactions();

    // Products known to the local store (from setProducts), delivered on the main run
    // loop with the ids it does not know.
    void
    requestProducts(const std::vector<std::string>& identifiers,
                    std::function<void(std::vector<Product> products, std::vector<std::string> invalid)> completion);

    // For tests and developers.
    static void setOutcome(std::optional<StoreOutcome> outcome);
    static void setCanMakePayments(bool can);
    void setProducts(std::vector<Product> products);
    // Forgets transactions, products, observers and the outcome.
    void resetForTesting();

private:
    PaymentQueue() = default;
    // notify() runs on the main thread; deliver() posts it there.
    void notify(const std::vector<PaymentTransaction>& transactions, bool removed);
    void deliver(std::vector<PaymentTransaction> transactions, bool removed);
    std::vector<PaymentObserver*> observersCopy() const;
    bool isObserver(PaymentObserver* observer) const;

    mutable std::mutex mutex_;
    std::vector<PaymentObserver*> observers_;
    std::vector<PaymentTransaction> pending_;
    std::vector<PaymentTransaction> purchased_; // this run's purchases, for restore
    std::vector<Product> products_;
    uint64_t nextTransaction_ = 1;
};

} // namespace platform
