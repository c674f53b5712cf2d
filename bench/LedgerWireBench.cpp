// Many players at once against the portal stub program, over real connections on
// 127.0.0.1: each connection signs in as a name of its own, then all of them send money
// changes (a transfer of 1 Zel to a stub player, one at a time, each waiting for its
// answer); and as many connections sign in at the same moment. A fresh stub serves each
// count of connections.
#include "bench/LedgerWireBench.h"

#include "net/FrameReader.h"
#include "net/TEA.h"
#include "tests/support/Sockets.h"

#include <algorithm>
#include <barrier>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using kavo::test::Fd;

constexpr int kCounts[] = {1, 10, 50, 200};
// What the stub must reach: at 50 connections a change's p99 under 5 ms with no fewer
// changes a second than one connection makes, and 200 sign-ins at once all answered
// within a second.
constexpr int kGoalConnections = 50;
constexpr double kGoalP99 = 5.0;
constexpr int kGoalSignIns = 200;
constexpr double kGoalSignInMs = 1000.0;
// A reply that takes longer counts as never answered.
constexpr double kReplySeconds = 10.0;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The stub program on two free ports, its log thrown away, stopped with the object.
class StubRun {
public:
    explicit StubRun(const std::string& program) {
        uint16_t game = 0;
        uint16_t http = 0;
        {
            // Both held at once, so that they differ; let go for the stub to take.
            Fd first = kavo::test::listenOnLoopback(game);
            Fd second = kavo::test::listenOnLoopback(http);
        }
        port_ = game;
        std::vector<std::string> words = {program, "--port", std::to_string(game), "--http-port", std::to_string(http)};
        std::vector<char*> argv;
        for (auto& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(out[1], 1);
            ::dup2(quiet, 2);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        Fd output(out[0]);
        // Its first line says that it listens.
        std::string line;
        char c = 0;
        while (pid_ > 0 && line.find('\n') == std::string::npos) {
            pollfd wait{output.get(), POLLIN, 0};
            if (::poll(&wait, 1, 30000) <= 0 || ::read(output.get(), &c, 1) != 1) break;
            line += c;
        }
        ready_ = line.find("game server on") != std::string::npos;
    }
    ~StubRun() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    StubRun(const StubRun&) = delete;
    StubRun& operator=(const StubRun&) = delete;
    bool ready() const { return ready_; }
    uint16_t port() const { return port_; }

private:
    pid_t pid_ = -1;
    uint16_t port_ = 0;
    bool ready_ = false;
};

// One player's connection, as the client speaks: the hello, then enciphered frames.
class Connection {
public:
    explicit Connection(int64_t key) : key_(key), tea_(key) {}

    bool open(uint16_t port) {
        fd_ = kavo::test::connectToLoopback(port);
        uint8_t hello[9] = {10};
        for (int i = 0; i < 8; ++i)
            hello[1 + i] = uint8_t(uint64_t(key_) >> (56 - 8 * i));
        return fd_.valid() && kavo::test::sendAll(fd_.get(), hello, sizeof hello);
    }
    bool send(const kavo::Message& message) {
        const auto frame = kavo::encodeFrame(tea_, message);
        return kavo::test::sendAll(fd_.get(), frame.data(), frame.size());
    }
    // The next reply of `command`; the others before it are passed over.
    std::optional<kavo::Message> next(int16_t command) {
        const auto deadline = Clock::now() + std::chrono::duration<double>(kReplySeconds);
        std::vector<uint8_t> body;
        for (;;) {
            while (frames_.next(body) == kavo::FrameReader::Result::Frame) {
                auto message = kavo::decodeFrameBody(tea_, body);
                if (message && message->commandId() == command) return message;
            }
            const double left = std::chrono::duration<double>(deadline - Clock::now()).count();
            if (left <= 0 || kavo::test::waitReadable(fd_.get(), stop_, left) != kavo::test::WaitResult::Ready)
                return std::nullopt;
            uint8_t bytes[16384];
            const ssize_t n = ::recv(fd_.get(), bytes, sizeof bytes, 0);
            if (n <= 0) return std::nullopt;
            frames_.append(bytes, size_t(n));
        }
    }
    // Connects and signs in as `name`: whether the sign-in was answered.
    bool signIn(uint16_t port, const std::string& name) {
        kavo::Message request(1);
        request.writeUTF(name);
        request.writeUTF("123");
        request.writeUTF("1.0");
        return open(port) && send(request) && next(3).has_value();
    }

private:
    int64_t key_;
    kavo::TEA tea_;
    Fd fd_;
    kavo::FrameReader frames_;
    kavo::test::StopSignal stop_;
};

struct Figures {
    size_t answered = 0;
    double p50 = 0;
    double p99 = 0;
    double slowest = 0;
};

// The times of the answers; an unanswered one counts as the slowest.
Figures figuresOf(std::vector<double> times, size_t asked) {
    Figures figures;
    figures.answered = times.size();
    if (times.empty()) return figures;
    std::sort(times.begin(), times.end());
    times.resize(asked, times.back());
    figures.p50 = times[times.size() / 2];
    figures.p99 = times[(times.size() * 99 + 99) / 100 - 1];
    figures.slowest = times.back();
    return figures;
}

// Runs `work(index, start)` on `count` threads released at one moment; the times each
// gave, all together.
template <typename Work> std::vector<double> onThreads(int count, Work work) {
    auto times = std::vector<std::vector<double>>(size_t(count));
    std::barrier start(count);
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back([&, i] { times[size_t(i)] = work(i, start); });
    for (auto& thread : threads)
        thread.join();
    std::vector<double> all;
    for (auto& some : times)
        all.insert(all.end(), some.begin(), some.end());
    return all;
}

struct Changes {
    Figures figures;
    double perSecond = 0;
};

// `count` signed-in connections each send their changes one at a time.
std::optional<Changes> changesAt(const std::string& program, int count) {
    StubRun stub(program);
    if (!stub.ready()) return std::nullopt;
    const int each = std::max(50, 4000 / count);
    Clock::time_point began;
    std::vector<double> times = onThreads(count, [&](int i, std::barrier<>& start) {
        Connection connection(0x5eed0000 + i);
        const bool signedIn = connection.signIn(stub.port(), "bench" + std::to_string(i));
        start.arrive_and_wait();
        if (i == 0) began = Clock::now();
        std::vector<double> mine;
        kavo::Message transfer(17);
        transfer.writeUTF("lan");
        transfer.writeInt(1);
        for (int n = 0; signedIn && n < each; ++n) {
            const auto sent = Clock::now();
            if (!connection.send(transfer) || !connection.next(17)) break;
            mine.push_back(millisecondsSince(sent));
        }
        return mine;
    });
    Changes changes;
    changes.perSecond = double(times.size()) / (millisecondsSince(began) / 1000.0);
    changes.figures = figuresOf(std::move(times), size_t(count * each));
    return changes;
}

// `count` connections connect and sign in at one moment: the time from that moment to
// each one's answer.
std::optional<Figures> signInsAt(const std::string& program, int count) {
    StubRun stub(program);
    if (!stub.ready()) return std::nullopt;
    std::vector<double> times = onThreads(count, [&](int i, std::barrier<>& start) {
        Connection connection(0x51600000 + i);
        start.arrive_and_wait();
        const auto began = Clock::now();
        if (!connection.signIn(stub.port(), "arrival" + std::to_string(i))) return std::vector<double>{};
        return std::vector<double>{millisecondsSince(began)};
    });
    return figuresOf(std::move(times), size_t(count));
}

} // namespace

bool runLedgerWireBench(const std::string& stub) {
    std::printf("\nover the wire, against %s\n", stub.c_str());
    std::printf("money changes, every connection at once (a transfer of 1 Zel each, one at a time):\n");
    std::printf("  connections   changes  answered    p50 ms    p99 ms  changes/s\n");
    double alone = 0;
    std::optional<Changes> goal;
    for (int count : kCounts) {
        const auto changes = changesAt(stub, count);
        if (!changes) return false;
        const int each = std::max(50, 4000 / count);
        std::printf("  %11d %9d %9zu %9.2f %9.2f %10.0f\n", count, count * each, changes->figures.answered,
                    changes->figures.p50, changes->figures.p99, changes->perSecond);
        if (count == 1) alone = changes->perSecond;
        if (count == kGoalConnections) goal = changes;
    }
    std::printf("sign-ins at one moment (connect, hello, sign-in, its answer):\n");
    std::printf("  connections  answered    p50 ms    p99 ms  slowest ms\n");
    std::optional<Figures> arrivals;
    for (int count : kCounts) {
        const auto figures = signInsAt(stub, count);
        if (!figures) return false;
        std::printf("  %11d %9zu %9.1f %9.1f %11.1f\n", count, figures->answered, figures->p50, figures->p99,
                    figures->slowest);
        if (count == kGoalSignIns) arrivals = figures;
    }
    const bool fast = goal->figures.p99 < kGoalP99 && goal->perSecond >= alone &&
                      goal->figures.answered == size_t(kGoalConnections * std::max(50, 4000 / kGoalConnections));
    std::printf("goal: at %d connections a change's p99 under %.0f ms (%.2f) and no fewer changes/s than one "
                "connection's (%.0f against %.0f): %s\n",
                kGoalConnections, kGoalP99, goal->figures.p99, goal->perSecond, alone, fast ? "met" : "NOT met");
    const bool answered = arrivals->answered == size_t(kGoalSignIns) && arrivals->slowest < kGoalSignInMs;
    std::printf("goal: %d sign-ins at one moment all answered within %.0f ms (%zu answered, the slowest %.1f ms): %s\n",
                kGoalSignIns, kGoalSignInMs, arrivals->answered, arrivals->slowest, answered ? "met" : "NOT met");
    return true;
}
