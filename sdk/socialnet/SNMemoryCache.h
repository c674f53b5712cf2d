#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace socialnet {

// A thread-safe least-recently-used cache of values by text key, bounded by a count
// of entries and by a total cost (0 means no bound). When a bound pushes entries
// out, the eviction callback hears each of them, outside the cache's lock (so it may
// call back into the cache). Replacing or removing a key is not an eviction.
template <typename Value> class SNMemoryCache {
public:
    using EvictionCallback = std::function<void(const Value&)>;

    void setCountLimit(size_t limit) {
        apply([&] { countLimit_ = limit; });
    }
    size_t countLimit() const {
        std::lock_guard lock(mutex_);
        return countLimit_;
    }
    void setTotalCostLimit(size_t limit) {
        apply([&] { costLimit_ = limit; });
    }
    size_t totalCostLimit() const {
        std::lock_guard lock(mutex_);
        return costLimit_;
    }
    void setEvictionCallback(EvictionCallback callback) {
        std::lock_guard lock(mutex_);
        onEvict_ = std::move(callback);
    }

    // The value (now the most recently used), or nullopt.
    std::optional<Value> object(const std::string& key) {
        std::lock_guard lock(mutex_);
        auto found = index_.find(key);
        if (found == index_.end()) return std::nullopt;
        order_.splice(order_.begin(), order_, found->second);
        return found->second->value;
    }
    bool contains(const std::string& key) const {
        std::lock_guard lock(mutex_);
        return index_.count(key) != 0;
    }

    void setObject(const std::string& key, Value value, size_t cost = 0) {
        apply([&] {
            eraseLocked(key);
            order_.push_front(Slot{key, std::move(value), cost});
            index_[key] = order_.begin();
            totalCost_ += cost;
        });
    }
    void removeObject(const std::string& key) {
        std::lock_guard lock(mutex_);
        eraseLocked(key);
    }
    void removeAllObjects() {
        std::lock_guard lock(mutex_);
        order_.clear();
        index_.clear();
        totalCost_ = 0;
    }
    // Drops every entry whose key the predicate picks (not an eviction).
    void removeObjectsIf(const std::function<bool(const std::string&)>& pick) {
        std::lock_guard lock(mutex_);
        for (auto it = order_.begin(); it != order_.end();) {
            if (pick(it->key)) {
                totalCost_ -= it->cost;
                index_.erase(it->key);
                it = order_.erase(it);
            } else {
                ++it;
            }
        }
    }
    size_t count() const {
        std::lock_guard lock(mutex_);
        return index_.size();
    }

private:
    struct Slot {
        std::string key;
        Value value;
        size_t cost;
    };

    // Runs the change, trims to the bounds, then tells the callback about what fell out.
    template <typename Change> void apply(Change change) {
        std::vector<Value> evicted;
        EvictionCallback callback;
        {
            std::lock_guard lock(mutex_);
            change();
            while (!order_.empty() &&
                   ((countLimit_ && index_.size() > countLimit_) || (costLimit_ && totalCost_ > costLimit_))) {
                Slot& oldest = order_.back();
                totalCost_ -= oldest.cost;
                index_.erase(oldest.key);
                evicted.push_back(std::move(oldest.value));
                order_.pop_back();
            }
            callback = onEvict_;
        }
        if (callback)
            for (auto& value : evicted)
                callback(value);
    }

    void eraseLocked(const std::string& key) {
        auto found = index_.find(key);
        if (found == index_.end()) return;
        totalCost_ -= found->second->cost;
        order_.erase(found->second);
        index_.erase(found);
    }

    mutable std::mutex mutex_;
    std::list<Slot> order_; // most recently used first
    std::unordered_map<std::string, typename std::list<Slot>::iterator> index_;
    size_t countLimit_ = 0;
    size_t costLimit_ = 0;
    size_t totalCost_ = 0;
    EvictionCallback onEvict_;
};

} // namespace socialnet
