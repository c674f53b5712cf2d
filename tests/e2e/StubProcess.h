#pragma once

#include "tests/e2e/ChildProcess.h"
#include "tests/support/Sockets.h"
#include "tests/support/StateWaits.h"
#include "tests/support/client/ClientTestSupport.h"

#include <csignal>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavo::test {

// The stub on two free ports, stopped with the object; `options` follow the ports,
// `environment` adds to the test's and its log goes to `errorFile` when one is named.
class StubProcess {
public:
    explicit StubProcess(const std::vector<std::string>& options = {},
                         std::map<std::string, std::string> environment = {}, std::string errorFile = "")
        : options_(options), environment_(std::move(environment)), errorFile_(std::move(errorFile)) {
        start();
    }
    ~StubProcess() { stop(); }
    // Waits until the stub says both its servers listen (its one line of output). A port
    // another process took since it was chosen ends the stub at once: it starts again on
    // two fresh ports. The minute is a bound for a stub that never starts, not a guess
    // at its speed.
    bool ready() {
        for (int attempt = 0; attempt < 5 && !ready_; ++attempt) {
            if (attempt > 0) {
                stop();
                start();
            }
            if (auto line = child_.readLine(60)) {
                std::printf("%s\n", line->c_str());
                std::fflush(stdout);
                ready_ = line->find("game server on") != std::string::npos;
            }
        }
        return ready_;
    }
    // Ends the stub at once (SIGKILL): it removes nothing it made.
    void kill() { child_.stop(); }
    // Stops the stub as scripts/run does (SIGTERM, which ends the processes serving its
    // clients) and waits for it.
    void stop() {
        if (child_.pid() > 0) {
            ::kill(child_.pid(), SIGTERM);
            // One that does not end within the bound is killed below.
            (void)child_.wait(kStateWait);
        }
        child_.stop();
    }
    // The stub's next line of output after the one that said it listens (the stub writes
    // its lines of results there when KAVO_STUB_TELL_RESULTS is set), or nothing when
    // `timeout` passes or the output ends.
    [[nodiscard]] std::optional<std::string> readLine(double timeout) { return child_.readLine(timeout); }
    uint16_t port() const { return port_; }
    pid_t pid() const { return child_.pid(); }
    uint16_t httpPort() const { return httpPort_; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(httpPort_) + path; }

private:
    void start() {
        port_ = deadLoopbackPort();
        httpPort_ = deadLoopbackPort();
        std::vector<std::string> words = {KAVO_PORTAL_STUB, "--port", std::to_string(port_), "--http-port",
                                          std::to_string(httpPort_)};
        words.insert(words.end(), options_.begin(), options_.end());
        child_.start(words, environment_, true, errorFile_);
    }
    std::vector<std::string> options_;
    std::map<std::string, std::string> environment_;
    std::string errorFile_;
    uint16_t port_ = 0;
    uint16_t httpPort_ = 0;
    ChildProcess child_;
    bool ready_ = false;
};

} // namespace kavo::test
