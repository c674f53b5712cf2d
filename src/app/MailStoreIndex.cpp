#include "app/MailStoreIndex.h"

#include <functional>
#include <string>

namespace kavo {

size_t MailStoreIndex::identityHash(const KavoMessage& m) {
    size_t h = std::hash<std::string>{}(m.message());
    auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
    mix(std::hash<std::string>{}(m.fromName()));
    mix(std::hash<int64_t>{}(m.time()));
    mix(std::hash<int32_t>{}(m.type()));
    mix(std::hash<int32_t>{}(m.fromID()));
    return h;
}

bool MailStoreIndex::sameIdentity(const KavoMessage& a, const KavoMessage& b) {
    return a.time() == b.time() && a.type() == b.type() && a.fromID() == b.fromID() && a.fromName() == b.fromName() &&
           a.message() == b.message();
}

void MailStoreIndex::add(const KavoMessage& message) {
    ++types_[message.type()];
    if (message.time() != 0) ++counts_[identityHash(message)];
}

void MailStoreIndex::remove(const KavoMessage& message) {
    if (const auto typed = types_.find(message.type()); typed != types_.end() && --typed->second == 0)
        types_.erase(typed);
    if (message.time() == 0) return;
    // A mail whose identity changed after it was counted is not found under its new hash:
    // its old count stays, which costs at most a lookup confirmed in vain, never a miss.
    const auto counted = counts_.find(identityHash(message));
    if (counted != counts_.end() && --counted->second <= 0) counts_.erase(counted);
}

bool MailStoreIndex::mayContain(const KavoMessage& message) const {
    return message.time() != 0 && counts_.contains(identityHash(message));
}

size_t MailStoreIndex::countOfType(int32_t type) const {
    const auto typed = types_.find(type);
    return typed == types_.end() ? 0 : typed->second;
}

} // namespace kavo
