// How the portal stub serves many connections: a reply of two messages comes at once,
// a burst of sign-ins is answered, and a connection beyond the cap on sessions is
// closed while the others are served.
#include "tests/e2e/StubWire.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

// A lottery ticket is answered with two messages, its answer and the balance. Forty
// bought one after another over one connection take about 40 ms each when the second
// message waits for the client's delayed acknowledgement of the first: the middle one
// of them, well under that, tells whatever the load.
TEST(StubSessions, AReplyOfTwoMessagesComesWithoutWaitingForTheClientsAcknowledgement) {
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    StubPerson person(stub.port());
    ASSERT_GT(person.signIn("nhanh"), 0);
    std::vector<double> rounds;
    for (int ticket = 0; ticket < 40; ++ticket) {
        const auto sent = std::chrono::steady_clock::now();
        person.send(1403, Bytes().int32(42).int32(100).data());
        ASSERT_TRUE(person.next(1403) && person.next(17)) << "ticket " << ticket;
        rounds.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sent).count());
    }
    std::nth_element(rounds.begin(), rounds.begin() + 20, rounds.end());
    EXPECT_LT(rounds[20], 20.0) << "ms, the middle ticket's answer and balance";
}

// Far more clients than a listen backlog of 16 holds connect at one moment: the system
// completes every connection at once (none waits a second for its first packet to be sent
// again), and every one's sign-in is answered.
TEST(StubSessions, EveryOneOfABurstOfClientsIsConnectedAtOnceAndAnswered) {
    StubProcess stub;
    ASSERT_TRUE(stub.ready());
    std::vector<Fd> bare;
    double slowest = 0;
    for (int i = 0; i < 64; ++i) {
        const auto start = std::chrono::steady_clock::now();
        bare.push_back(connectToLoopback(stub.port()));
        ASSERT_TRUE(bare.back().valid());
        slowest = std::max(slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    EXPECT_LT(slowest, 0.5) << "s, the slowest connection";
    bare.clear();
    std::vector<std::unique_ptr<StubPerson>> people;
    for (int i = 0; i < 64; ++i) {
        people.push_back(std::make_unique<StubPerson>(stub.port()));
        people.back()->send(1, signInBody("loat" + std::to_string(i)));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    int answered = 0;
    for (auto& person : people) {
        const auto left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
        answered += person->next(3, -1, std::max(left, 0.0)).has_value();
    }
    EXPECT_EQ(answered, 64);
}

// With two sessions at most, a third connection is closed; the two signed in are still
// served, and once one of them leaves a new client is served again.
TEST(StubSessions, AConnectionBeyondTheCapIsClosedAndTheOthersAreServed) {
    StubProcess stub({"--max-sessions", "2"});
    ASSERT_TRUE(stub.ready());
    auto first = std::make_unique<StubPerson>(stub.port());
    StubPerson second(stub.port());
    ASSERT_GT(first->signIn("mot"), 0);
    ASSERT_GT(second.signIn("hai"), 0);
    StubPerson third(stub.port());
    EXPECT_TRUE(third.dropped(15)) << "the third connection is closed";
    second.send(1400, {});
    EXPECT_TRUE(second.next(1400)) << "a session is still served";
    first.reset();
    // The session of the one who left ends within a moment; until then a newcomer is closed.
    bool servedAgain = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!servedAgain && std::chrono::steady_clock::now() < deadline) {
        StubPerson newcomer(stub.port());
        newcomer.send(1, signInBody("ba"));
        while (!servedAgain && newcomer.listener().ends() == 0 && std::chrono::steady_clock::now() < deadline)
            servedAgain = newcomer.next(3, -1, 0.1).has_value();
    }
    EXPECT_TRUE(servedAgain) << "a new client is served once a session ended";
}

} // namespace
} // namespace kavo::test
