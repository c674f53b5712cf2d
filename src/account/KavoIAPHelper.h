#pragma once

#include "platform/services/PaymentQueue.h"

#include <vector>

namespace kavo {

// The in-app purchase helper: the launch makes it the observer of the default
// payment queue. It logs each transaction it hears of and finishes the failed and
// cancelled ones; bought ones wait for the top-up road to confirm them with the server.
class KavoIAPHelper : public platform::PaymentObserver {
public:
    static KavoIAPHelper& sharedHelper();

    void updatedTransactions(platform::PaymentQueue& queue,
                             const std::vector<platform::PaymentTransaction>& transactions) override;
    void restoreCompletedTransactionsFailed(platform::PaymentQueue& queue, const std::string& error) override;

    // How many transactions were heard of (what a test can see).
    int transactionsSeen() const { return transactionsSeen_; }

private:
    KavoIAPHelper() = default;
    int transactionsSeen_ = 0;
};

} // namespace kavo
