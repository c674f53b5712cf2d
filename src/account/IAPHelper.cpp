#include "account/IAPHelper.h"

#include "account/KavoIAPHelper.h"
#include "account/PendingReceipts.h"
#include "app/Resources.h"
#include "platform/foundation/Base64.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Log.h"

#include <algorithm>

namespace kavo {

IAPHelper::IAPHelper(std::set<std::string> productIdentifiers) : productIdentifiers_(std::move(productIdentifiers)) {}

KavoIAPHelper& KavoIAPHelper::sharedHelper() {
    static KavoIAPHelper* instance = new KavoIAPHelper(); // the queue may call it until the process ends
    return *instance;
}

void IAPHelper::buyProductIdentifier(const std::string& identifier, const void* buyer) {
    buyers_.emplace_back(identifier, buyer);
    platform::PaymentQueue::defaultQueue().addPayment(identifier);
}

void IAPHelper::forgetBuyer(const void* buyer) {
    for (auto& entry : buyers_)
        if (entry.second == buyer) entry.second = nullptr;
}

const void* IAPHelper::takeBuyer(const std::string& identifier) {
    auto it =
        std::find_if(buyers_.begin(), buyers_.end(), [&](const auto& entry) { return entry.first == identifier; });
    if (it == buyers_.end()) return nullptr;
    const void* buyer = it->second;
    buyers_.erase(it);
    return buyer;
}

void IAPHelper::requestProducts() {
    requestInFlight_ = true;
    const std::vector<std::string> identifiers(productIdentifiers_.begin(), productIdentifiers_.end());
    platform::PaymentQueue::defaultQueue().requestProducts(
        identifiers, [this](std::vector<platform::Product> products, std::vector<std::string>) {
            products_ = std::move(products);
            requestInFlight_ = false;
            platform::Value names = platform::Value::emptyArray();
            for (const auto& product : products_)
                names.append(product.identifier);
            platform::Value info = platform::Value::emptyDictionary();
            info.set("products", std::move(names));
            platform::NotificationCenter::defaultCenter().post(kProductsLoaded, std::move(info));
        });
}

void IAPHelper::updatedTransactions(platform::PaymentQueue& queue,
                                    const std::vector<platform::PaymentTransaction>& transactions) {
    for (const auto& transaction : transactions) {
        switch (transaction.state) {
        case platform::TransactionState::Purchased:
            completeTransaction(queue, transaction);
            break;
        case platform::TransactionState::Failed:
        case platform::TransactionState::Cancelled:
            failedTransaction(queue, transaction);
            break;
        case platform::TransactionState::Restored:
            restoreTransaction(queue, transaction);
            break;
        case platform::TransactionState::Purchasing:
            break;
        }
    }
}

void IAPHelper::restoreCompletedTransactionsFailed(platform::PaymentQueue&, const std::string& error) {
    platform::log("purchase restore failed: " + error);
}

void IAPHelper::completeTransaction(platform::PaymentQueue& queue, const platform::PaymentTransaction& transaction) {
    recordTransaction(transaction, takeBuyer(transaction.productIdentifier));
    queue.finishTransaction(transaction.transactionIdentifier);
}

void IAPHelper::restoreTransaction(platform::PaymentQueue& queue, const platform::PaymentTransaction& transaction) {
    // A restore is nobody's purchase in progress: it is recorded and announced to all.
    recordTransaction(transaction, nullptr);
    queue.finishTransaction(transaction.transactionIdentifier);
}

void IAPHelper::failedTransaction(platform::PaymentQueue& queue, const platform::PaymentTransaction& transaction) {
    platform::log("purchase of " + transaction.productIdentifier + " failed: " + transaction.errorText);
    platform::Value info = platform::Value::emptyDictionary();
    info.set("errorCode", transaction.errorCode);
    info.set("error", transaction.errorText);
    info.set("transactionIdentifier", transaction.transactionIdentifier);
    platform::NotificationCenter::defaultCenter().post(kProductPurchaseFailed, std::move(info),
                                                       takeBuyer(transaction.productIdentifier));
    queue.finishTransaction(transaction.transactionIdentifier);
}

void IAPHelper::recordTransaction(const platform::PaymentTransaction& transaction, const void* buyer) {
    const std::string receipt = encode(transaction.receipt.data(), transaction.receipt.size());
    PendingReceipts::append(PendingReceipts::entryText(
        PendingReceipts::currentUser(), Resources::getInstance().currentPurchaseName(), receipt, transaction.date));
    platform::Value info = platform::Value::emptyDictionary();
    info.set("receipt", receipt);
    platform::NotificationCenter::defaultCenter().post(kProductPurchased, std::move(info), buyer);
}

std::string IAPHelper::encode(const uint8_t* bytes, size_t length) {
    if (!bytes || length == 0) return {};
    return platform::base64Encode(std::string_view(reinterpret_cast<const char*>(bytes), length));
}

} // namespace kavo
