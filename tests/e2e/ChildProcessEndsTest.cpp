// A test program that ends early (an exit without destructors, or a kill) takes what it
// started with it: its stub and the processes serving the stub's clients are gone soon
// after, with no one left to stop them. A stub left running would serve, and hold a
// state folder, beside every later run of the suite.
#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/ProcessState.h"
#include "tests/e2e/StubWire.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace kavo::test {
namespace {

class EarlyEnd : public ::testing::TestWithParam<const char*> {};

TEST_P(EarlyEnd, TheStubAndItsSessionsEndWithTheTestProgramThatStartedThem) {
    const std::string how = GetParam();
    TestFolder folder;
    ChildProcess program;
    // The stub's state folder in the test's own too: a killed stub leaves it behind.
    ASSERT_TRUE(program.start({KAVO_STUB_LEFT_BEHIND, folder.path, how}, {{"TMPDIR", folder.path}}, true,
                              folder.path + "/program.log"));
    // Each process the program reports, with its start time.
    std::map<pid_t, std::string> started;
    for (;;) {
        // The minute bounds a program that never gets its stub going.
        auto line = program.readLine(60);
        ASSERT_TRUE(line) << "the program never got ready: " << program.transcript();
        if (*line == "ready") break;
        // Besides its own lines, the program passes on the stub's first.
        if (line->rfind("stub ", 0) != 0 && line->rfind("session ", 0) != 0) continue;
        const pid_t pid = pid_t(std::atoi(line->c_str() + line->find(' ') + 1));
        const auto now = startAndState(pid);
        ASSERT_TRUE(now) << *line << ": no such process";
        started[pid] = now->first;
    }
    ASSERT_EQ(started.size(), 3u) << program.transcript();
    if (how == std::string("kill")) {
        ASSERT_EQ(::kill(program.pid(), SIGKILL), 0);
    }
    const auto status = program.wait(30);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, how == std::string("kill") ? 128 + SIGKILL : 3);
    EXPECT_EQ(runningAfterTheirEnd(started), "") << "still running after the program ended";
}

INSTANTIATE_TEST_SUITE_P(ExitOrKill, EarlyEnd, ::testing::Values("exit", "kill"),
                         [](const auto& info) { return std::string(info.param); });

// A test program killed while its stub's session sits in the middle of a spend (paused
// between the check and the debit, for longer than the test) leaves no process of that
// stub behind: the session ends with its stub, whatever it is doing, and the spend it
// held was never committed (a later stub on the same accounts finds the balance whole).
TEST(EarlyEnd, AProgramKilledWhileItsStubPausesASpendLeavesNoProcessOfItAndNoSpend) {
    TestFolder folder;
    ChildProcess program;
    ASSERT_TRUE(program.start({KAVO_STUB_LEFT_BEHIND, folder.path, "pause"}, {{"TMPDIR", folder.path}}, true,
                              folder.path + "/program.log"));
    // Each process the program reports, with its start time, and the one that pauses.
    std::map<pid_t, std::string> started;
    pid_t paused = -1;
    for (;;) {
        // The minute bounds a program that never gets its stub going.
        auto line = program.readLine(60);
        ASSERT_TRUE(line) << "the program never got ready: " << program.transcript();
        if (*line == "ready") break;
        const bool pausing = line->rfind("paused ", 0) == 0;
        if (line->rfind("stub ", 0) != 0 && line->rfind("session ", 0) != 0 && !pausing) continue;
        const pid_t pid = pid_t(std::atoi(line->c_str() + line->find(' ') + 1));
        if (pausing) {
            paused = pid;
            continue;
        }
        const auto now = startAndState(pid);
        ASSERT_TRUE(now) << *line << ": no such process";
        started[pid] = now->first;
    }
    ASSERT_EQ(started.size(), 2u) << program.transcript();
    ASSERT_TRUE(started.contains(paused)) << "the paused process is no session: " << program.transcript();
    ASSERT_EQ(::kill(program.pid(), SIGKILL), 0);
    const auto status = program.wait(30);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 128 + SIGKILL);
    // (The pause alone would hold the session for two minutes.)
    const std::string running = runningAfterTheirEnd(started);
    EXPECT_EQ(running, "") << "still running after the program was killed (the paused session is " << paused << ")";
    if (!running.empty()) return;
    // The accounts as the next stub on them finds them: the transfer took nothing.
    StubProcess next({"--state-dir", folder.path + "/state"}, {{"TMPDIR", folder.path}}, folder.path + "/next.log");
    ASSERT_TRUE(next.ready());
    StubPerson again(next.port());
    EXPECT_EQ(again.signIn("giua"), 1000000) << "the paused transfer was committed";
}

// A stub ended at once takes its sessions with it, even one that would not end on its
// own for two minutes (paused in the middle of a spend): the kill reaches the stub's whole
// process group.
TEST(EarlyEnd, AStubKilledTakesEverySessionEvenOneThatWouldNotEndOnItsOwn) {
    TestFolder folder;
    const std::string log = folder.path + "/stub.log";
    StubProcess stub(
        {}, {{"KAVO_STUB_SPEND_PAUSE", "120000"}, {"KAVO_STUB_SPEND_PAUSE_OF", "giua"}, {"TMPDIR", folder.path}}, log);
    ASSERT_TRUE(stub.ready());
    StubPerson holder(stub.port());
    ASSERT_EQ(holder.signIn("giua"), 1000000);
    holder.send(17, Bytes().utf("lan").int32(1000).data());
    const pid_t paused = processPausingASpendOf(log, "giua", 60);
    ASSERT_GT(paused, 0);
    const auto start = startAndState(paused);
    ASSERT_TRUE(start);
    stub.kill();
    EXPECT_TRUE(lookUntil([&] { return !stillRuns(paused, start->first); }))
        << "the paused session " << paused << " outlived its stub";
    // A session the stub left is ended here, so that a failure leaves nothing behind.
    if (stillRuns(paused, start->first)) ::kill(paused, SIGKILL);
}

} // namespace
} // namespace kavo::test
