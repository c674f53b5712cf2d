// Many players at once against portal stub programs, over real connections on 127.0.0.1:
// each connection signs in as a name of its own, then all of them send money changes (a
// transfer of 1 Zel to a stub player, one at a time, each waiting for its answer), while
// the CPU time the stub's processes spend on them is read; and as many connections sign
// in at the same moment. A fresh stub serves each count of connections, and the stubs
// measured take turns at each count, so that a load of the machine falls on them alike.
#include "bench/LedgerWireBench.h"

#include "net/FrameReader.h"
#include "net/TEA.h"
#include "tests/support/Sockets.h"

#include <algorithm>
#include <barrier>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
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
// What the stub must reach: at every count no fewer changes a second than a stub it is
// measured against and no more than 1.2 times its CPU time per change, at 50 connections
// a change's p99 under 5 ms, and 200 sign-ins at once all answered within a second.
constexpr double kGoalCpuRatio = 1.2;
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
    // The CPU time the stub and the processes serving its clients have spent so far, in
    // seconds, by process.
    std::map<pid_t, double> cpuTimes() const {
        std::map<pid_t, double> times = {{pid_, cpuTimeOf(pid_)}};
        DIR* processes = ::opendir("/proc");
        for (dirent* entry; processes && (entry = ::readdir(processes));) {
            const pid_t pid = pid_t(std::atoi(entry->d_name));
            if (pid > 0 && parentOf(pid) == pid_) times[pid] = cpuTimeOf(pid);
        }
        if (processes) ::closedir(processes);
        return times;
    }

private:
    static double cpuTimeOf(pid_t pid) {
        clockid_t clock;
        timespec spent{};
        if (::clock_getcpuclockid(pid, &clock) != 0 || ::clock_gettime(clock, &spent) != 0) return 0;
        return double(spent.tv_sec) + double(spent.tv_nsec) / 1e9;
    }
    // The parent's pid from /proc/PID/stat ("pid (name) state ppid ..."; the name may hold
    // spaces and brackets, so it is read after the last one).
    static pid_t parentOf(pid_t pid) {
        std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
        std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const size_t end = stat.rfind(')');
        if (end == std::string::npos) return -1;
        char state = 0;
        int parent = -1;
        return std::sscanf(stat.c_str() + end + 1, " %c %d", &state, &parent) == 2 ? pid_t(parent) : -1;
    }

    pid_t pid_ = -1;
    uint16_t port_ = 0;
    bool ready_ = false;
};

// The CPU seconds spent between two readings by the processes read at both.
double cpuSpent(const std::map<pid_t, double>& before, const std::map<pid_t, double>& after) {
    double spent = 0;
    for (const auto& [pid, seconds] : after)
        if (auto earlier = before.find(pid); earlier != before.end()) spent += seconds - earlier->second;
    return spent;
}

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

// Runs `work(index, start, done)` on `count` threads released at one moment (`start`);
// `onStart` runs as they are released, `onDone` once every one has reached `done`. The
// times each gave, all together.
template <typename Work, typename OnStart = void (*)(), typename OnDone = void (*)()>
std::vector<double> onThreads(
    int count, Work work, OnStart onStart = [] {}, OnDone onDone = [] {}) {
    auto times = std::vector<std::vector<double>>(size_t(count));
    std::barrier start(count, [&]() noexcept { onStart(); });
    std::barrier done(count, [&]() noexcept { onDone(); });
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i)
        threads.emplace_back([&, i] { times[size_t(i)] = work(i, start, done); });
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
    double cpuPerChange = 0; // ms of the stub's processes
};

int changesEach(int count) {
    return std::max(50, 4000 / count);
}

// `count` signed-in connections each send their changes one at a time.
std::optional<Changes> changesAt(const std::string& program, int count) {
    StubRun stub(program);
    if (!stub.ready()) return std::nullopt;
    const int each = changesEach(count);
    Clock::time_point began;
    double seconds = 0;
    std::map<pid_t, double> cpuBefore;
    std::map<pid_t, double> cpuAfter;
    const auto work = [&](int i, auto& start, auto& done) {
        Connection connection(0x5eed0000 + i);
        const bool signedIn = connection.signIn(stub.port(), "bench" + std::to_string(i));
        start.arrive_and_wait();
        std::vector<double> mine;
        kavo::Message transfer(17);
        transfer.writeUTF("lan");
        transfer.writeInt(1);
        for (int n = 0; signedIn && n < each; ++n) {
            const auto sent = Clock::now();
            if (!connection.send(transfer) || !connection.next(17)) break;
            mine.push_back(millisecondsSince(sent));
        }
        // Every connection stays open until the last change is answered and the CPU read.
        done.arrive_and_wait();
        return mine;
    };
    std::vector<double> times = onThreads(
        count, work,
        [&] {
            cpuBefore = stub.cpuTimes();
            began = Clock::now();
        },
        [&] {
            seconds = millisecondsSince(began) / 1000.0;
            cpuAfter = stub.cpuTimes();
        });
    Changes changes;
    changes.perSecond = double(times.size()) / seconds;
    changes.cpuPerChange = times.empty() ? 0 : cpuSpent(cpuBefore, cpuAfter) * 1000.0 / double(times.size());
    changes.figures = figuresOf(std::move(times), size_t(count * each));
    return changes;
}

// `count` connections connect and sign in at one moment: the time from that moment to
// each one's answer.
std::optional<Figures> signInsAt(const std::string& program, int count) {
    StubRun stub(program);
    if (!stub.ready()) return std::nullopt;
    std::vector<double> times = onThreads(count, [&](int i, auto& start, auto& done) {
        Connection connection(0x51600000 + i);
        start.arrive_and_wait();
        const auto began = Clock::now();
        std::vector<double> mine;
        if (connection.signIn(stub.port(), "arrival" + std::to_string(i))) mine.push_back(millisecondsSince(began));
        done.arrive_and_wait();
        return mine;
    });
    return figuresOf(std::move(times), size_t(count));
}

// The figures of each stub at each count, the stubs in the order given.
struct Series {
    std::map<int, Changes> changes;
    std::map<int, Figures> signIns;
};

void printChanges(const std::vector<std::string>& stubs, const std::vector<Series>& series) {
    std::printf("money changes, every connection at once (a transfer of 1 Zel each, one at a time):\n");
    std::printf("  connections  stub   changes  answered    p50 ms    p99 ms  changes/s  CPU ms/change\n");
    for (int count : kCounts)
        for (size_t s = 0; s < stubs.size(); ++s) {
            const Changes& changes = series[s].changes.at(count);
            std::printf("  %11d %5zu %9d %9zu %9.2f %9.2f %10.0f %14.3f\n", count, s + 1, count * changesEach(count),
                        changes.figures.answered, changes.figures.p50, changes.figures.p99, changes.perSecond,
                        changes.cpuPerChange);
        }
}

void printSignIns(const std::vector<std::string>& stubs, const std::vector<Series>& series) {
    std::printf("sign-ins at one moment (connect, hello, sign-in, its answer):\n");
    std::printf("  connections  stub  answered    p50 ms    p99 ms  slowest ms\n");
    for (int count : kCounts)
        for (size_t s = 0; s < stubs.size(); ++s) {
            const Figures& figures = series[s].signIns.at(count);
            std::printf("  %11d %5zu %9zu %9.1f %9.1f %11.1f\n", count, s + 1, figures.answered, figures.p50,
                        figures.p99, figures.slowest);
        }
}

// The goals of the first stub, against each other one and on its own.
void printGoals(const std::vector<std::string>& stubs, const std::vector<Series>& series) {
    const Series& mine = series.front();
    for (size_t s = 1; s < stubs.size(); ++s) {
        bool faster = true;
        bool frugal = true;
        std::string rates;
        for (int count : kCounts) {
            const Changes& a = mine.changes.at(count);
            const Changes& b = series[s].changes.at(count);
            faster = faster && a.perSecond >= b.perSecond;
            frugal = frugal && a.cpuPerChange <= kGoalCpuRatio * b.cpuPerChange;
            char line[96];
            std::snprintf(line, sizeof line, "%s%d: %.2fx changes/s, %.2fx CPU", rates.empty() ? "" : "; ", count,
                          a.perSecond / b.perSecond, a.cpuPerChange / b.cpuPerChange);
            rates += line;
        }
        std::printf("goal: against stub %zu, at every count no fewer changes/s and at most %.1fx the CPU per change "
                    "(%s): %s\n",
                    s + 1, kGoalCpuRatio, rates.c_str(), faster && frugal ? "met" : "NOT met");
    }
    const Changes& goal = mine.changes.at(kGoalConnections);
    const bool fast = goal.figures.p99 < kGoalP99 &&
                      goal.figures.answered == size_t(kGoalConnections * changesEach(kGoalConnections));
    std::printf("goal: at %d connections a change's p99 under %.0f ms (%.2f): %s\n", kGoalConnections, kGoalP99,
                goal.figures.p99, fast ? "met" : "NOT met");
    const Figures& arrivals = mine.signIns.at(kGoalSignIns);
    const bool answered = arrivals.answered == size_t(kGoalSignIns) && arrivals.slowest < kGoalSignInMs;
    std::printf("goal: %d sign-ins at one moment all answered within %.0f ms (%zu answered, the slowest %.1f ms): %s\n",
                kGoalSignIns, kGoalSignInMs, arrivals.answered, arrivals.slowest, answered ? "met" : "NOT met");
}

} // namespace

bool runLedgerWireBench(const std::vector<std::string>& stubs) {
    std::printf("\nover the wire, against\n");
    for (size_t s = 0; s < stubs.size(); ++s)
        std::printf("  stub %zu: %s\n", s + 1, stubs[s].c_str());
    std::vector<Series> series(stubs.size());
    for (int count : kCounts)
        for (size_t s = 0; s < stubs.size(); ++s) {
            const auto changes = changesAt(stubs[s], count);
            if (!changes) return false;
            series[s].changes[count] = *changes;
        }
    for (int count : kCounts)
        for (size_t s = 0; s < stubs.size(); ++s) {
            const auto figures = signInsAt(stubs[s], count);
            if (!figures) return false;
            series[s].signIns[count] = *figures;
        }
    printChanges(stubs, series);
    printSignIns(stubs, series);
    printGoals(stubs, series);
    return true;
}
