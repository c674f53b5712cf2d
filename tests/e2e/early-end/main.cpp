// A test program that ends early: it starts the stub (logging to FOLDER/stub.log), opens
// two connections so that two sessions serve them, prints "stub PID", "session PID" for
// each and "ready", then ends without running a destructor: with `exit` at once by
// _exit, with `wait` when it is killed. Whatever it started must end with it.
#include "tests/e2e/StubProcess.h"
#include "tests/support/Sockets.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
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
        std::fprintf(stderr, "usage: %s FOLDER exit|wait\n", argv[0]);
        return 2;
    }
    const std::string log = std::string(argv[1]) + "/stub.log";
    kavo::test::StubProcess stub({}, {}, log);
    if (!stub.ready()) return 2;
    const kavo::test::Fd first = kavo::test::connectToLoopback(stub.port());
    const kavo::test::Fd second = kavo::test::connectToLoopback(stub.port());
    if (!first.valid() || !second.valid()) return 2;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::vector<pid_t> sessions;
    while ((sessions = sessionsIn(log)).size() < 2) {
        if (std::chrono::steady_clock::now() > deadline) return 2;
        // Paces the reading of the log until both sessions are named.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("stub %d\n", int(stub.pid()));
    for (pid_t session : sessions)
        std::printf("session %d\n", int(session));
    std::printf("ready\n");
    std::fflush(stdout);
    if (std::string(argv[2]) == "exit") ::_exit(3);
    for (;;)
        ::pause();
}
