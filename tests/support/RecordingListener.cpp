#include "tests/support/RecordingListener.h"

#include <algorithm>
#include <chrono>

namespace kavo::test {

void RecordingListener::record(Event event) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(event);
    }
    changed_.notify_all();
}

void RecordingListener::onConnectionOK() {
    record(Event::ConnectionOK);
}
void RecordingListener::onConnectionFail() {
    record(Event::ConnectionFail);
}
void RecordingListener::onDisconnected() {
    record(Event::Disconnected);
}

void RecordingListener::onMessage(Message& message) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({message.commandId(), message.data()});
        events_.push_back(Event::Message);
    }
    changed_.notify_all();
    if (hook_) hook_(message);
}

std::vector<RecordingListener::Event> RecordingListener::events() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}

int RecordingListener::count(Event event) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count(events_.begin(), events_.end(), event));
}

int RecordingListener::ends() const {
    return count(Event::ConnectionFail) + count(Event::Disconnected);
}

bool RecordingListener::waitFor(Event event, int count, double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::duration<double>(timeout),
                             [&] { return std::count(events_.begin(), events_.end(), event) >= count; });
}

bool RecordingListener::waitForEnd(double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::duration<double>(timeout), [&] {
        return std::count(events_.begin(), events_.end(), Event::ConnectionFail) +
                   std::count(events_.begin(), events_.end(), Event::Disconnected) >
               0;
    });
}

std::vector<RecordedMessage> RecordingListener::messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

bool RecordingListener::waitForMessages(size_t count, double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::duration<double>(timeout), [&] { return messages_.size() >= count; });
}

void RecordingListener::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.clear();
    messages_.clear();
}

} // namespace kavo::test
