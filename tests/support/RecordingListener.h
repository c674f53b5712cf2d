#pragma once

#include "net/IMessageListener.h"
#include "net/Message.h"
#include "tests/support/RecordedMessage.h"
#include "tests/support/StateWaits.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace kavo::test {

// A listener that records every callback in order, with waits for tests. Safe
// from any thread.
class RecordingListener : public IMessageListener {
public:
    enum class Event { ConnectionOK, ConnectionFail, Disconnected, Message };

    void onConnectionOK() override;
    void onConnectionFail() override;
    void onDisconnected() override;
    void onMessage(Message& message) override;

    // Runs on the reader thread after a message was recorded. Set it before
    // connecting.
    void setOnMessage(std::function<void(Message&)> hook) { hook_ = std::move(hook); }

    std::vector<Event> events() const;
    int count(Event event) const;
    // Connection ends heard: fails plus disconnects.
    int ends() const;
    [[nodiscard]] bool waitFor(Event event, int count = 1, double timeout = kStateWait);
    // Waits until a connection ended (a fail or a disconnect).
    [[nodiscard]] bool waitForEnd(double timeout = kStateWait);
    std::vector<RecordedMessage> messages() const;
    [[nodiscard]] bool waitForMessages(size_t count, double timeout = kStateWait);
    void clear();

private:
    void record(Event event);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Event> events_;
    std::vector<RecordedMessage> messages_;
    std::function<void(Message&)> hook_;
};

} // namespace kavo::test
