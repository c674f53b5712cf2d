#include "platform/foundation/NotificationCenter.h"

#include <algorithm>

namespace platform {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter* center = new NotificationCenter(); // lives for the process
    return *center;
}

NotificationCenter::Token NotificationCenter::addObserver(const std::string& name, Observer observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto entry = std::make_shared<Entry>();
    entry->token = nextToken_++;
    entry->name = name;
    entry->observer = std::move(observer);
    entries_.push_back(entry);
    return entry->token;
}

void NotificationCenter::removeObserver(Token token) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](auto& e) { return e->token == token; });
    if (it == entries_.end()) return;
    (*it)->removed = true;
    entries_.erase(it);
}

void NotificationCenter::post(const std::string& name, Value userInfo, const void* sender) {
    // The observers are called on a snapshot taken outside the lock, so that they
    // may post, add and remove freely; the removed flag is checked before each call.
    std::vector<std::shared_ptr<Entry>> snapshot;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& entry : entries_)
            if (entry->name.empty() || entry->name == name) snapshot.push_back(entry);
    }
    Notification notification{name, std::move(userInfo), sender};
    for (auto& entry : snapshot) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (entry->removed) continue;
        }
        entry->observer(notification);
    }
}

size_t NotificationCenter::observerCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

} // namespace platform
