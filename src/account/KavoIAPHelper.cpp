#include "account/KavoIAPHelper.h"

#include "platform/runtime/Log.h"

namespace kavo {

namespace {

const char* stateName(platform::TransactionState state) {
    switch (state) {
    case platform::TransactionState::Purchasing:
        return "purchasing";
    case platform::TransactionState::Purchased:
        return "purchased";
    case platform::TransactionState::Failed:
        return "failed";
    case platform::TransactionState::Cancelled:
        return "cancelled";
    case platform::TransactionState::Restored:
        return "restored";
    }
    return "unknown";
}

} // namespace

KavoIAPHelper& KavoIAPHelper::sharedHelper() {
    static KavoIAPHelper instance;
    return instance;
}

void KavoIAPHelper::updatedTransactions(platform::PaymentQueue& queue,
                                        const std::vector<platform::PaymentTransaction>& transactions) {
    for (const auto& transaction : transactions) {
        ++transactionsSeen_;
        platform::log("purchase " + transaction.transactionIdentifier + " of " + transaction.productIdentifier + ": " +
                      stateName(transaction.state) +
                      (transaction.errorText.empty() ? std::string() : " (" + transaction.errorText + ")"));
        // A purchase that ended without money changing hands has nothing left to
        // confirm; bought ones stay queued until the server has credited them.
        if (transaction.state == platform::TransactionState::Failed ||
            transaction.state == platform::TransactionState::Cancelled)
            queue.finishTransaction(transaction.transactionIdentifier);
    }
}

void KavoIAPHelper::restoreCompletedTransactionsFailed(platform::PaymentQueue&, const std::string& error) {
    platform::log("purchase restore failed: " + error);
}

} // namespace kavo
