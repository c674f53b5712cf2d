#pragma once

#include "tests/support/Sockets.h"
#include "tests/support/client/ClientTestSupport.h"

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace kavo::test {

// The stub on two free ports, stopped with the object; `options` follow the ports.
class StubProcess {
public:
    explicit StubProcess(const std::vector<std::string>& options = {})
        : port_(deadLoopbackPort()), httpPort_(deadLoopbackPort()) {
        std::vector<std::string> words = {KAVO_PORTAL_STUB, "--port", std::to_string(port_), "--http-port",
                                          std::to_string(httpPort_)};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (auto& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, KAVO_PORTAL_STUB, nullptr, nullptr, argv.data(), environ) != 0) pid_ = 0;
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
    uint16_t httpPort() const { return httpPort_; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(httpPort_) + path; }

private:
    uint16_t port_;
    uint16_t httpPort_;
    pid_t pid_ = 0;
};

} // namespace kavo::test
