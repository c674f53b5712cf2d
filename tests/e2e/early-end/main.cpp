// A test program that ends early: it starts the stub (logging to FOLDER/stub.log), opens
// two connections so that two sessions serve them, prints "stub PID", "session PID" for
// each and "ready", then ends without running a destructor: with `exit` at once by
// _exit, with `wait` when it is killed. With `pause` it opens one connection instead,
// signs in as giua and sends a transfer that the stub pauses in the middle of (it keeps
// its accounts in FOLDER/state), prints "paused PID" for the session that pauses too,
// and waits to be killed. Whatever it started must end with it.
#include "tests/e2e/StubProcess.h"
#include "tests/e2e/StubWire.h"
#include "tests/support/Sockets.h"
#include "tests/support/StateWaits.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The pids of the processes that the stub's log says serve its clients.
std::vector<pid_t> sessionsIn(const std::string& log) {
    std::vector<pid_t> pids;
    std::ifstream file(log);
    const std::string said = "a client connected, served by process ";
    for (std::string line; std::getline(file, line);)
        if (const size_t at = line.find(said); at != std::string::npos)
            pids.push_back(pid_t(std::atoi(line.c_str() + at + said.size())));
    return pids;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER exit|wait|pause\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string log = folder + "/stub.log";
    const bool pausedSpend = std::string(argv[2]) == "pause";
    // Only giua's spends pause, for longer than any test: nothing but an end of the
    // session ends the pause.
    const std::map<std::string, std::string> pauseSettings = {{"KAVO_STUB_SPEND_PAUSE", "120000"},
                                                              {"KAVO_STUB_SPEND_PAUSE_OF", "giua"}};
    kavo::test::StubProcess stub(pausedSpend ? std::vector<std::string>{"--state-dir", folder + "/state"}
                                             : std::vector<std::string>{},
                                 pausedSpend ? pauseSettings : std::map<std::string, std::string>{}, log);
    if (!stub.ready()) return 2;
    const size_t connections = pausedSpend ? 1 : 2;
    std::optional<kavo::test::StubPerson> holder;
    kavo::test::Fd first, second;
    pid_t paused = -1;
    if (pausedSpend) {
        holder.emplace(stub.port());
        if (holder->signIn("giua") != 1000000) return 2;
        holder->send(17, kavo::test::Bytes().utf("lan").int32(1000).data());
        paused = kavo::test::processPausingASpendOf(log, "giua", 60);
        if (paused <= 0) return 2;
    } else {
        first = kavo::test::connectToLoopback(stub.port());
        second = kavo::test::connectToLoopback(stub.port());
        if (!first.valid() || !second.valid()) return 2;
    }
    std::vector<pid_t> sessions;
    if (!kavo::test::lookUntil([&] { return (sessions = sessionsIn(log)).size() >= connections; }, 60)) return 2;
    std::printf("stub %d\n", int(stub.pid()));
    for (pid_t session : sessions)
        std::printf("session %d\n", int(session));
    if (pausedSpend) std::printf("paused %d\n", int(paused));
    std::printf("ready\n");
    std::fflush(stdout);
    if (std::string(argv[2]) == "exit") ::_exit(3);
    for (;;)
        ::pause();
}
