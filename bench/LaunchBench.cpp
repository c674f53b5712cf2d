// Start to the log-in screen, and sign-in to the game grid, with an empty data folder and
// with a stored mailbox of 100,000 mails, each in a fresh process (the program starts
// itself), several rounds back to back; prints the medians of the wall time and of the
// process's peak resident memory.
//
// The sign-in takes the player's road: the form's sign-in button is tapped (the server
// choice opens), then the server (the client connects, signs in and opens the game grid).
// It is timed in the main thread's own CPU time, which leaves out the waits for the test
// portal, with the stored mailbox the signing-in player's own and another player's. The
// test portal answers the mailbox request as a server does, before the sign-in reply, so
// the sign-in finds new mail waiting and saves the mailbox.
//
//   kavo_launch_bench [rounds] [stored mails]

#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "lobby/LoginView.h"
#include "lobby/ServerView.h"
#include "platform/automation/Driver.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PlatformServices.h"
#include "platform/ui/Application.h"
#include "portal/GlobalService.h"
#include "portal/model/KavoMessage.h"
#include "tests/support/TestPortal.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <string>
#include <sys/resource.h>
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
    if (!topIs<kavo::LoginView>()) return std::printf("no log-in screen\n"), 1;
    std::printf("%.6f %.1f\n", seconds, peakMegabytes());
    std::fflush(stdout);
    std::_Exit(0);
}

bool drive(const std::string& script) {
    platform::automation::Driver driver;
    const auto result = driver.run(script);
    if (!result.ok) std::printf("line %d: %s\n", result.failedLine, result.message.c_str());
    return result.ok;
}

// A server answers the mailbox request the client sends as the connection starts, so its
// mail arrives before the sign-in reply: the welcome notice (written now), the maintenance
// notice (written once) and a friend request, as the portal stub sends them.
void answerMailboxAsAServerDoes(kavo::test::TestPortal& portal) {
    portal.onCommand(1702, [](kavo::Message&, kavo::test::TestPortal::Reply& reply) {
        auto mail = [&reply](int32_t type, int64_t time, const char* text) {
            kavo::Message message(1701);
            message.writeInt(type);
            message.writeLong(time);
            message.writeInt(1);
            message.writeUTF("admin");
            message.writeUTF(text);
            reply.send(message);
        };
        mail(4, int64_t(std::time(nullptr)) * 1000, "Chào mừng đến Kavo Online!");
        mail(3, 1765000000000LL, "Bảo trì lúc 2 giờ sáng");
        kavo::Message request(104);
        request.writeByte(4); // the friend requests
        request.writeInt(204);
        request.writeUTF("dung");
        reply.send(request);
    });
}

// Prints the main thread's CPU seconds from the form's tap to the server choice and from
// the server's tap to the game grid, the wall seconds of both together, the peak memory at
// the grid and the listed mails. With `serverMoved` the stored port is the old one, so the
// sign-in stores the server's address anew (one more write, during the mailbox's restore).
int measureSignIn(const std::string& data, bool serverMoved) {
    auto& world = kavo::test::ClientWorld::get();
    world.installDefaultPortalHandlers();
    answerMailboxAsAServerDoes(world.portal());
    // The stored server list, address and port name the portal of the process that stored
    // them: the player comes back to the same server, which here has another port.
    platform::setDataDirectory(data);
    auto& defaults = platform::UserDefaults::standard();
    if (defaults.objectForKey(kavo::ServerView::kServerDataKey).isString()) {
        defaults.setString(world.defaultServerList(), kavo::ServerView::kServerDataKey);
        if (!serverMoved) defaults.setInt(world.portal().port(), kavo::ServerView::kPortServerKey);
        defaults.flush();
        defaults.reset();
    }
    launch(data);
    if (!drive("screen LoginView\ntap id=btnSignIn_Clicked\nwait id=btnSignIn\ntype id=txfUsername an\n"
               "type id=txfPassword bimat"))
        return 1;
    const double wallBefore = wallSeconds();
    const double before = mainThreadSeconds();
    if (!drive("tap id=btnSignIn\nexpect text=" + std::string(kavo::test::ClientWorld::kServerName))) return 1;
    const double formTap = mainThreadSeconds() - before;
    const double serverBefore = mainThreadSeconds();
    if (!drive("tap text=" + std::string(kavo::test::ClientWorld::kServerName))) return 1;
    if (!platform::RunLoop::main().runUntil([] { return topIs<kavo::GameView>(); }, 30))
        return std::printf("no game grid\n"), 1;
    const double serverTap = mainThreadSeconds() - serverBefore;
    const double wall = wallSeconds() - wallBefore;
    // The peak counts what the writes the sign-in handed over take as well.
    platform::UserDefaults::standard().flush();
    std::printf("%.6f %.1f %.6f %.6f %.6f %zu\n", formTap + serverTap, peakMegabytes(), formTap, serverTap, wall,
                kavo::UIController::listMessageCount());
    std::fflush(stdout);
    std::_Exit(0);
}

// The data folder of a player who signed in before, with a stored mailbox of `count` mails
// of the player `owner`: the switches and the mailbox are stored, then the client signs in
// there once as "an" (so the folder holds all that a sign-in stores). When `storedName` is
// another name, the folder is then left as that player's sign-in would have left it.
bool prepareFolder(const std::string& self, const std::string& data, int count, int32_t owner,
                   const std::string& storedName) {
    platform::setDataDirectory(data);
    auto& defaults = platform::UserDefaults::standard();
    defaults.reset();
    for (const char* key : {"savedRung", "savedInviting", "savedSound"})
        defaults.setBool(true, key);
    kavo::KavoMessageList list;
    list.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        auto m = std::make_shared<kavo::KavoMessage>();
        m->setType(1);
        m->setTime(1'700'000'000'000LL + i);
        m->setFromID(500 + i % 50);
        m->setFromName("nguoigui" + std::to_string(i % 50));
        m->setMessage("Thu so " + std::to_string(i) + ": chuc ban mot ngay vui ve va nhieu may man");
        list.push_back(std::move(m));
    }
    defaults.setData(kavo::KavoMessage::archiveList(list), kavo::UIController::listMessageKey(owner));
    defaults.flush();
    defaults.reset();
    FILE* child = popen(("'" + self + "' --signin '" + data + "' > /dev/null").c_str(), "r");
    if (!child || pclose(child) != 0) return false;
    if (storedName != "an") {
        for (const char* key : {"uname", "KAVO_LOGIN_USERNAME", "KAVO_LOGIN_USERNAME_SUCCESS"})
            defaults.setString(storedName, key);
        defaults.setString("matkhau", "password");
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

// Each run gets a copy of the prepared folder: a sign-in writes to its folder.
bool runChild(const std::string& self, const char* mode, const std::string& prepared, size_t columns,
              Figures& figures) {
    const std::string data = makeFolder();
    std::error_code error;
    std::filesystem::copy(prepared, data, std::filesystem::copy_options::recursive, error);
    const std::string command = "'" + self + "' " + mode + " '" + data + "'";
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

// A sign-in with a large stored mailbox, whoever's it is, from the form's tap to the grid.
constexpr double kGoalSeconds = 0.150;
constexpr double kGoalMegabytes = 100;

bool meetsGoal(const Figures& f) {
    return median(f.columns[0]) < kGoalSeconds && median(f.columns[1]) < kGoalMegabytes;
}

// The sign-ins' medians before a save copied the stored mails' records (each save archived
// the whole mailbox on the calling thread): main-thread milliseconds and peak megabytes,
// three rounds against this portal on an 8-core machine under a load of about 45.
struct Before {
    const char* what;
    double milliseconds;
    double megabytes;
};
constexpr Before kBefore[] = {{"empty folder", 8.4, 26.5},
                              {"own stored mailbox", 202.6, 110.4},
                              {"another player's mailbox", 7.2, 80.5},
                              {"own mailbox, server moved", 184.2, 110.3}};

} // namespace

int main(int argc, char** argv) {
    // The test portal's bundle is made from the source folder's resources.
    setenv("KAVO_SOURCE_DIR", KAVO_SOURCE_DIR, 0);
    if (argc == 3 && std::string(argv[1]) == "--launch") return measureLaunch(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--signin") return measureSignIn(argv[2], false);
    if (argc == 3 && std::string(argv[1]) == "--signin-moved") return measureSignIn(argv[2], true);
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

    Figures launchEmpty, launchFull, signInEmpty, signInOwn, signInOther, signInMoved;
    bool ok = true;
    for (int round = 0; round < rounds && ok; ++round) {
        ok = runChild(self, "--launch", empty, 2, launchEmpty) && runChild(self, "--launch", own, 2, launchFull) &&
             runChild(self, "--signin", empty, 6, signInEmpty) && runChild(self, "--signin", own, 6, signInOwn) &&
             runChild(self, "--signin", other, 6, signInOther) && runChild(self, "--signin-moved", own, 6, signInMoved);
    }
    if (!ok) {
        std::printf("a measuring run failed\n");
        return 1;
    }
    auto at = [](const Figures& f, size_t column) { return median(f.columns[column]); };
    std::printf("medians of %d rounds:\n", rounds);
    for (const auto& [what, f] : {std::pair{"empty folder", &launchEmpty}, std::pair{"stored mailbox", &launchFull}})
        std::printf("start to the log-in screen, %-32s %8.1f ms wall      peak %6.1f MB\n", what, at(*f, 0) * 1000,
                    at(*f, 1));
    const Figures* signIns[] = {&signInEmpty, &signInOwn, &signInOther, &signInMoved};
    for (size_t i = 0; i < std::size(signIns); ++i) {
        const Figures& f = *signIns[i];
        std::printf("sign-in taps to the game grid, %-27s %8.1f ms main thread (form %.1f + server %.1f), "
                    "%.1f ms wall, peak %6.1f MB, %.0f mails listed; before: %.1f ms, %.1f MB\n",
                    kBefore[i].what, at(f, 0) * 1000, at(f, 2) * 1000, at(f, 3) * 1000, at(f, 4) * 1000, at(f, 1),
                    at(f, 5), kBefore[i].milliseconds, kBefore[i].megabytes);
    }
    std::printf(
        "goal: a stored mailbox's sign-in under %.0f ms main thread and %.0f MB (own: %s, another player's: %s)\n",
        kGoalSeconds * 1000, kGoalMegabytes, meetsGoal(signInOwn) ? "met" : "missed",
        meetsGoal(signInOther) ? "met" : "missed");
    std::error_code ignored;
    for (const auto& folder : {empty, own, other})
        std::filesystem::remove_all(folder, ignored);
    return 0;
}
