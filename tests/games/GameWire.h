#pragma once

// What every game's wire test does: catch the requests a service sends, and hand the
// message handler a body of bytes to read back the lines the test's recorder wrote down.
#include "portal/GlobalService.h"
#include "portal/model/Player.h"
#include "tests/support/Bytes.h"
#include "tests/support/CallLine.h"
#include "tests/support/SentRequests.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kavo::test {

using Calls = std::vector<std::string>;

class GameRequests : public ::testing::Test {
protected:
    void SetUp() override { GlobalService::getInstance().setSession(&client); }
    void TearDown() override { GlobalService::getInstance().setSession(nullptr); }
    SentRequests client;
};

// kGameCommand is the command that carries the game's own sub-messages, where it has one.
template <class Handler, class Recorder, int16_t kGameCommand = 0> class GameReplies : public ::testing::Test {
protected:
    void SetUp() override { handler().setGameLogicHandler(&recorder); }
    void TearDown() override { handler().setGameLogicHandler(nullptr); }
    static Handler& handler() { return *Handler::getInstance(); }
    // The calls one message makes.
    Calls read(int16_t command, const ByteVector& body) {
        recorder.calls.clear();
        Message message(command, body);
        handler().onMessage(message);
        return recorder.calls;
    }
    Calls game(const ByteVector& body) { return read(kGameCommand, body); }
    Recorder recorder;
};

// A player as the recorders write one down: "[id 'name' money avatar exp ready]", with
// any further values before the bracket closes.
template <typename... More> std::string seated(const Player& p, const More&... more) {
    return "[" +
           line(std::to_string(p.IDDB()), quoted(p.name()), p.money(), p.avatar(), p.exp(), p.isReady(), more...) + "]";
}

// A body of random bytes shorter than `limit`, for the tests that feed a handler noise.
inline ByteVector randomBody(std::mt19937& random, size_t limit) {
    ByteVector body(random() % limit);
    for (auto& b : body)
        b = uint8_t(random());
    return body;
}

} // namespace kavo::test
