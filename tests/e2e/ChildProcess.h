#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kavo::test {

// The full path of a program found on PATH.
std::optional<std::string> findInPath(const std::string& name);

// A child process started by a test. Its standard output comes back through a pipe when
// asked for; its standard error can go to a file. It leads a process group of its own,
// which its own children join; the group is killed when the object goes, when the child
// is seen to end, and the child is killed when the test program ends (even by a crash or
// a kill: the kernel ends it with its parent, so it must be started from a thread that
// lives as long as it should).
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { stop(); }

    // `env` adds to (or replaces in) this process's environment.
    bool start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env, bool captureOutput,
               const std::string& errorFile = "");
    // The next whole line of output, or nothing when `timeout` passes or the output ends.
    [[nodiscard]] std::optional<std::string> readLine(double timeout);
    // Waits at most `timeout` seconds for the exit: the exit status (128 + the signal when
    // a signal ended it), or nothing. What is left of its group is killed at its exit.
    [[nodiscard]] std::optional<int> wait(double timeout);
    // Kills the process (if still running) and its group, and reaps it.
    void stop();

    pid_t pid() const { return pid_; }
    // Every line read so far.
    const std::string& transcript() const { return transcript_; }

private:
    // Kills the child's group while its pid is still its own (running or not yet reaped).
    void killGroup();

    pid_t pid_ = -1;
    pid_t group_ = -1;
    int out_ = -1;
    std::string buffer_;
    std::string transcript_;
};

// Runs a short command to its end; true when it exits with 0 within kStateWait s.
bool runToEnd(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env);

} // namespace kavo::test
