// The finder of fixed waits on planted sources: every spelling of a fixed wait is found, at
// its line; the waits for a state and the one negative check's helper are not.
#include "tests/tree/FixedWaits.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

struct Planted {
    const char* name;
    const char* source;
};

// "line: what" of each wait found.
std::string found(const std::string& source, const std::string& file = "tests/e2e/PlantedTest.cpp") {
    std::string list;
    for (const FixedWait& wait : fixedWaitsInSource(file, source))
        list += std::to_string(wait.line) + ": " + wait.what + "\n";
    return list;
}

const Planted kFixedWaits[] = {
    {"sleep_for", "void f() {\n    std::this_thread::sleep_for(std::chrono::milliseconds(300));\n}\n"},
    {"sleep_for through a using-directive",
     "using namespace std::this_thread;\nvoid f() {\n    sleep_for(300ms);\n}\n"},
    {"sleep_until through a namespace alias",
     "namespace tt = std::this_thread;\nvoid f() { tt::sleep_until(std::chrono::steady_clock::now() + 300ms); }\n"},
    {"usleep", "void f() { usleep(300000); }\n"},
    {"nanosleep", "void f() {\n    timespec ts{0, 300000000};\n    ::nanosleep(&ts, nullptr);\n}\n"},
    {"sleep", "void f() { sleep(1); }\n"},
    {"a macro", "#define NAP(ms) std::this_thread::sleep_for(std::chrono::milliseconds(ms))\nvoid f() { NAP(300); }\n"},
    {"SDL_Delay", "void f() { SDL_Delay(300); }\n"},
    {"a thread joined with a time-out", "void f(pthread_t t, timespec until) { pthread_timedjoin_np(t, nullptr, &until); }\n"},
    {"a busy loop on the clock",
     "void f() {\n    for (const auto end = std::chrono::steady_clock::now() + 300ms;\n"
     "         std::chrono::steady_clock::now() < end;) {\n    }\n}\n"},
    {"a wait whose condition reads the clock",
     "void f() {\n    const auto end = std::chrono::steady_clock::now() + 300ms;\n"
     "    ASSERT_TRUE(runUntil([&] { return std::chrono::steady_clock::now() >= end; }, 5));\n}\n"},
    {"usleep by another name", "void f() {\n    auto nap = &::usleep;\n    nap(300000);\n}\n"},
    {"poll with a time-out", "void f(pollfd p) { ::poll(&p, 1, 300); }\n"},
    {"poll with a time-out held in a variable", "void f(pollfd* fds, int ms) { poll(fds, 2, ms); }\n"},
    {"poll by another name", "void f(pollfd p) {\n    auto look = ::poll;\n    look(&p, 1, 300);\n}\n"},
    {"ppoll with a time-out", "void f(pollfd p, timespec ts) { ppoll(&p, 1, &ts, nullptr); }\n"},
    {"select with a time-out (1.5 s before reading what the portal got)",
     "TEST_F(Road, X) {\n    timeval tv{1, 500000};\n    ::select(0, nullptr, nullptr, nullptr, &tv);\n"
     "    EXPECT_EQ(lastSent().commandId(), 8);\n}\n"},
    {"pselect with a time-out", "void f(timespec ts) { pselect(1, nullptr, nullptr, nullptr, &ts, nullptr); }\n"},
    {"epoll_wait with a time-out", "void f(int ep, epoll_event* events) { epoll_wait(ep, events, 8, 300); }\n"},
    {"a socket look with a time-out", "void f(int fd, StopSignal& s) { waitReadable(fd, s, 1.5); }\n"},
    {"a condition's wait_for without a condition",
     "void f() {\n    std::unique_lock lock(m);\n    changed.wait_for(lock, std::chrono::milliseconds(300));\n}\n"},
    {"a condition's wait_until without a condition", "void f() { changed.wait_until(lock, deadline); }\n"},
    {"a future waited for a time, its readiness never looked at",
     "void f(std::promise<void>& never) { never.get_future().wait_for(300ms); }\n"},
    {"a future expected to time out",
     "void f(std::future<void>& f) { EXPECT_EQ(f.wait_for(300ms), std::future_status::timeout); }\n"},
    {"a semaphore's timed acquire", "void f() { gate.try_acquire_for(300ms); }\n"},
    {"runOnce of a fixed time", "void f() { platform::RunLoop::main().runOnce(0.3); }\n"},
    {"runOnce turns counted",
     "void f() {\n    for (int i = 0; i < 10; ++i)\n        platform::RunLoop::main().runOnce(0.03);\n}\n"},
    {"runNext turns counted without a time",
     "void f() {\n    while (turns++ < 20) {\n        loop.runNext(0);\n    }\n}\n"},
    {"runUntil whose condition is false",
     "void f() { platform::RunLoop::main().runUntil([] { return false; }, 0.3); }\n"},
    {"runUntil whose condition captures and is false",
     "void f() { platform::RunLoop::main().runUntil([&]() -> bool { return false; }, 0.3); }\n"},
    {"runUntil whose condition is named and false",
     "void f() {\n    const auto never = [] { return false; };\n    loop.runUntil(never, 0.3);\n}\n"},
    {"runUntil whose condition is a function that is false",
     "bool never() { return false; }\nvoid f() { loop.runUntil(never, 0.3); }\n"},
    {"runUntil whose condition is a macro that is false",
     "#define NEVER [] { return false; }\nvoid f() { loop.runUntil(NEVER, 0.3); }\n"},
    {"a condition true after so many looks",
     "void f() {\n    int looks = 0;\n    runUntil([&] { return ++looks > 5; }, 30);\n}\n"},
    {"a condition that counts its looks beside", "void f() {\n    ASSERT_TRUE(loop.runUntil([&] {\n        looks++;\n  "
                                                 "      return looks >= 5;\n    }, 30));\n}\n"},
    {"a negative check through a wait expected to run out", "TEST_F(T, X) { EXPECT_FALSE(portal.waitFor(9, 0.3)); }\n"},
    {"a negative check through a wire read expected to run out", "TEST_F(T, X) { EXPECT_FALSE(next(50, -1, 0.5)); }\n"},
    {"a negative check through a negated wait",
     "TEST_F(T, X) { ASSERT_TRUE(!listener.waitForMessages(2, 0.3)) << \"none\"; }\n"},
    {"nothingComesWithin given a condition that cannot come",
     "TEST_F(T, X) { EXPECT_TRUE(nothingComesWithin(0.3, [] { return false; })); }\n"},
    {"a timer of the real clock", "TEST_F(Host, X) {\n    performAfterDelay(0.3, [&] { host.stop(); });\n}\n"},
    {"a driver's sleep before an expect, in a test's script",
     "TEST_F(T, X) {\n    ASSERT_TRUE(drives(\"tap id=btnOK\\n\"\n                       \"sleep 0.3\\n\"\n"
     "                       \"expect text=Xong\\n\"));\n}\n"},
    {"a driver's sleep before an expect-not, with a comment and an advance between",
     "TEST_F(T, X) { drive(R\"(wait text=A 30\nsleep 1\n# the sheet slides\nadvance 0.5\nexpect-not id=btnOK\n)\"); "
     "}\n"},
};

TEST(FixedWaitsFinder, FindsEverySpellingOfAFixedWait) {
    for (const Planted& planted : kFixedWaits)
        EXPECT_NE(found(planted.source), "") << planted.name << ":\n" << planted.source;
}

TEST(FixedWaitsFinder, NamesTheLineOfTheWait) {
    EXPECT_EQ(found(kFixedWaits[0].source), "2: sleep_for\n");
    EXPECT_EQ(found("// std::this_thread::sleep_for(1s) in a comment\n/* usleep(5) */\nvoid f() {\n"
                    "    const char* name = \"sleep_for\";\n    select(0, nullptr, nullptr, nullptr,\n"
                    "           &tv);\n}\n"),
              "5: select with a time-out\n");
    EXPECT_EQ(found("TEST_F(T, X) {\n    ASSERT_TRUE(drives(\"tap id=a\\n\"\n        \"sleep 0.3\\n\"\n"
                    "        \"expect text=b\\n\"));\n}\n"),
              "3: a driver's sleep before expect\n");
    EXPECT_EQ(found("TEST_F(T, X) {\n    ASSERT_TRUE(runUntil([&] { return ++looks > 5; },\n"
                    "                         30));\n}\n"),
              "2: runUntil with a condition that counts its own looks\n");
}

TEST(FixedWaitsFinder, FindsASleepBeforeAnExpectInADriveScript) {
    const auto waits = fixedWaitsInScript("scripts/x.drive", "screen LoginView 20\nsleep 0.5\n\nexpect text=A\n");
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0].line, 2);
    EXPECT_EQ(waits[0].file, "scripts/x.drive");
    EXPECT_TRUE(fixedWaitsInScript("scripts/x.drive", "sleep 0.5\ntap id=btnOK\nexpect text=A\n").empty())
        << "a sleep before a tap, the expect after it";
    EXPECT_TRUE(fixedWaitsInScript("scripts/x.drive", "sleep 0.5\nwait text=A 30\nexpect text=B\n").empty());
}

TEST(FixedWaitsFinder, LeavesWaitsForAStateAndTheNegativeCheckAlone) {
    const char* const clean[] = {
        "#include <poll.h>\n#include <thread>\n",
        "void f() { ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return done; }, kStateWait)); }\n",
        "void f() { EXPECT_TRUE(nothingComesWithin(0.3, [&] { return heard.size() > 1; })); }\n",
        "void f() { EXPECT_TRUE(nothingComesWithin(0.2, 86, 27)); }\n",
        "void f() { changed.wait_for(lock, std::chrono::seconds(30), [&] { return ready; }); }\n",
        "void f() { return changed.wait_for(lock, 30s, [&] { for (auto it = a.begin(); it != a.end(); ++it) "
        "if (*it) return true; return false; }); }\n",
        "void f(pollfd* fds) { ::poll(fds, 2, -1); poll(fds, 1, 0); }\n",
        "void f(int fd, StopSignal& s) { waitReadable(fd, s, -1); waitReadable(fd, s, 0); }\n",
        "void f() { settings.select(0, 3); select(1, 2); }\n",
        "void f() {\n    auto select = db.prepare(\"SELECT 1\");\n    while (select.step()) {}\n}\n",
        "void f(std::future<void>& f) { ASSERT_EQ(f.wait_for(30s), std::future_status::ready); }\n",
        "void f() { EXPECT_EQ(platform::RunLoop::main().runNext(0), 1); }\n",
        "void f() { EXPECT_FALSE(view->waitToPlayNextSound()); EXPECT_FALSE(waiting()); }\n",
        "void f() { EXPECT_FALSE(loop.runUntil([&] { return ++asked < 0; }, 0.0)); }\n",
        "void f() { ASSERT_TRUE(runUntil([&] { if (seen && ++turns <= 5) hold(); return gridOnTop(); })); }\n",
        "void f() { (void)lookUntil([&] { if (ready()) for (auto& c : all) ++ended; return ended >= n; }); }\n",
        "void f() { ASSERT_TRUE(drives(\"sleep 0.5\\ntap id=btnOK\\nwait text=Xong 30\\nexpect text=Xong\\n\")); }\n",
        "class T : public ClientFixture {};\nvoid f() { performAfterDelay(0.3, [] {}); advance(0.3); }\n",
        "void f() { ::pause(); std::this_thread::yield(); }\n",
    };
    for (const char* source : clean)
        EXPECT_EQ(found(source), "") << source;
}

} // namespace
} // namespace kavo::test
