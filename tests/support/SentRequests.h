#pragma once

#include "net/IMobileClient.h"
#include "tests/support/Bytes.h"

#include <mutex>
#include <string>
#include <utility>

namespace kavo::test {

// A session that keeps what the services send as "command:hex" texts, so a request
// test compares the bytes of a whole exchange in one line.
class SentRequests : public IMobileClient {
public:
    bool isConnected() const override { return true; }
    void setHandler(IMessageListener*) override {}
    bool connectToHost(const std::string&, uint16_t) override { return true; }
    void sendMessage(Message message) override {
        std::lock_guard lock(mutex_);
        sent_ += (sent_.empty() ? "" : " ") + std::to_string(message.commandId()) + ":" + toHex(message.data());
    }
    void close() override {}
    // What was sent since the last call, in order, separated by spaces.
    std::string take() {
        std::lock_guard lock(mutex_);
        return std::exchange(sent_, {});
    }

private:
    std::mutex mutex_;
    std::string sent_;
};

} // namespace kavo::test
