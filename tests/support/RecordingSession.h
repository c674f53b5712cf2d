#pragma once

#include "net/IMobileClient.h"
#include "tests/support/RecordedMessage.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace kavo::test {

// Stands in for the socket client: keeps what the requests send, in order, instead of
// putting it on a socket.
class RecordingSession : public IMobileClient {
public:
    bool isConnected() const override { return true; }
    void setHandler(IMessageListener*) override {}
    bool connectToHost(const std::string&, uint16_t) override { return true; }
    void sendMessage(Message message) override;
    void close() override { closes_++; }

    std::vector<RecordedMessage> sent() const;
    // The messages of one command, in order.
    std::vector<RecordedMessage> sent(int16_t commandId) const;
    // The last message sent (a command id of -32768 when none).
    RecordedMessage last() const;
    // The command ids sent, in order.
    std::vector<int16_t> commands() const;
    int closes() const { return closes_.load(); }
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<RecordedMessage> sent_;
    std::atomic<int> closes_{0};
};

} // namespace kavo::test
