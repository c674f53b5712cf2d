#include "sdk/socialnet/json/SNDictionary.h"

namespace socialnet {

SNDictionaryPtr SNDictionary::mutableCopy() {
    auto copy = make();
    for (auto& key : keys())
        copy->setObject(objectForKey(key), key);
    return copy;
}

size_t SNDictionary::count() const {
    return entries_.size();
}

long SNDictionary::find(const SNValue& key) const {
    if (key.isString()) {
        auto found = stringIndex_.find(key.string());
        return found == stringIndex_.end() ? -1 : long(found->second);
    }
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].first == key) return long(i);
    return -1;
}

SNValue SNDictionary::objectForKey(const SNValue& key) {
    long at = find(key);
    return at < 0 ? SNValue() : entries_[size_t(at)].second;
}

bool SNDictionary::containsKey(const SNValue& key) const {
    return find(key) >= 0;
}

void SNDictionary::setObject(SNValue value, const SNValue& key) {
    long at = find(key);
    if (at >= 0) {
        entries_[size_t(at)].second = std::move(value);
        return;
    }
    if (key.isString()) stringIndex_.emplace(key.string(), entries_.size());
    entries_.emplace_back(key, std::move(value));
}

void SNDictionary::removeObjectForKey(const SNValue& key) {
    long at = find(key);
    if (at < 0) return;
    entries_.erase(entries_.begin() + at);
    reindex();
}

void SNDictionary::reindex() {
    stringIndex_.clear();
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].first.isString()) stringIndex_.emplace(entries_[i].first.string(), i);
}

std::vector<SNValue> SNDictionary::keys() {
    std::vector<SNValue> keys;
    keys.reserve(entries_.size());
    for (auto& entry : entries_)
        keys.push_back(entry.first);
    return keys;
}

} // namespace socialnet
