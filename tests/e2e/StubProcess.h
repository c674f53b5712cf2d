#pragma once

#include "tests/support/Sockets.h"
#include "tests/support/client/ClientTestSupport.h"

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace kavo::test {

// The stub on two free ports, stopped with the object.
class StubProcess {
public:
    StubProcess() : port_(deadLoopbackPort()), httpPort_(deadLoopbackPort()) {
        const std::string port = std::to_string(port_);
        const std::string httpPort = std::to_string(httpPort_);
        const char* argv[] = {KAVO_PORTAL_STUB, "--port", port.c_str(), "--http-port", httpPort.c_str(), nullptr};
        if (posix_spawn(&pid_, KAVO_PORTAL_STUB, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = 0;
    }
    ~StubProcess() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    // Waits (at most 5 s) until the stub's pages answer.
    bool ready() const {
        for (int i = 0; i < 100 && pid_ > 0; ++i) {
            if (connectToLoopback(httpPort_).valid()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    uint16_t port() const { return port_; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(httpPort_) + path; }

private:
    uint16_t port_;
    uint16_t httpPort_;
    pid_t pid_ = 0;
};

} // namespace kavo::test
