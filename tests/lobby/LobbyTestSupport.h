#pragma once

#include "net/IMobileClient.h"
#include "tests/support/RecordedMessage.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace kavo::test {

// Stands in for the socket client in screen tests: keeps what the screens send.
class LobbyRecorder : public IMobileClient {
public:
    bool isConnected() const override { return true; }
    void setHandler(IMessageListener*) override {}
    bool connectToHost(const std::string&, uint16_t) override { return true; }
    void sendMessage(Message message) override;
    void close() override {}

    std::vector<RecordedMessage> sent() const;
    // The messages of one command, in order.
    std::vector<RecordedMessage> sent(int16_t commandId) const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<RecordedMessage> sent_;
};

// A lobby screen on its own (no launch): the client's bundle and data folder, the manual
// clock, requests recorded, and a signed-in player with `kMoney`.
class LobbyScreenFixture : public ClientFixture {
protected:
    static constexpr int64_t kMoney = 50000;

    void SetUp() override;
    void TearDown() override;
    // Runs what was posted to the main thread.
    static void runPending();

    LobbyRecorder recorder_;
};

} // namespace kavo::test
