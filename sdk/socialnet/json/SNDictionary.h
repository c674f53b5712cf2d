#pragma once

#include "sdk/socialnet/json/SNValue.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace socialnet {

// A mutable dictionary that keeps its keys in insertion order. Keys are normally
// strings; other keys are allowed so that the writer can refuse them as JSON does.
// Storing under a present key replaces the value in place. The reading operations
// are virtual because a graph object is a dictionary that wraps another one and
// changes what it stores as it is read.
class SNDictionary {
public:
    SNDictionary() = default;
    virtual ~SNDictionary() = default;
    SNDictionary(const SNDictionary&) = default;
    SNDictionary& operator=(const SNDictionary&) = default;

    static SNDictionaryPtr make() { return std::make_shared<SNDictionary>(); }
    // A new dictionary with the same entries (the values themselves shared).
    virtual SNDictionaryPtr mutableCopy();

    virtual size_t count() const;
    // Null when absent.
    virtual SNValue objectForKey(const SNValue& key);
    SNValue objectForKey(std::string_view key) { return objectForKey(SNValue(key)); }
    SNValue objectForKey(const char* key) { return objectForKey(SNValue(key)); }
    virtual void setObject(SNValue value, const SNValue& key);
    void setObject(SNValue value, std::string_view key) { setObject(std::move(value), SNValue(key)); }
    void setObject(SNValue value, const char* key) { setObject(std::move(value), SNValue(key)); }
    virtual void removeObjectForKey(const SNValue& key);
    void removeObjectForKey(std::string_view key) { removeObjectForKey(SNValue(key)); }
    void removeObjectForKey(const char* key) { removeObjectForKey(SNValue(key)); }
    // The keys in order.
    virtual std::vector<SNValue> keys();
    virtual bool containsKey(const SNValue& key) const;
    bool containsKey(std::string_view key) const { return containsKey(SNValue(key)); }
    bool containsKey(const char* key) const { return containsKey(SNValue(key)); }

private:
    long find(const SNValue& key) const;
    void reindex();

    std::vector<std::pair<SNValue, SNValue>> entries_;
    // Position of each string key in entries_, so a large response parses in linear time.
    std::unordered_map<std::string, size_t> stringIndex_;
};

} // namespace socialnet
