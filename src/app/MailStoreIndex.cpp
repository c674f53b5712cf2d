#include "app/MailStoreIndex.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <string>

namespace kavo {

namespace {

// A probe starts at the key's high bits: the low bits of a mixed key are as good, but the
// high ones come out of the last multiplication best.
size_t home(uint64_t key, size_t mask) {
    return size_t(key >> 32 ^ key) & mask;
}

// The least table (a power of two) that holds `mails` at most four fifths full: a place is a
// key, 8 bytes, so 100,000 mails take 1 MB, and a probe stays a few places long.
size_t capacityFor(size_t mails) {
    return std::bit_ceil(std::max<size_t>(16, (mails * 5 + 3) / 4));
}

uint64_t mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    return h;
}

} // namespace

uint64_t MailStoreIndex::identityKey(const KavoMessage& m) {
    uint64_t h = std::hash<std::string>{}(m.message());
    h = mix(h, std::hash<std::string>{}(m.fromName()));
    h = mix(h, uint64_t(m.time()));
    h = mix(h, uint64_t(uint32_t(m.type())) << 32 | uint32_t(m.fromID()));
    // The final multiplication spreads the mixed bits over the whole key.
    const uint64_t key = (h ^ (h >> 29)) * 0xbf58476d1ce4e5b9ull;
    return key <= kRemoved ? key + 2 : key;
}

void MailStoreIndex::reserve(size_t mails) {
    const size_t wanted = capacityFor(mails);
    if (wanted > slots_.size()) rehash(wanted);
}

void MailStoreIndex::rehash(size_t capacity) {
    std::vector<uint64_t> old = std::move(slots_);
    slots_.assign(capacity, kEmpty);
    keys_ = used_ = 0;
    for (const uint64_t key : old)
        if (key > kRemoved) insert(key);
}

void MailStoreIndex::insert(uint64_t key) {
    size_t at = home(key, mask());
    // A removed mark is passed over rather than reused: the same key may lie further on.
    while (slots_[at] != kEmpty)
        at = (at + 1) & mask();
    slots_[at] = key;
    ++keys_;
    ++used_;
}

void MailStoreIndex::add(KavoMessage& message) {
    const auto typed =
        std::find_if(types_.begin(), types_.end(), [&](const auto& t) { return t.first == message.type(); });
    if (typed != types_.end())
        ++typed->second;
    else
        types_.emplace_back(message.type(), 1);
    if (message.time() == 0) return;
    // Grown, or cleared of removed marks, before it is more than four fifths full, with room
    // for half as many mails again.
    if ((used_ + 1) * 5 > slots_.size() * 4) rehash(capacityFor((keys_ + 1) * 3 / 2));
    const uint64_t key = identityKey(message);
    message.countedKey_.value = key;
    insert(key);
}

void MailStoreIndex::remove(const KavoMessage& message) {
    const auto typed =
        std::find_if(types_.begin(), types_.end(), [&](const auto& t) { return t.first == message.type(); });
    if (typed != types_.end() && --typed->second == 0) types_.erase(typed);
    const uint64_t key = countedKey(message);
    if (key == 0 || slots_.empty()) return;
    for (size_t at = home(key, mask()); slots_[at] != kEmpty; at = (at + 1) & mask()) {
        if (slots_[at] != key) continue;
        slots_[at] = kRemoved;
        --keys_;
        return;
    }
}

size_t MailStoreIndex::copies(const KavoMessage& message) const {
    if (message.time() == 0 || slots_.empty()) return 0;
    const uint64_t key = identityKey(message);
    size_t found = 0;
    for (size_t at = home(key, mask()); slots_[at] != kEmpty; at = (at + 1) & mask())
        found += slots_[at] == key;
    return found;
}

size_t MailStoreIndex::countOfType(int32_t type) const {
    const auto typed = std::find_if(types_.begin(), types_.end(), [&](const auto& t) { return t.first == type; });
    return typed == types_.end() ? 0 : typed->second;
}

void MailStoreIndex::clear() {
    slots_.clear();
    slots_.shrink_to_fit();
    keys_ = used_ = 0;
    types_.clear();
}

} // namespace kavo
