// A stop (SIGTERM, as scripts/run's Ctrl-C or a test's end gives it) ends the portal stub
// and every process serving its clients, however busy it is starting new ones and
// whatever its sessions are doing: a client still connected, or a spend paused for a
// test, never holds the stop up.
#include "tests/e2e/ProcessState.h"
#include "tests/e2e/StubProcess.h"
#include "tests/e2e/StubWire.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

// The connections opened in a round; the stop comes while most are still being opened.
constexpr size_t kConnections = 50;
// The sessions started when the stop is sent.
constexpr size_t kStartedAtTheStop = 8;
constexpr int kRounds = 30;

// How many sessions the stub's log says it started.
size_t sessionsStarted(const std::string& log) {
    std::ifstream file(log);
    size_t count = 0;
    for (std::string line; std::getline(file, line);)
        if (line.find("a client connected, served by process ") != std::string::npos) ++count;
    return count;
}

// Clients that connect to `port` all at once (each connects on a thread of its own) and
// stay connected until the object goes, having said hello as a client does: a session
// that a stop missed would go on serving its client.
struct Crowd {
    explicit Crowd(uint16_t port) {
        for (size_t i = 0; i < kConnections; ++i)
            people.push_back(std::make_unique<StubPerson>(port));
    }
    std::vector<std::unique_ptr<StubPerson>> people;
};

// Round after round, a stub that is starting sessions for a crowd of new clients is
// stopped: each time the stub and every process of it end, with every client still
// connected. A stop that reached a session in the moment it was being started, and was
// lost there, would leave that session serving its client, and the stub waiting for it.
TEST(StubStop, AStopWhileClientsAreConnectingEndsTheStubAndEverySessionEveryTime) {
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TestFolder folder;
        const std::string log = folder.path + "/stub.log";
        StubProcess stub({}, {{"TMPDIR", folder.path}}, log);
        ASSERT_TRUE(stub.ready());
        Crowd crowd(stub.port());
        // The bound is for a stub that never starts a session, not a guess at its speed; the
        // log is read every 2 ms, so that the stop comes while the others still connect.
        ASSERT_TRUE(lookUntil([&] { return sessionsStarted(log) >= kStartedAtTheStop; }, 60, 0.002));
        // The stub is this test's own child; it leads a process group that its sessions join.
        const pid_t group = stub.pid();
        ASSERT_EQ(::kill(group, SIGTERM), 0);
        // Gone: the bound is for a process that never ends, not a guess at how soon one does.
        // What is left is told below.
        (void)lookUntil([&] { return runningInGroup(group).empty(); });
        const auto left = runningInGroup(group);
        std::string running;
        for (pid_t pid : left)
            running += " " + std::to_string(pid) + (pid == group ? " (the stub)" : "");
        ASSERT_EQ(running, "") << "left running after the stop (the stub started " << sessionsStarted(log)
                               << " sessions)";
    }
}

// A stop that comes while a session is in the middle of a spend (paused between the
// check and the debit for longer than the test) does not wait the pause out: the stub and
// its sessions end, and the spend is finished whole first (the next stub on the same
// accounts finds it made once).
TEST(StubStop, AStopWhileASessionPausesASpendEndsTheStubWithTheSpendMadeWhole) {
    TestFolder folder;
    const std::string log = folder.path + "/stub.log";
    const std::string state = folder.path + "/state";
    StubProcess stub(
        {"--state-dir", state},
        {{"KAVO_STUB_SPEND_PAUSE", "120000"}, {"KAVO_STUB_SPEND_PAUSE_OF", "giua"}, {"TMPDIR", folder.path}}, log);
    ASSERT_TRUE(stub.ready());
    {
        StubPerson holder(stub.port());
        ASSERT_EQ(holder.signIn("giua"), 1000000);
        holder.send(17, Bytes().utf("lan").int32(1000).data());
        ASSERT_GT(processPausingASpendOf(log, "giua", 60), 0);
        const pid_t group = stub.pid();
        ASSERT_EQ(::kill(group, SIGTERM), 0);
        // Gone: the bound is for a process that never ends (the pause alone would hold the
        // session for two minutes), not a guess at how soon one does.
        ASSERT_TRUE(lookUntil([&] { return runningInGroup(group).empty(); }))
            << "the stub or its paused session still runs after the stop";
    }
    StubProcess next({"--state-dir", state}, {{"TMPDIR", folder.path}}, folder.path + "/next.log");
    ASSERT_TRUE(next.ready());
    StubPerson again(next.port());
    EXPECT_EQ(again.signIn("giua"), 1000000 - 1000) << "the transfer under way at the stop, made once";
}

} // namespace
} // namespace kavo::test
