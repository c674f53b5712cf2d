#pragma once

#include "tests/support/RecordingSession.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdint>

namespace kavo::test {

// The screen tests' stand-in for the socket client.
using LobbyRecorder = RecordingSession;

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
