#include "tests/e2e/ChildProcess.h"

#include "tests/support/StateWaits.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kavo::test {

namespace {
using Clock = std::chrono::steady_clock;
} // namespace

std::optional<std::string> findInPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

bool ChildProcess::start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                         bool captureOutput, const std::string& errorFile) {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!env.contains(entry.substr(0, entry.find('=')))) environment.push_back(entry);
    }
    for (const auto& [key, value] : env)
        environment.push_back(key + "=" + value);
    // Everything the child needs is made before the fork: between fork and exec it may
    // only make calls that are safe in a copy of a process with threads.
    std::vector<char*> args, envp;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    int out[2] = {-1, -1};
    if (captureOutput && pipe2(out, O_CLOEXEC) != 0) return false;
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // Its own process group, which its own children join: stop() ends them all.
        setpgid(0, 0);
        // Ended with the test program, however that ends (an early exit, a crash, a kill),
        // so that no stub or client outlives the run that started it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The test program may have ended before the line above: then nothing kills us.
        if (getppid() != parent) _exit(126);
        // Nothing to read: a process group of its own must not wait on a terminal's input.
        const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0) _exit(126);
        if (captureOutput && dup2(out[1], STDOUT_FILENO) < 0) _exit(126);
        if (!errorFile.empty()) {
            const int fd = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) _exit(126);
        }
        execve(argv[0].c_str(), args.data(), envp.data());
        _exit(127);
    }
    if (pid_ > 0) {
        // Set from both sides, so that the group is there before either goes on.
        setpgid(pid_, pid_);
        group_ = pid_;
    }
    if (captureOutput) {
        close(out[1]);
        out_ = out[0];
    }
    if (pid_ < 0) pid_ = -1;
    return pid_ > 0;
}

std::optional<std::string> ChildProcess::readLine(double timeout) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeout);
    while (true) {
        if (auto nl = buffer_.find('\n'); nl != std::string::npos) {
            std::string line = buffer_.substr(0, nl);
            buffer_.erase(0, nl + 1);
            transcript_ += line + "\n";
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || out_ < 0) return std::nullopt;
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, int(left)) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(out_, chunk, sizeof chunk);
        if (n <= 0) {
            close(out_);
            out_ = -1;
            return std::nullopt;
        }
        buffer_.append(chunk, size_t(n));
    }
}

std::optional<int> ChildProcess::wait(double timeout) {
    if (pid_ <= 0) return std::nullopt;
    // Seen ended but not yet reaped: its pid, and so its group's, cannot be taken by another
    // process while what is left of the group is killed.
    const bool ended = lookUntil(
        [this] {
            siginfo_t info{};
            return waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_;
        },
        timeout);
    if (!ended) return std::nullopt;
    killGroup();
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void ChildProcess::killGroup() {
    if (group_ > 0) killpg(group_, SIGKILL);
    group_ = -1;
}

void ChildProcess::stop() {
    if (pid_ > 0) {
        // The whole group: the child and whatever it started (the stub's sessions).
        killGroup();
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (out_ >= 0) close(out_);
    out_ = -1;
}

bool runToEnd(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env) {
    ChildProcess child;
    if (!child.start(argv, env, false)) return false;
    return child.wait(kStateWait) == 0;
}

} // namespace kavo::test
