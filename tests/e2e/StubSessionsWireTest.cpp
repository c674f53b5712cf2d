// How the portal stub serves its connections: a reply of two messages comes at once.
#include "tests/e2e/StubWire.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
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

} // namespace
} // namespace kavo::test
