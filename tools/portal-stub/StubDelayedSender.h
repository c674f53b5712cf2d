#pragma once

#include "net/Message.h"
#include "tools/portal-stub/StubSender.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace portalstub {

// Sends messages to the connection's client after a delay, on a thread of its own,
// which ends with the object: what was not yet sent then is dropped.
class StubDelayedSender {
public:
    explicit StubDelayedSender(StubSender& sender);
    ~StubDelayedSender();
    StubDelayedSender(const StubDelayedSender&) = delete;
    StubDelayedSender& operator=(const StubDelayedSender&) = delete;

    void send(kavo::Message message, std::chrono::milliseconds delay);

private:
    void run();

    StubSender& sender_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::multimap<std::chrono::steady_clock::time_point, kavo::Message> queue_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace portalstub
