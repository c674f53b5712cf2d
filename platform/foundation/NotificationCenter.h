#pragma once

#include "platform/foundation/Value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

struct Notification {
    std::string name;
    Value userInfo;               // a dictionary, or null
    const void* sender = nullptr; // whoever posted, for observers that compare it; never owned
};

// Broadcasts named notifications to observers. Observers run synchronously on
// the posting thread, in the order they were added. An observer may add or
// remove observers (itself included) while it runs: one removed during a post is
// not called afterwards, one added during a post first hears the next post.
class NotificationCenter {
public:
    using Token = uint64_t;
    using Observer = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();
    NotificationCenter() = default;

    // An empty name observes every notification. Tokens are never 0.
    Token addObserver(const std::string& name, Observer observer);
    // Unknown or already removed tokens are ignored. Removing from another thread
    // while the observer runs does not wait for it to return.
    void removeObserver(Token token);
    void post(const std::string& name, Value userInfo = {}, const void* sender = nullptr);

    size_t observerCount() const;

private:
    struct Entry {
        Token token;
        std::string name;
        Observer observer;
        bool removed = false; // guarded by mutex_
    };

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Entry>> entries_;
    Token nextToken_ = 1;
};

} // namespace platform
