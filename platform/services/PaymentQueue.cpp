#include "platform/services/PaymentQueue.h"

#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>

namespace platform {

namespace {

std::mutex& settingsMutex() {
    static std::mutex mutex;
    return mutex;
}
std::optional<StoreOutcome>& testOutcome() {
    static std::optional<StoreOutcome> outcome;
    return outcome;
}
std::atomic<bool> paymentsAllowed{true};

// The outcome in force: a test's choice, then the developer's environment, then Failed.
StoreOutcome currentOutcome() {
    {
        std::lock_guard<std::mutex> lock(settingsMutex());
        if (testOutcome()) return *testOutcome();
    }
    const char* env = std::getenv("KAVO_STORE_OUTCOME");
    std::string chosen = env ? env : "";
    if (chosen == "purchased") return StoreOutcome::Purchased;
    if (chosen == "cancelled") return StoreOutcome::Cancelled;
    if (!chosen.empty() && chosen != "failed") log("PaymentQueue: unknown KAVO_STORE_OUTCOME " + chosen);
    return StoreOutcome::Failed;
}

double secondsSince1970() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

std::string isoDate(double seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::vector<uint8_t> makeReceipt(const PaymentTransaction& t) {
    nlohmann::ordered_json receipt;
    receipt["product"] = t.productIdentifier;
    receipt["quantity"] = t.quantity;
    receipt["transactionId"] = t.transactionIdentifier;
    receipt["date"] = isoDate(t.date);
    std::string text = receipt.dump();
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

PaymentQueue& PaymentQueue::defaultQueue() {
    static auto* queue = new PaymentQueue(); // lives for the process: deliveries may be queued
    return *queue;
}

bool PaymentQueue::canMakePayments() {
    return paymentsAllowed.load();
}

void PaymentQueue::setCanMakePayments(bool can) {
    paymentsAllowed = can;
}

void PaymentQueue::setOutcome(std::optional<StoreOutcome> outcome) {
    std::lock_guard<std::mutex> lock(settingsMutex());
    testOutcome() = outcome;
}

void PaymentQueue::addObserver(PaymentObserver* observer) {
    if (!observer) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) observers_.push_back(observer);
}

void PaymentQueue::removeObserver(PaymentObserver* observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

std::vector<PaymentObserver*> PaymentQueue::observersCopy() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return observers_;
}

bool PaymentQueue::isObserver(PaymentObserver* observer) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::find(observers_.begin(), observers_.end(), observer) != observers_.end();
}

void PaymentQueue::notify(const std::vector<PaymentTransaction>& transactions, bool removed) {
    // An observer removed by an earlier one during this delivery is not called.
    for (PaymentObserver* observer : observersCopy()) {
        if (!isObserver(observer)) continue;
        if (removed)
            observer->removedTransactions(*this, transactions);
        else
            observer->updatedTransactions(*this, transactions);
    }
}

void PaymentQueue::deliver(std::vector<PaymentTransaction> transactions, bool removed) {
    runOnMainThread([this, transactions = std::move(transactions), removed] { notify(transactions, removed); });
}

void PaymentQueue::addPayment(const std::string& productIdentifier, int quantity) {
    PaymentTransaction purchasing;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        purchasing.transactionIdentifier = std::to_string(1000000000ULL + nextTransaction_++);
    }
    purchasing.productIdentifier = productIdentifier;
    purchasing.quantity = std::max(1, quantity);
    purchasing.date = secondsSince1970();

    PaymentTransaction done = purchasing;
    switch (currentOutcome()) {
    case StoreOutcome::Purchased:
        done.state = TransactionState::Purchased;
        done.receipt = makeReceipt(done);
        break;
    case StoreOutcome::Cancelled:
        done.state = TransactionState::Cancelled;
        done.errorText = "cancelled by the player";
        done.errorCode = kPaymentCancelledErrorCode;
        break;
    case StoreOutcome::Failed:
        done.state = TransactionState::Failed;
        done.errorText = "store not available";
        break;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.push_back(purchasing);
    }
    deliver({purchasing}, false);
    // The answer comes a run-loop turn later, as from a real store.
    runOnMainThread([this, done] {
        log("PaymentQueue: " + done.productIdentifier + " x" + std::to_string(done.quantity) +
            (done.state == TransactionState::Purchased ? " purchased" : " not purchased: " + done.errorText));
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto& t : pending_)
                if (t.transactionIdentifier == done.transactionIdentifier) t = done;
            if (done.state == TransactionState::Purchased) purchased_.push_back(done);
        }
        notify({done}, false);
    });
}

void PaymentQueue::finishTransaction(const std::string& transactionIdentifier) {
    std::vector<PaymentTransaction> removed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = std::find_if(pending_.begin(), pending_.end(), [&](const PaymentTransaction& t) {
            return t.transactionIdentifier == transactionIdentifier;
        });
        if (it == pending_.end()) return;
        removed.push_back(*it);
        pending_.erase(it);
    }
    deliver(std::move(removed), true);
}

std::vector<PaymentTransaction> PaymentQueue::transactions() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pending_;
}

void PaymentQueue::restoreCompletedTransactions() {
    std::vector<PaymentTransaction> restored;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        restored = purchased_;
    }
    for (auto& t : restored)
        t.state = TransactionState::Restored;
    if (!restored.empty()) deliver(restored, false);
    runOnMainThread([this] {
        for (PaymentObserver* observer : observersCopy())
            if (isObserver(observer)) observer->restoreCompletedTransactionsFinished(*this);
    });
}

void PaymentQueue::requestProducts(
    const std::vector<std::string>& identifiers,
    std::function<void(std::vector<Product> products, std::vector<std::string> invalid)> completion) {
    std::vector<Product> found;
    std::vector<std::string> invalid;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& id : identifiers) {
            auto it =
                std::find_if(products_.begin(), products_.end(), [&](const Product& p) { return p.identifier == id; });
            if (it != products_.end())
                found.push_back(*it);
            else
                invalid.push_back(id);
        }
    }
    if (!completion) return;
    runOnMainThread([completion = std::move(completion), found = std::move(found),
                     invalid = std::move(invalid)]() mutable { completion(std::move(found), std::move(invalid)); });
}

void PaymentQueue::setProducts(std::vector<Product> products) {
    std::lock_guard<std::mutex> lock(mutex_);
    products_ = std::move(products);
}

void PaymentQueue::resetForTesting() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        observers_.clear();
        pending_.clear();
        purchased_.clear();
        products_.clear();
    }
    setOutcome(std::nullopt);
    setCanMakePayments(true);
}

} // namespace platform
