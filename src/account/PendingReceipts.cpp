#include "account/PendingReceipts.h"

#include "platform/foundation/DateFormat.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Log.h"

namespace kavo {

std::string PendingReceipts::entryText(const std::string& user, const std::string& purchaseName,
                                       const std::string& receipt, double date) {
    return user + ";" + purchaseName + ";" + receipt + ";" + platform::formatDate(date, kDatePattern);
}

std::optional<PendingReceipts::Entry> PendingReceipts::parse(const std::string& entry) {
    const size_t firstCut = entry.find(';');
    const size_t lastCut = entry.rfind(';');
    if (firstCut == std::string::npos || lastCut == firstCut) return std::nullopt;
    const size_t receiptCut = entry.rfind(';', lastCut - 1);
    // The purchase name needs a field of its own between the user and the receipt.
    if (receiptCut == std::string::npos || receiptCut == firstCut) return std::nullopt;
    return Entry{entry.substr(0, firstCut), entry.substr(receiptCut + 1, lastCut - receiptCut - 1)};
}

std::vector<std::string> PendingReceipts::entries() {
    std::vector<std::string> texts;
    const platform::Value stored = platform::UserDefaults::standard().objectForKey(kListKey);
    if (!stored.isArray()) return texts;
    for (const auto& entry : stored.arrayValue()) {
        if (entry.isString()) {
            texts.push_back(entry.stringValue());
        } else {
            platform::log("pending receipts: an entry that is not text was skipped");
        }
    }
    return texts;
}

void PendingReceipts::append(const std::string& entry) {
    auto& defaults = platform::UserDefaults::standard();
    const platform::Value stored = defaults.objectForKey(kListKey);
    platform::Value::Array list = stored.isArray() ? stored.arrayValue() : platform::Value::Array{};
    list.emplace_back(entry);
    defaults.setObject(platform::Value(std::move(list)), kListKey);
    // The store forgets the transaction once it is finished: the receipt must be on
    // disk first, so this waits for the defaults' writer.
    defaults.flush();
}

int PendingReceipts::removeConfirmed(const std::string& user, const std::string& receipt) {
    auto& defaults = platform::UserDefaults::standard();
    const platform::Value stored = defaults.objectForKey(kListKey);
    if (!stored.isArray() || stored.arrayValue().empty()) return 0;
    platform::Value::Array kept;
    int removed = 0;
    for (const auto& value : stored.arrayValue()) {
        const auto entry = value.isString() ? parse(value.stringValue()) : std::nullopt;
        if (entry && entry->user == user && entry->receipt == receipt) {
            ++removed;
        } else {
            kept.push_back(value);
        }
    }
    if (removed == 0) return 0;
    defaults.setObject(platform::Value(std::move(kept)), kListKey);
    defaults.flush();
    return removed;
}

std::vector<std::string> PendingReceipts::receiptsOf(const std::string& user) {
    std::vector<std::string> receipts;
    for (const auto& text : entries()) {
        const auto entry = parse(text);
        if (entry && entry->user == user) receipts.push_back(entry->receipt);
    }
    return receipts;
}

std::string PendingReceipts::currentUser() {
    return platform::UserDefaults::standard().stringForKey(kUserKey);
}

} // namespace kavo
