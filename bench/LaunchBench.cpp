// Start to the log-in screen, and sign-in to the game grid, with an empty data folder and
// with a stored mailbox of 100,000 mails, each in a fresh process (the program starts
// itself), several rounds back to back; prints the medians of the wall time and of the
// process's peak resident memory.
//
//   kavo_launch_bench [rounds] [stored mails]

#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "lobby/LoginView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PlatformServices.h"
#include "platform/ui/Application.h"
#include "portal/GlobalService.h"
#include "portal/model/KavoMessage.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

double wallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
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

int measureSignIn(const std::string& data) {
    auto& world = kavo::test::ClientWorld::get();
    launch(data);
    auto& portal = world.portal();
    kavo::GlobalService::getInstance().connect();
    if (!portal.waitForConnections(1, 10)) return std::printf("no connection\n"), 1;
    kavo::Message signedIn(3);
    signedIn.writeInt(kavo::test::ClientWorld::kPlayerId);
    signedIn.writeLong(kavo::test::ClientWorld::kPlayerMoney);
    signedIn.writeShort(3);
    signedIn.writeInt(1500);
    const double before = wallSeconds();
    if (!portal.sendToClient(signedIn)) return std::printf("not sent\n"), 1;
    if (!platform::RunLoop::main().runUntil([] { return topIs<kavo::GameView>(); }, 30))
        return std::printf("no game grid\n"), 1;
    const double seconds = wallSeconds() - before;
    std::printf("%.6f %.1f %zu\n", seconds, peakMegabytes(), kavo::UIController::listMessageCount());
    std::fflush(stdout);
    std::_Exit(0);
}

// The data folder of a player who signed in before: the switches, the name and a stored
// mailbox of `count` mails.
void prepareFolder(const std::string& data, int count) {
    platform::setDataDirectory(data);
    auto& defaults = platform::UserDefaults::standard();
    defaults.reset();
    for (const char* key : {"savedRung", "savedInviting", "savedSound"})
        defaults.setBool(true, key);
    defaults.setString("an", "KAVO_LOGIN_USERNAME");
    defaults.setString("an", "KAVO_LOGIN_USERNAME_SUCCESS");
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
    defaults.setData(kavo::KavoMessage::archiveList(list),
                     kavo::UIController::listMessageKey(kavo::test::ClientWorld::kPlayerId));
    defaults.synchronize();
    defaults.reset();
}

struct Figures {
    std::vector<double> seconds, megabytes;
};

bool runChild(const std::string& self, const char* mode, const std::string& data, Figures& figures) {
    const std::string command = "'" + self + "' " + mode + " '" + data + "'";
    FILE* child = popen(command.c_str(), "r");
    if (!child) return false;
    double seconds = 0, megabytes = 0;
    const int read = std::fscanf(child, "%lf %lf", &seconds, &megabytes);
    pclose(child);
    if (read != 2) return false;
    figures.seconds.push_back(seconds);
    figures.megabytes.push_back(megabytes);
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::string makeFolder() {
    char pattern[] = "/tmp/kavo-launch-bench-XXXXXX";
    return mkdtemp(pattern) ? pattern : "";
}

} // namespace

int main(int argc, char** argv) {
    // The test portal's bundle is made from the source folder's resources.
    setenv("KAVO_SOURCE_DIR", KAVO_SOURCE_DIR, 0);
    if (argc == 3 && std::string(argv[1]) == "--launch") return measureLaunch(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--signin") return measureSignIn(argv[2]);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int stored = argc > 2 ? std::atoi(argv[2]) : 100'000;
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const std::string empty = makeFolder(), full = makeFolder();
    if (empty.empty() || full.empty()) return 1;
    prepareFolder(full, stored);
    const auto fileSize = std::filesystem::file_size(platform::joinPath(full, "defaults.plist"));
    std::printf("stored mailbox: %d mails, defaults.plist %.1f MB\n", stored, double(fileSize) / 1e6);

    Figures launchEmpty, launchFull, signInEmpty, signInFull;
    bool ok = true;
    for (int round = 0; round < rounds && ok; ++round) {
        ok = runChild(self, "--launch", empty, launchEmpty) && runChild(self, "--launch", full, launchFull) &&
             runChild(self, "--signin", empty, signInEmpty) && runChild(self, "--signin", full, signInFull);
    }
    if (!ok) {
        std::printf("a measuring run failed\n");
        return 1;
    }
    auto print = [](const char* what, const Figures& f) {
        std::printf("%-44s %8.1f ms   peak %6.1f MB\n", what, median(f.seconds) * 1000, median(f.megabytes));
    };
    std::printf("medians of %d rounds:\n", rounds);
    print("start to the log-in screen, empty folder", launchEmpty);
    print("start to the log-in screen, stored mailbox", launchFull);
    print("sign-in to the game grid, empty folder", signInEmpty);
    print("sign-in to the game grid, stored mailbox", signInFull);
    std::error_code ignored;
    std::filesystem::remove_all(empty, ignored);
    std::filesystem::remove_all(full, ignored);
    return 0;
}
