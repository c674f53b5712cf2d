// Start to the log-in screen, and sign-in to the game grid, with an empty data folder and
// with a stored mailbox of 100,000 mails, each in a fresh process (the program starts
// itself), several rounds back to back; prints the medians and the spread (lowest and
// highest) of the wall time, the main thread's time and the process's memory. Then the
// CPU the client uses while the event ticker runs on the grid, headless and, when a
// display can be opened (xvfb-run), in a window.
//
// The sign-in takes the player's road: the form's sign-in button is tapped (the server
// choice opens), then the server (the client connects, signs in and opens the game grid).
// From the server's tap to the grid it is timed on the wall clock and in the main thread's
// own CPU time: what the wall time has beyond the main thread's is the round trips to the
// test portal and any wait. The stored mailbox is the signing-in player's own or another
// player's, the one who signed in last and is remembered, whose mailbox is read ahead until
// the name typed tells that he does not sign in. As the portal stub sends it, the new mail
// follows the sign-in reply at once; the client handles it once the grid is up, it joins the
// restored mailbox and the mailbox is saved; the resident memory is taken at the grid and
// once that save is written (settled). With a display (xvfb-run) the sign-in runs in a
// window, as the player's does.
//
//   kavo_launch_bench [rounds] [stored mails]
//   kavo_launch_bench --store-mails DATA_FOLDER PLAYER_ID COUNT
//
// The second form stores a mailbox of COUNT mails of that player in a client's data folder
// (the same mails as above), so that the client itself can be measured on it.

#include "app/KavoOnlineAppDelegate.h"
#include "app/MailboxReadAhead.h"
#include "app/UIController.h"
#include "bench/StoredMails.h"
#include "lobby/GameView.h"
#include "lobby/LoginView.h"
#include "lobby/ServerView.h"
#include "platform/automation/Driver.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/render/WindowHost.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PlatformServices.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "portal/GlobalService.h"
#include "portal/model/KavoMessage.h"
#include "tests/support/TestPortal.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

double wallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double mainThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

double residentMegabytes() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    const bool read = std::fscanf(statm, "%ld %ld", &pages, &resident) == 2;
    std::fclose(statm);
    return read ? double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

// The CPU seconds of the process's threads of that name (a serial queue's, say).
double threadsSeconds(const std::string& name) {
    double seconds = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        FILE* comm = std::fopen((task.path() / "comm").c_str(), "r");
        char text[32] = {};
        const bool named = comm && std::fgets(text, sizeof text, comm) && std::string(text) == name + "\n";
        if (comm) std::fclose(comm);
        FILE* stat = named ? std::fopen((task.path() / "schedstat").c_str(), "r") : nullptr;
        unsigned long long nanoseconds = 0;
        if (stat && std::fscanf(stat, "%llu", &nanoseconds) == 1) seconds += double(nanoseconds) / 1e9;
        if (stat) std::fclose(stat);
    }
    return seconds;
}

// The process's CPU seconds, every thread's.
double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// A measuring child ends without running the exit handlers (the connection's threads may
// still run), so the test world's bundle folder, which its owner removes at exit, goes here.
[[noreturn]] void endChild(int status) {
    std::fflush(stdout);
    std::error_code ignored;
    std::filesystem::remove_all(kavo::test::ClientWorld::get().bundlePath(), ignored);
    std::_Exit(status);
}

template <typename T> bool topIs() {
    return bool(std::dynamic_pointer_cast<T>(kavo::KavoOnlineAppDelegate::getInstance().topViewController()));
}

// As the client's main does it, in a world of a test portal and a bundle pointing at it.
void launch(const std::string& data) {
    auto& world = kavo::test::ClientWorld::get();
    platform::Bundle::main().setMainPath(world.bundlePath());
    platform::setDataDirectory(data);
    platform::RunLoop::main().bindToCurrentThread();
    platform::installPlatformServices();
    auto& application = platform::ui::Application::shared();
    application.setDelegate(&kavo::KavoOnlineAppDelegate::getInstance());
    application.launch();
    platform::RunLoop::main().runPending();
}

int measureLaunch(const std::string& data) {
    kavo::test::ClientWorld::get(); // the test portal is not part of the client
    const double before = wallSeconds();
    launch(data);
    const double seconds = wallSeconds() - before;
    if (!topIs<kavo::LoginView>()) std::printf("no log-in screen\n"), endChild(1);
    std::printf("%.6f %.1f\n", seconds, peakMegabytes());
    endChild(0);
}

// The client asks for its mail as the connection starts, before it signs in; the portal
// stub answers with the mail of whoever signs in right after his sign-in reply, on the same
// connection: the welcome notice (written now), the maintenance notice (written once) and a
// friend request. The test portal does the same, so the client handles them as soon as the
// game grid is up, as the player's client does.
void sendMail(kavo::test::TestPortal::Reply& reply, int64_t welcome) {
    auto mail = [&reply](int32_t type, int64_t time, const char* text) {
        kavo::Message message(1701);
        message.writeInt(type);
        message.writeLong(time);
        message.writeInt(1);
        message.writeUTF("admin");
        message.writeUTF(text);
        reply.send(message);
    };
    mail(kavo::KavoMessage::kTypeLatestOnly, welcome, "Chào mừng đến Kavo Online!");
    mail(3, 1765000000000LL, "Bảo trì lúc 2 giờ sáng");
    kavo::Message friendRequest(104);
    friendRequest.writeByte(4); // the friend requests
    friendRequest.writeInt(204);
    friendRequest.writeUTF("dung");
    reply.send(friendRequest);
}

// Answers the sign-in as the default handler does, then sends the mail at once; returns the
// welcome notice's time (its identity: it replaces the one stored).
int64_t answerSignInWithMailAsAServerDoes(kavo::test::TestPortal& portal) {
    const int64_t welcome =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    portal.onCommand(1, [welcome](kavo::Message&, kavo::test::TestPortal::Reply& reply) {
        kavo::Message signedIn(3);
        signedIn.writeInt(kavo::test::ClientWorld::kPlayerId);
        signedIn.writeLong(kavo::test::ClientWorld::kPlayerMoney);
        signedIn.writeShort(3);
        signedIn.writeInt(1500);
        reply.send(signedIn);
        sendMail(reply, welcome);
    });
    return welcome;
}

// The event ticker's text, as the portal stub sends it when the client names its language.
void answerLanguageWithAnEvent(kavo::test::TestPortal& portal) {
    portal.onCommand(2800, [](kavo::Message&, kavo::test::TestPortal::Reply& reply) {
        kavo::Message notice(46);
        notice.writeUTF("Sự kiện: nhân đôi Zel cho mọi ván thắng cuối tuần này!");
        reply.send(notice);
    });
}

bool tickerRuns() {
    const auto& label = kavo::KavoOnlineAppDelegate::getInstance().lblServerInfo();
    return label && !label->isHidden();
}

// The times of the last signIn().
struct SignInTimes {
    double formMain = 0;
    double serverMain = 0;
    double serverWall = 0;
} lastSignIn;

// Taps the form's sign-in button, then the server, and waits for the game grid and, with
// `mailListed`, for the mail that followed the sign-in reply; `turn` runs on each turn of
// the run loop meanwhile (a window's events and frames).
bool signIn(std::function<void()> turn = {}, std::function<bool()> mailListed = {}) {
    platform::automation::Driver driver;
    if (turn) driver.setTurnHook(turn);
    auto run = [&driver](const std::string& script) {
        const auto result = driver.run(script);
        if (!result.ok) std::printf("line %d: %s\n", result.failedLine, result.message.c_str());
        return result.ok;
    };
    if (!run("screen LoginView\ntap id=btnSignIn_Clicked\nwait id=btnSignIn\ntype id=txfUsername an\n"
             "type id=txfPassword bimat"))
        return false;
    const double formBefore = mainThreadSeconds();
    if (!run("tap id=btnSignIn\nexpect text=" + std::string(kavo::test::ClientWorld::kServerName))) return false;
    lastSignIn.formMain = mainThreadSeconds() - formBefore;
    const double wallBefore = wallSeconds(), mainBefore = mainThreadSeconds();
    // As the player's client is driven (bench/client_sign_in.py): the grid on top, and the
    // mail that followed the sign-in reply listed (its badge shown).
    if (!run("tap text=" + std::string(kavo::test::ClientWorld::kServerName) + "\nscreen GameView 30"))
        return std::printf("no game grid\n"), false;
    if (mailListed && !platform::RunLoop::main().runUntil(
                          [&] {
                              if (turn) turn();
                              return mailListed();
                          },
                          10))
        return std::printf("no mail\n"), false;
    lastSignIn.serverWall = wallSeconds() - wallBefore;
    lastSignIn.serverMain = mainThreadSeconds() - mainBefore;
    return true;
}

// The figures of one sign-in, in the order printed (and read back).
enum Column {
    kServerWall,
    kServerMain,
    kFormMain,
    kPeak,
    kGridRss,
    kSettledRss,
    kListed,
    kReadAhead,
    kColumns,
};

// Prints the wall and main-thread seconds from the server's tap to the game grid, the
// main thread's from the form's tap to the server choice, the peak memory, the resident
// memory at the grid and once the save the mail handed over is written, the listed mails
// and the CPU seconds the stored mailbox's read ahead took. The player's road: in a window
// when a display can be opened (its frames drawn on each turn), the mail arriving right after
// the sign-in reply; with `late`, the player looks at the log-in screen for half a second
// before he opens the form, as a person does, which a read ahead takes to end. The folder
// names this process's portal (see pointFolderAt): the child reads or writes no defaults of
// its own before it starts, as a player's client does not.
int measureSignIn(const std::string& data, size_t listed, bool late) {
    auto& world = kavo::test::ClientWorld::get();
    world.installDefaultPortalHandlers();
    const int64_t welcome = answerSignInWithMailAsAServerDoes(world.portal());
    launch(data);
    platform::render::WindowHost host;
    std::function<void()> turn;
    if (platform::render::WindowHost::displayAvailable()) {
        if (!host.open()) std::printf("no window\n"), endChild(1);
        turn = [&host] { host.pump(); };
    }
    // With the mail that follows the sign-in reply, the mailbox lists `listed` mails (its
    // badge shows them): a count, not a look through 100,000 mails on every turn.
    const auto mailListed = [listed] { return kavo::UIController::listMessageCount() >= listed; };
    if (late)
        platform::RunLoop::main().runUntil(
            [&turn] {
                if (turn) turn();
                return false;
            },
            0.5);
    if (!signIn(turn, listed > 0 ? std::function<bool()>(mailListed) : std::function<bool()>())) endChild(1);
    double figures[kColumns] = {};
    figures[kServerWall] = lastSignIn.serverWall;
    figures[kServerMain] = lastSignIn.serverMain;
    figures[kFormMain] = lastSignIn.formMain;
    figures[kGridRss] = residentMegabytes();
    auto welcomeListed = [welcome] {
        const auto notices = kavo::UIController::listMessageWithFilter(kavo::KavoMessage::kTypeLatestOnly);
        return std::any_of(notices.begin(), notices.end(), [welcome](const auto& m) { return m->time() == welcome; });
    };
    // Once the new mail is listed, the save it starts is written; a second of the grid lets
    // what it freed go back.
    auto wait = [&turn](double seconds, const std::function<bool()>& done) {
        return platform::RunLoop::main().runUntil(
            [&] {
                if (turn) turn();
                return done();
            },
            seconds);
    };
    if (!wait(10, welcomeListed)) std::printf("no mail\n"), endChild(1);
    figures[kListed] = double(kavo::UIController::listMessageCount());
    wait(1.0, [] { return false; });
    platform::UserDefaults::standard().flush();
    wait(0.5, [] { return false; });
    figures[kSettledRss] = residentMegabytes();
    figures[kPeak] = peakMegabytes();
    figures[kReadAhead] = threadsSeconds("kavo-readahead");
    for (double figure : figures)
        std::printf("%.6f ", figure);
    std::printf("\n");
    endChild(0);
}

// The CPU share of the whole client from the ticker's start to its end on the game grid,
// headless (the main run loop turns) or in a window (the window's loop draws).
int measureTicker(const std::string& data, bool window) {
    auto& world = kavo::test::ClientWorld::get();
    world.installDefaultPortalHandlers();
    answerLanguageWithAnEvent(world.portal());
    launch(data);
    platform::render::WindowHost host;
    if (window && !host.open()) std::printf("no window\n"), endChild(1);
    if (!signIn(window ? [&host] { host.pump(); } : std::function<void()>()) ||
        !platform::RunLoop::main().runUntil(tickerRuns, 10))
        std::printf("no ticker\n"), endChild(1);
    const double cpuBefore = processSeconds(), wallBefore = wallSeconds();
    if (window) {
        auto watch = platform::Timer::scheduled(0.25, true, [&host] {
            if (!tickerRuns()) host.stop();
        });
        host.run();
        watch->invalidate();
    } else {
        platform::RunLoop::main().runUntil([] { return !tickerRuns(); }, 60);
    }
    const double wall = wallSeconds() - wallBefore;
    std::printf("%.6f %.6f\n", (processSeconds() - cpuBefore) / wall, wall);
    endChild(0);
}

// Stores a mailbox of `count` mails of the player `owner` in the data folder's defaults.
void storeMailbox(int count, int32_t owner) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setData(kavo::KavoMessage::archiveList(kavo::bench::storedMails(0, count)),
                     kavo::UIController::listMessageKey(owner));
    defaults.flush();
    defaults.reset();
}

// The data folder of a player who signed in before, with a stored mailbox of `count` mails
// of the player `owner`: the switches and the mailbox are stored, then the client signs in
// there once as "an" (so the folder holds all that a sign-in stores). When `storedName` is
// another name, the folder is then left as that player's sign-in would have left it: he is
// the one remembered, his name beside the id `owner`, whose mailbox is read ahead.
bool prepareFolder(const std::string& self, const std::string& data, int count, int32_t owner,
                   const std::string& storedName) {
    platform::setDataDirectory(data);
    auto& defaults = platform::UserDefaults::standard();
    defaults.reset();
    for (const char* key : {"savedRung", "savedInviting", "savedSound"})
        defaults.setBool(true, key);
    storeMailbox(count, owner);
    FILE* child = popen(("'" + self + "' --signin '" + data + "' > /dev/null").c_str(), "r");
    if (!child || pclose(child) != 0) return false;
    if (storedName != "an") {
        for (const char* key : {"uname", "KAVO_LOGIN_USERNAME", "KAVO_LOGIN_USERNAME_SUCCESS"})
            defaults.setString(storedName, key);
        defaults.setString("matkhau", "password");
        defaults.setInt(owner, kavo::MailboxReadAhead::kPlayerIdKey);
        defaults.flush();
    }
    defaults.reset();
    return true;
}

std::string makeFolder() {
    char pattern[] = "/tmp/kavo-launch-bench-XXXXXX";
    return mkdtemp(pattern) ? pattern : "";
}

// One list of figures per printed column of a measuring run.
struct Figures {
    std::vector<std::vector<double>> columns;
};

// The stored server list and port of a copied folder name the portal the sign-in's child
// will listen on (KAVO_TEST_PORTAL_PORT): the player comes back to the same server. With
// `moved` only the list names it and the stored port is an old one, so the sign-in stores
// the server's address anew (one more write, during the mailbox's restore).
void pointFolderAt(const std::string& data, uint16_t port, bool moved) {
    platform::setDataDirectory(data);
    auto& defaults = platform::UserDefaults::standard();
    defaults.reset();
    if (defaults.objectForKey(kavo::ServerView::kServerDataKey).isString()) {
        defaults.setString(kavo::test::ClientWorld::serverListNaming(port), kavo::ServerView::kServerDataKey);
        if (!moved) defaults.setInt(port, kavo::ServerView::kPortServerKey);
        defaults.flush();
    }
    defaults.reset();
}

enum class Portal { kAnyPort, kStored, kMoved };

// Each run gets a copy of the prepared folder: a sign-in writes to its folder. A sign-in is
// timed until the mailbox lists `listed` mails (with the portal's mail), when not 0.
bool runChild(const std::string& self, const char* mode, const std::string& prepared, size_t columns, Figures& figures,
              Portal portal = Portal::kAnyPort, size_t listed = 0) {
    const std::string data = makeFolder();
    std::error_code error;
    std::filesystem::copy(prepared, data, std::filesystem::copy_options::recursive, error);
    std::string command = "'" + self + "' " + mode + " '" + data + "'" + (listed ? " " + std::to_string(listed) : "");
    if (portal != Portal::kAnyPort) {
        const uint16_t port = kavo::test::deadLoopbackPort();
        pointFolderAt(data, port, portal == Portal::kMoved);
        command = "KAVO_TEST_PORTAL_PORT=" + std::to_string(port) + " " + command;
    }
    FILE* child = popen(command.c_str(), "r");
    if (!child || error) return false;
    std::vector<double> values(columns);
    size_t read = 0;
    while (read < columns && std::fscanf(child, "%lf", &values[read]) == 1)
        ++read;
    pclose(child);
    std::filesystem::remove_all(data, error);
    if (read != columns) return false;
    figures.columns.resize(columns);
    for (size_t i = 0; i < columns; ++i)
        figures.columns[i].push_back(values[i]);
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// "median (lowest-highest)" of a column, scaled.
std::string spread(const std::vector<double>& values, double scale, const char* format = "%.1f") {
    if (values.empty()) return "-";
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    char text[96];
    const std::string f = std::string(format) + " (" + format + "-" + format + ")";
    std::snprintf(text, sizeof text, f.c_str(), median(values) * scale, *low * scale, *high * scale);
    return text;
}

// A sign-in with 100,000 stored mails, whoever's they are, from the server's tap to the
// grid: the wall time of every run, the main thread's time, the peak memory, and the
// resident memory once the save is written no more than a few megabytes above the grid's.
constexpr double kGoalSeconds = 0.150;
constexpr double kGoalMainSeconds = 0.060;
constexpr double kGoalMegabytes = 90;
constexpr double kSettledMargin = 5;

bool meetsGoal(const Figures& f) {
    const auto& walls = f.columns[kServerWall];
    return *std::max_element(walls.begin(), walls.end()) < kGoalSeconds &&
           median(f.columns[kServerMain]) < kGoalMainSeconds && median(f.columns[kPeak]) < kGoalMegabytes &&
           median(f.columns[kSettledRss]) <= median(f.columns[kGridRss]) + kSettledMargin;
}

// Medians at de2728e, before a written mailbox left memory and before the sign-in decoded
// the stored mailbox where its text lies (this benchmark built on it, five rounds on an
// 8-core machine at a load under 1): the server's tap to the grid in wall and main-thread
// milliseconds, the peak, grid and settled megabytes.
struct Before {
    const char* what;
    double wall;
    double main;
    double peak;
    double grid;
    double settled;
};
constexpr Before kBefore[] = {{"empty folder", 12.5, 10.4, 33.2, 26.7, 33.7},
                              {"own stored mailbox", 154.4, 147.8, 115.2, 69.2, 115.6},
                              {"another player's mailbox", 10.7, 9.2, 76.0, 56.5, 63.0},
                              {"own mailbox, server moved", 153.8, 152.3, 96.7, 70.2, 97.0}};
// The ticker's CPU share before a window slept between the frames of a slow move:
// headless, in a window (under Xvfb; 32-44 % in two runs).
constexpr double kTickerBefore[] = {0.5, 32.2};

} // namespace

int main(int argc, char** argv) {
    // The test portal's bundle is made from the source folder's resources.
    setenv("KAVO_SOURCE_DIR", KAVO_SOURCE_DIR, 0);
    if (argc == 5 && std::string(argv[1]) == "--store-mails") {
        platform::setDataDirectory(argv[2]);
        platform::UserDefaults::standard().reset();
        storeMailbox(std::atoi(argv[4]), std::atoi(argv[3]));
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--launch") return measureLaunch(argv[2]);
    if ((argc == 3 || argc == 4) && (std::string(argv[1]) == "--signin" || std::string(argv[1]) == "--signin-late"))
        return measureSignIn(argv[2], argc == 4 ? size_t(std::atol(argv[3])) : 0, std::string(argv[1]) != "--signin");
    if (argc == 3 && std::string(argv[1]) == "--ticker") return measureTicker(argv[2], false);
    if (argc == 3 && std::string(argv[1]) == "--ticker-window") return measureTicker(argv[2], true);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int stored = argc > 2 ? std::atoi(argv[2]) : 100'000;
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const std::string empty = makeFolder(), own = makeFolder(), other = makeFolder();
    if (empty.empty() || own.empty() || other.empty()) return 1;
    if (!prepareFolder(self, own, stored, kavo::test::ClientWorld::kPlayerId, "an") ||
        !prepareFolder(self, other, stored, kavo::test::ClientWorld::kPlayerId + 1, "binh"))
        return std::printf("a preparing sign-in failed\n"), 1;
    const auto fileSize = std::filesystem::file_size(platform::joinPath(own, "defaults.plist"));
    std::printf("stored mailbox: %d mails, defaults.plist %.1f MB\n", stored, double(fileSize) / 1e6);

    Figures launchEmpty, launchFull, signInEmpty, signInOwn, signInOther, signInMoved, signInOtherLate;
    // The portal's mail after the sign-in reply: the welcome, the maintenance notice and a
    // friend request, listed after the player's own stored mails.
    constexpr size_t kServerMails = 3;
    const size_t ownListed = size_t(stored) + kServerMails;
    bool ok = true;
    for (int round = 0; round < rounds && ok; ++round) {
        ok = runChild(self, "--launch", empty, 2, launchEmpty) && runChild(self, "--launch", own, 2, launchFull) &&
             runChild(self, "--signin", empty, kColumns, signInEmpty, Portal::kStored, kServerMails) &&
             runChild(self, "--signin", own, kColumns, signInOwn, Portal::kStored, ownListed) &&
             runChild(self, "--signin", other, kColumns, signInOther, Portal::kStored, kServerMails) &&
             runChild(self, "--signin", own, kColumns, signInMoved, Portal::kMoved, ownListed) &&
             runChild(self, "--signin-late", other, kColumns, signInOtherLate, Portal::kStored, kServerMails);
    }
    if (!ok) {
        std::printf("a measuring run failed\n");
        return 1;
    }
    std::printf("medians of %d rounds (lowest-highest); the sign-ins %s:\n", rounds,
                platform::render::WindowHost::displayAvailable() ? "in a window" : "headless (no display)");
    for (const auto& [what, f] : {std::pair{"empty folder", &launchEmpty}, std::pair{"stored mailbox", &launchFull}})
        std::printf("start to the log-in screen, %s: %s ms wall, peak %s MB\n", what,
                    spread(f->columns[0], 1000).c_str(), spread(f->columns[1], 1).c_str());
    const auto printSignIn = [](const char* what, const Figures& f) {
        const auto& c = f.columns;
        std::printf("server tap to the game grid, %s (%.0f mails listed):\n"
                    "    %s ms wall, %s ms main thread (form tap %.1f ms main thread)\n"
                    "    peak %s MB, resident at the grid %s MB, settled %s MB, the read ahead's CPU %s ms\n",
                    what, median(c[kListed]), spread(c[kServerWall], 1000).c_str(),
                    spread(c[kServerMain], 1000).c_str(), median(c[kFormMain]) * 1000, spread(c[kPeak], 1).c_str(),
                    spread(c[kGridRss], 1).c_str(), spread(c[kSettledRss], 1).c_str(),
                    spread(c[kReadAhead], 1000).c_str());
    };
    const Figures* signIns[] = {&signInEmpty, &signInOwn, &signInOther, &signInMoved};
    for (size_t i = 0; i < std::size(signIns); ++i) {
        const Before& b = kBefore[i];
        printSignIn(b.what, *signIns[i]);
        std::printf("    before: %.1f ms wall, %.1f ms main thread, peak %.1f MB, grid %.1f MB, settled %.1f MB\n",
                    b.wall, b.main, b.peak, b.grid, b.settled);
    }
    printSignIn("another player's mailbox, the form opened half a second after the log-in screen", signInOtherLate);
    std::printf("goal: 100,000 stored mails, server tap to the grid under %.0f ms wall in every run and %.0f ms main "
                "thread, peak under %.0f MB, settled within %.0f MB of the grid (own: %s, another player's: %s)\n",
                kGoalSeconds * 1000, kGoalMainSeconds * 1000, kGoalMegabytes, kSettledMargin,
                meetsGoal(signInOwn) ? "met" : "missed", meetsGoal(signInOther) ? "met" : "missed");

    // The ticker runs for about 20 s: one run each way.
    Figures tickerHeadless, tickerWindow;
    if (runChild(self, "--ticker", empty, 2, tickerHeadless))
        std::printf("event ticker on the grid, headless: %.1f %% of a core over %.1f s; before: %.1f %%\n",
                    median(tickerHeadless.columns[0]) * 100, median(tickerHeadless.columns[1]), kTickerBefore[0]);
    else
        std::printf("event ticker on the grid, headless: the run failed\n");
    if (!platform::render::WindowHost::displayAvailable())
        std::printf("event ticker in a window: no display (run the benchmark under xvfb-run)\n");
    else if (runChild(self, "--ticker-window", empty, 2, tickerWindow))
        std::printf("event ticker on the grid, in a window: %.1f %% of a core over %.1f s; before: %.1f %%\n",
                    median(tickerWindow.columns[0]) * 100, median(tickerWindow.columns[1]), kTickerBefore[1]);
    else
        std::printf("event ticker in a window: the run failed\n");
    std::error_code ignored;
    for (const auto& folder : {empty, own, other})
        std::filesystem::remove_all(folder, ignored);
    return 0;
}
