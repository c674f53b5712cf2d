// portal-stub: a small local portal for trying the client by hand. It serves the
// server list and two small pages over HTTP and runs a game server that accepts any
// user (except "banned") and answers the sign-in and lobby road. Runs until stopped.
//
//   portal-stub [--port PORT] [--http-port PORT] [--lottery-period SECONDS] [--max-sessions COUNT]
//               [--state-dir FOLDER]
//   portal-stub --table
//
// --table prints the table of the rows a session answers, one a line (command, sub, game,
// rule and whether it moves money or ownership), and ends.
// The ports default to 12346 and 12347; the lottery draws every ten minutes unless
// told, and its result goes only to a player who bet in that draw.
//
// Each client's connection is served by a process of its own (this program again,
// started with --session-fd), so that every client has its own session, tables, mail
// and language and none waits for another; at most 256 at once (--max-sessions), and a
// connection beyond them is closed with a line in the log. What outlives a connection (every account's
// money, friends, notices, shop history and lottery tickets) is kept in a SQLite file of
// a state folder the first process makes and removes when it stops; it removes, as it
// starts, the folders of stubs that were killed. A folder given with --state-dir is kept
// instead: a stub started again with it goes on with its accounts.
#include "platform/runtime/Log.h"
#include "tools/portal-server/Sockets.h"
#include "tools/portal-stub/StubGraph.h"
#include "tools/portal-stub/StubHttp.h"
#include "tools/portal-stub/StubImages.h"
#include "tools/portal-stub/StubLog.h"
#include "tools/portal-stub/StubMoreGames.h"
#include "tools/portal-stub/StubNameBook.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubSocialNet.h"
#include "tools/portal-stub/StubStateFolder.h"
#include "tools/portal-stub/StubStore.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <random>
#include <set>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The clients served at once unless told otherwise: beyond them a connection is closed.
constexpr uint16_t kMaxSessions = 256;
// Connections the system holds for the stub to accept: a burst of clients that connect
// at one moment waits for its turn instead of for the client's retry a second later.
constexpr int kListenBacklog = 1024;

std::atomic<bool> stopRequested{false};
void onSignal(int) {
    stopRequested = true;
    // A session in the middle of a paused spend finishes it now and ends.
    portalstub::StubStore::endPauses();
}

int usage() {
    std::fprintf(stderr, "usage: portal-stub [--port PORT] [--http-port PORT] [--lottery-period SECONDS] "
                         "[--max-sessions COUNT] [--state-dir FOLDER]\n       portal-stub --table\n");
    return 2;
}

// A whole number from 1 to 65535 (a port, or seconds).
bool readNumber(const char* text, uint16_t& number) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!end || *end != '\0' || value <= 0 || value > 65535) return false;
    number = uint16_t(value);
    return true;
}

// A whole number that fits an unsigned 64-bit value (the shared secret, a descriptor).
bool readWide(const char* text, uint64_t& number) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (!end || end == text || *end != '\0' || errno != 0 || text[0] == '-') return false;
    number = value;
    return true;
}

bool portTaken(uint16_t port) {
    return portalserver::connectToLoopback(port).valid();
}

const char* kEventPage = "<html><head><meta charset=\"utf-8\"><title>Kavo</title></head><body>"
                         "<h1>Sự kiện / Events</h1><p>Chưa có sự kiện nào. No events yet.</p></body></html>\n";
const char* kGuidePage = "<html><head><meta charset=\"utf-8\"><title>Kavo</title></head><body>"
                         "<h1>Hướng dẫn / Guide</h1><p>Chọn trò chơi, chọn bàn và bắt đầu chơi. "
                         "Pick a game, pick a board and play.</p></body></html>\n";
// The configured "PaymentUrl": the price list of the in-app store, one product per entry.
const char* kPaymentList = "id=gold1&messenge=100.000 Gold;id=gold2&messenge=250.000 Gold";

std::string serverListFor(uint16_t port) {
    return "Kavo Local|127.0.0.1:" + std::to_string(port);
}

// What the command line says.
struct Options {
    uint16_t port = 12346;
    uint16_t httpPort = portalstub::StubPortal::kHttpPort;
    uint16_t lotterySeconds = portalstub::StubAccount::kDrawSeconds;
    uint16_t maxSessions = kMaxSessions;
    // A session's own: the connection it serves, the secret it shares and the state folder.
    bool session = false;
    uint64_t sessionFd = 0;
    uint64_t secret = 0;
    std::string stateFolder;
    // Only print the table of rows.
    bool table = false;
};

bool readOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--table") == 0) {
            options.table = true;
            continue;
        }
        const bool hasValue = i + 1 < argc;
        const char* value = hasValue ? argv[i + 1] : "";
        bool read = hasValue;
        if (std::strcmp(argv[i], "--port") == 0)
            read = read && readNumber(value, options.port);
        else if (std::strcmp(argv[i], "--http-port") == 0)
            read = read && readNumber(value, options.httpPort);
        else if (std::strcmp(argv[i], "--lottery-period") == 0)
            read = read && readNumber(value, options.lotterySeconds);
        else if (std::strcmp(argv[i], "--max-sessions") == 0)
            read = read && readNumber(value, options.maxSessions);
        else if (std::strcmp(argv[i], "--session-fd") == 0)
            read = options.session = read && readWide(value, options.sessionFd) && options.sessionFd <= 65535;
        else if (std::strcmp(argv[i], "--session-secret") == 0)
            read = read && readWide(value, options.secret);
        else if (std::strcmp(argv[i], "--state-dir") == 0)
            options.stateFolder = value;
        else
            read = false;
        if (!read) return false;
        ++i;
    }
    return true;
}

// Adds the social network's sign-in to the portal's own commands: whether the stub may
// serve (every row taken, no handler beside the table).
bool tablesTaken(portalstub::StubPortal& portal, portalstub::StubSocialNet& socialNet) {
    return portal.readyToServe({socialNet.signInCommand()});
}

// Whether the tables a session serves with are sound: checked as the stub starts, so that
// a row given twice stops it at once instead of every connection.
bool tablesAreSound(const Options& options) {
    portalstub::StubSocialNet socialNet(options.secret);
    portalstub::StubPortal portal(portalserver::Fd(), serverListFor(options.port), options.lotterySeconds,
                                  options.httpPort);
    return tablesTaken(portal, socialNet);
}

// A word for a row's sub or game: "every" for every sub or game.
std::string rowWord(int value, int every) {
    return value == every ? "every" : std::to_string(value);
}

// Prints the table a session answers with, one row a line: "command C sub S game G rule R
// money M" (S and G a number or "every"; R none, board-join or sign-in; M yes or no).
// Whether the table is sound.
bool printTable(const Options& options) {
    using portalstub::StubCommand;
    portalstub::StubSocialNet socialNet(options.secret);
    portalstub::StubPortal portal(portalserver::Fd(), serverListFor(options.port), options.lotterySeconds,
                                  options.httpPort);
    const bool sound = tablesTaken(portal, socialNet);
    for (const auto& row : portal.rows()) {
        const char* rule = row.rule == StubCommand::Rule::BoardJoin ? "board-join"
                           : row.rule == StubCommand::Rule::SignIn  ? "sign-in"
                                                                    : "none";
        std::printf("command %d sub %s game %s rule %s money %s\n", int(row.command),
                    rowWord(row.sub, StubCommand::kEverySub).c_str(), rowWord(row.game, StubCommand::kAnyGame).c_str(),
                    rule, row.money ? "yes" : "no");
    }
    return sound;
}

// One client's game server, on the connection the first process accepted; it ends
// when the client goes (or when stopped).
int runSession(const Options& options) {
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    if (!options.stateFolder.empty()) portalstub::StubStore::session().keepIn(options.stateFolder);
    // Made before the portal, whose handlers use it, and gone after it.
    portalstub::StubSocialNet socialNet(options.secret);
    portalstub::StubPortal portal(portalserver::Fd(int(options.sessionFd)), serverListFor(options.port),
                                  options.lotterySeconds, options.httpPort);
    if (!tablesTaken(portal, socialNet)) return 1;
    portal.serve();
    platform::log("portal-stub: serving a client in process " + std::to_string(::getpid()));
    while (!stopRequested && portal.clientHere())
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // No request is read from here on: every part of the session may go.
    portal.stop();
    platform::log("portal-stub: the client of process " + std::to_string(::getpid()) + " is gone");
    return 0;
}

// Starts this program again to serve `client`: the child keeps the descriptor across
// the exec, and ends with this process, whatever it is doing then.
pid_t startSession(const portalserver::Fd& client, const Options& options) {
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return -1;
    self[length] = '\0';
    std::vector<std::string> words = {self,
                                      "--session-fd",
                                      std::to_string(client.get()),
                                      "--port",
                                      std::to_string(options.port),
                                      "--http-port",
                                      std::to_string(options.httpPort),
                                      "--lottery-period",
                                      std::to_string(options.lotterySeconds),
                                      "--session-secret",
                                      std::to_string(options.secret),
                                      "--state-dir",
                                      options.stateFolder};
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // A stop sent to the child between the fork and the exec would run the handler it
    // inherits, whose note the exec then drops: the session would serve on, and this
    // process wait for it. So the stop signals are held back across the fork, and the
    // child takes their default action (an end) before it lets them in.
    sigset_t stops, before;
    ::sigemptyset(&stops);
    ::sigaddset(&stops, SIGINT);
    ::sigaddset(&stops, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &stops, &before);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) {
        // A stop that came meanwhile is taken now, by this process's handler.
        ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
        return pid;
    }
    // Only calls that are safe between fork and exec from here.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigemptyset(&byDefault.sa_mask);
    ::sigaction(SIGINT, &byDefault, nullptr);
    ::sigaction(SIGTERM, &byDefault, nullptr);
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    // Killed when this process goes: a session asked to end may still finish what it is
    // in the middle of (a spend paused for a test, a wait for the accounts' lock), and
    // when this process is gone no one is left to wait for it, or to stop it again.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(1);
    ::fcntl(client.get(), F_SETFD, 0);
    ::execv(self, argv.data());
    ::_exit(127);
}

// The pages: the server list, the event, guide and more-games pages, the store's price
// list, the pictures, the social network's and its graph.
std::map<std::string, std::string> pagesFor(uint16_t port) {
    auto pages = portalstub::stubImagePages();
    pages.insert({{"/servers.txt", serverListFor(port)},
                  {"/event.html", kEventPage},
                  {"/guide.html", kGuidePage},
                  {"/payment.txt", kPaymentList}});
    pages.merge(portalstub::moreGamesPages());
    return pages;
}

// Accepts clients until stopped, each served by a process of its own (at most
// `options.maxSessions` at once); then stops them all.
void serveClients(const portalserver::Fd& listener, const Options& options) {
    std::set<pid_t> sessions;
    portalserver::StopSignal never;
    while (!stopRequested) {
        for (pid_t ended; (ended = ::waitpid(-1, nullptr, WNOHANG)) > 0;)
            sessions.erase(ended);
        if (portalserver::waitReadable(listener.get(), never, 0.2) != portalserver::WaitResult::Ready) continue;
        portalserver::Fd client(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client.valid()) continue;
        if (sessions.size() >= options.maxSessions) {
            platform::log("portal-stub: " + std::to_string(sessions.size()) +
                          " clients are served, the most at once; a new connection is closed");
            continue;
        }
        // A reply sent as two writes goes at once, not after the client's delayed
        // acknowledgement of the first (some 40 ms).
        int one = 1;
        ::setsockopt(client.get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const pid_t pid = startSession(client, options);
        if (pid < 0) {
            platform::log("portal-stub: could not start a process for a client; its connection is closed");
            continue;
        }
        sessions.insert(pid);
        platform::log("portal-stub: a client connected, served by process " + std::to_string(pid));
    }
    platform::log("portal-stub: stopping");
    for (pid_t pid : sessions)
        ::kill(pid, SIGTERM);
    for (pid_t pid : sessions)
        ::waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char** argv) {
    portalstub::installStubLog();
    Options options;
    if (!readOptions(argc, argv, options)) return usage();
    if (options.table) return printTable(options) ? 0 : 1;
    if (options.session) return runSession(options);
    options.secret = std::random_device()();
    options.secret = (options.secret << 32) ^ std::random_device()();
    for (uint16_t wanted : {options.port, options.httpPort}) {
        if (portTaken(wanted)) {
            std::fprintf(stderr, "portal-stub: port %u on 127.0.0.1 is taken\n", unsigned(wanted));
            return 1;
        }
    }
    if (!tablesAreSound(options)) return 1;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    portalstub::StubHttp http(options.httpPort, pagesFor(options.port));
    if (!http.valid()) {
        std::fprintf(stderr, "portal-stub: cannot listen on 127.0.0.1:%u\n", unsigned(options.httpPort));
        return 1;
    }
    portalserver::Fd listener = portalserver::listenOnLoopback(options.port, kListenBacklog);
    if (!listener.valid()) {
        std::fprintf(stderr, "portal-stub: cannot listen on 127.0.0.1:%u\n", unsigned(options.port));
        return 1;
    }
    portalstub::removeStateFoldersOfGoneStubs();
    const bool keptFolder = !options.stateFolder.empty();
    options.stateFolder =
        keptFolder ? portalstub::givenStateFolder(options.stateFolder) : portalstub::makeStateFolder();
    if (options.stateFolder.empty()) {
        std::fprintf(stderr, "portal-stub: cannot make a state folder\n");
        return 1;
    }
    // The accounts' file and the stub's clock (the lottery draws by it) begin now.
    portalstub::StubStore::session().keepIn(options.stateFolder);
    portalstub::StubNameBook::enterKeptAccounts();
    portalstub::StubSocialNet socialNet(options.secret);
    socialNet.installPages(http);
    portalstub::installStubImages(http);
    portalstub::installStubGraph(http);
    std::printf("portal-stub: game server on 127.0.0.1:%u, server list on http://127.0.0.1:%u/servers.txt\n",
                unsigned(options.port), unsigned(http.port()));
    std::fflush(stdout);
    serveClients(listener, options);
    std::error_code ignored;
    if (!keptFolder) std::filesystem::remove_all(options.stateFolder, ignored);
    return 0;
}
