#include "tests/e2e/ChildProcess.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int out[2] = {-1, -1};
    if (captureOutput) {
        if (pipe2(out, O_CLOEXEC) != 0) return false;
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    }
    if (!errorFile.empty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    std::vector<char*> args, envp;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : environment)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const int error = posix_spawn(&pid_, argv[0].c_str(), &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (captureOutput) {
        close(out[1]);
        out_ = out[0];
    }
    if (error != 0) pid_ = -1;
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
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeout);
    while (pid_ > 0) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (Clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

void ChildProcess::stop() {
    if (pid_ > 0) {
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
    return child.wait(10) == 0;
}

} // namespace kavo::test
