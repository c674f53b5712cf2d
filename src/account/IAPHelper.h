#pragma once

#include "platform/services/PaymentQueue.h"

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kavo {

// The one object that talks to the store. It buys products by identifier and
// observes the payment queue for the life of the process: a purchased or restored
// transaction is written to the pending receipts on disk first, then announced,
// then finished, so the store never forgets a receipt the server has not seen.
//
// Notifications on the default centre, posted on the main thread:
//   "ProductPurchased"      userInfo "receipt" (Base64 text); sender: the screen that
//                           bought it, nullptr for a restore or an unknown buyer
//   "ProductPurchaseFailed" userInfo "errorCode" (2: the buyer cancelled), "error",
//                           "transactionIdentifier"; sender as above
//   "ProductsLoaded"        userInfo "products" (identifiers)
class IAPHelper : public platform::PaymentObserver {
public:
    static constexpr const char* kProductPurchased = "ProductPurchased";
    static constexpr const char* kProductPurchaseFailed = "ProductPurchaseFailed";
    static constexpr const char* kProductsLoaded = "ProductsLoaded";

    explicit IAPHelper(std::set<std::string> productIdentifiers = {});

    const std::set<std::string>& productIdentifiers() const { return productIdentifiers_; }
    void setProductIdentifiers(std::set<std::string> identifiers) { productIdentifiers_ = std::move(identifiers); }
    const std::vector<platform::Product>& products() const { return products_; }
    bool requestInFlight() const { return requestInFlight_; }

    // Adds a payment for `identifier` to the default queue; `buyer` (never owned) is
    // the sender of that purchase's outcome.
    void buyProductIdentifier(const std::string& identifier, const void* buyer = nullptr);
    // A screen that goes away stops being anybody's buyer.
    void forgetBuyer(const void* buyer);
    void requestProducts();

    void updatedTransactions(platform::PaymentQueue& queue,
                             const std::vector<platform::PaymentTransaction>& transactions) override;
    void restoreCompletedTransactionsFailed(platform::PaymentQueue& queue, const std::string& error) override;

    void completeTransaction(platform::PaymentQueue& queue, const platform::PaymentTransaction& transaction);
    void restoreTransaction(platform::PaymentQueue& queue, const platform::PaymentTransaction& transaction);
    void failedTransaction(platform::PaymentQueue& queue, const platform::PaymentTransaction& transaction);
    // Writes the pending entry (synchronised) and posts "ProductPurchased".
    void recordTransaction(const platform::PaymentTransaction& transaction, const void* buyer);

    static std::string encode(const uint8_t* bytes, size_t length);

private:
    // The buyer of the oldest unanswered payment for `identifier` (removed).
    const void* takeBuyer(const std::string& identifier);

    std::set<std::string> productIdentifiers_;
    std::vector<platform::Product> products_;
    bool requestInFlight_ = false;
    std::vector<std::pair<std::string, const void*>> buyers_;
};

} // namespace kavo
