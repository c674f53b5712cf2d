// kavo-online: the client.
//
//   kavo-online [--bundle DIR] [--data-dir DIR] [--tablet] [--headless] [--drive SCRIPT] [--shot PATH]
//
// With a desktop it opens a window; --headless runs without one (on the real clock). A
// script runs once the client has started, then the process ends with the script's
// result. The screenshot is written when the process ends.

#include "app/KavoOnlineAppDelegate.h"
#include "platform/automation/Driver.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/render/Renderer.h"
#include "platform/render/WindowHost.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PlatformServices.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <pthread.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kUsage =
    "usage: kavo-online [options]\n"
    "  --bundle DIR     resources folder (default: resources next to the executable)\n"
    "  --data-dir DIR   user defaults and documents (default: $XDG_DATA_HOME/kavo-online,\n"
    "                   or ~/.local/share/kavo-online)\n"
    "  --tablet         the tablet's screen (1024 x 768) instead of the phone's (480 x 320)\n"
    "  --headless       no window\n"
    "  --drive SCRIPT   run an automation script, then exit with its result\n"
    "  --shot PATH      write a PNG of the screen on exit\n"
    "  --help           this text\n";

// Exit statuses.
constexpr int kOk = 0;
constexpr int kScriptFailed = 1;
constexpr int kUsageError = 2;

struct Options {
    std::string bundle;
    std::string dataDir;
    bool tablet = false;
    bool headless = false;
    std::string script;
    std::string shot;
    bool help = false;
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--tablet") {
            options.tablet = true;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--bundle" && hasValue) {
            options.bundle = argv[++i];
        } else if (arg == "--data-dir" && hasValue) {
            options.dataDir = argv[++i];
        } else if (arg == "--drive" && hasValue) {
            options.script = argv[++i];
        } else if (arg == "--shot" && hasValue) {
            options.shot = argv[++i];
        } else {
            std::cerr << "kavo-online: unknown or incomplete option: " << arg << "\n";
            return false;
        }
    }
    return true;
}

// The folder of the running executable.
std::filesystem::path executableFolder(const char* argv0) {
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) self = std::filesystem::absolute(argv0, error);
    return self.parent_path();
}

std::string defaultDataDir() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::string(xdg) + "/kavo-online";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/kavo-online";
}

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path);
    if (!in) return false;
    std::stringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

// Runs the script on the main thread; `turn` runs between its steps (the window's pump).
int runScript(const std::string& script, const std::function<void()>& turn) {
    platform::automation::Driver driver(&std::cout);
    if (turn) driver.setTurnHook(turn);
    const auto result = driver.run(script);
    std::cout << (result.ok ? "script passed" : "script failed") << "\n";
    return result.ok ? kOk : kScriptFailed;
}

int writeShot(const std::string& path) {
    if (path.empty()) return kOk;
    if (platform::render::Renderer::writeScreenshot(path)) {
        std::cout << "wrote " << path << "\n";
        return kOk;
    }
    std::cerr << "kavo-online: cannot write " << path << "\n";
    return kUsageError;
}

// Ctrl-C and a termination request end a headless run the way closing the window ends a
// windowed one. The signals are taken by a thread of their own (blocked everywhere else).
void handleStopSignalsOnAThread() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([signals] {
        int received = 0;
        if (sigwait(&signals, &received) != 0) return;
        platform::runOnMainThread([] { platform::ui::Application::shared().terminate(); });
    }).detach();
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << kUsage;
        return kUsageError;
    }
    if (options.help) {
        std::cout << kUsage;
        return kOk;
    }
    std::string script;
    if (!options.script.empty() && !readFile(options.script, script)) {
        std::cerr << "kavo-online: cannot read " << options.script << "\n";
        return kUsageError;
    }
    if (!options.headless && !platform::render::WindowHost::displayAvailable()) {
        std::cerr << "kavo-online: no display can be opened here; run with --headless to start without a window\n";
        return kUsageError;
    }

    const std::string bundle =
        options.bundle.empty() ? (executableFolder(argv[0]) / "resources").string() : options.bundle;
    if (!std::filesystem::is_directory(bundle)) {
        std::cerr << "kavo-online: no resources folder at " << bundle << " (give one with --bundle)\n";
        return kUsageError;
    }
    const std::string dataDir = options.dataDir.empty() ? defaultDataDir() : options.dataDir;
    std::error_code error;
    std::filesystem::create_directories(dataDir, error);
    if (error) {
        std::cerr << "kavo-online: cannot make the data folder " << dataDir << ": " << error.message() << "\n";
        return kUsageError;
    }

    if (options.headless) handleStopSignalsOnAThread();
    platform::Bundle::main().setMainPath(bundle);
    platform::setDataDirectory(dataDir);
    if (options.tablet) platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    platform::RunLoop::main().bindToCurrentThread();
    platform::installPlatformServices();
    auto& application = platform::ui::Application::shared();
    application.setDelegate(&kavo::KavoOnlineAppDelegate::getInstance());
    application.launch();

    int status = kOk;
    if (options.headless) {
        if (!options.script.empty() || !options.shot.empty()) {
            platform::RunLoop::main().runPending();
            if (!options.script.empty()) status = runScript(script, {});
        } else {
            platform::RunLoop::main().run(); // until a stop signal
        }
    } else {
        platform::render::WindowHost host;
        if (!host.open()) {
            std::cerr << "kavo-online: the window could not be opened; run with --headless to start without one\n";
            return kUsageError;
        }
        if (!options.script.empty()) {
            // The script runs once the window shows; the window keeps drawing meanwhile.
            platform::runOnMainThread([&] {
                status = runScript(script, [&host] { host.pump(); });
                host.stop();
            });
        }
        host.run();
    }
    const int shotStatus = writeShot(options.shot);
    if (status == kOk) status = shotStatus;
    if (application.state() != platform::ui::ApplicationState::NotRunning) application.terminate();
    return status;
}
