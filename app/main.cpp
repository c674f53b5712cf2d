// kavo-online: the client.
//
//   kavo-online [--bundle DIR] [--data-dir DIR] [--tablet] [--headless] [--drive SCRIPT] [--shot PATH]
//
// With a desktop it opens a window; --headless runs without one (on the real clock). A
// script runs once the client has started, then the process ends with the script's
// result. The screenshot is written when the process ends.

#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "net/MobileClient.h"
#include "platform/automation/Driver.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/render/Renderer.h"
#include "platform/render/WindowHost.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PlatformServices.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
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
int runScript(const std::string& script, const std::function<void()>& turn,
              const std::function<uint64_t()>& inputs = {}) {
    platform::automation::Driver driver(&std::cout);
    if (turn) driver.setTurnHook(turn);
    if (inputs) driver.setInputCount(inputs);
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

// Ctrl-C and a termination request end the client the way closing the window does:
// the main loop stops, the application terminates and saves what is pending. The
// signals are taken by a thread of their own (blocked everywhere else). A main thread
// that is busy for longer than the grace period does not keep the process: the stop
// thread then saves the pending mail and the defaults itself and ends the process.
class StopSignals {
public:
    static constexpr auto kGrace = std::chrono::milliseconds(700);

    ~StopSignals() { finish(); }

    void start() {
        sigset_t signals;
        sigemptyset(&signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        sigaddset(&signals, kQuitSignal);
        pthread_sigmask(SIG_BLOCK, &signals, nullptr);
        thread_ = std::thread([this, signals] { waitForSignal(signals); });
    }

    // The window whose loop a signal ends (nullptr: none, or no longer).
    void setWindow(platform::render::WindowHost* window) {
        std::lock_guard lock(mutex_);
        window_ = window;
    }

    // True once a stop signal came: the run ends as asked, which is a success.
    bool signalled() const { return signalled_; }

    // The main thread is done: the stop thread leaves without acting.
    void finish() {
        if (!thread_.joinable()) return;
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        finishedChanged_.notify_all();
        pthread_kill(thread_.native_handle(), kQuitSignal);
        thread_.join();
    }

private:
    // Sent by finish() to a thread still waiting for a signal.
    static constexpr int kQuitSignal = SIGUSR2;

    void waitForSignal(sigset_t signals) {
        int received = 0;
        if (sigwait(&signals, &received) != 0 || received == kQuitSignal) return;
        signalled_ = true;
        std::unique_lock lock(mutex_);
        if (window_) window_->stop();
        platform::runOnMainThread([] { platform::ui::Application::shared().terminate(); });
        if (finishedChanged_.wait_for(lock, kGrace, [this] { return finished_; })) return;
        kavo::UIController::flushListMessage();
        // The busy main thread may still save: a save it began is written before the stop
        // returns; one it begins later is refused and logged, never cut off by the end.
        platform::UserDefaults::standard().flush();
        platform::UserDefaults::standard().stopWriter();
        std::_Exit(kOk);
    }

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable finishedChanged_;
    bool finished_ = false;
    platform::render::WindowHost* window_ = nullptr;
    std::atomic<bool> signalled_{false};
};

} // namespace

int main(int argc, char** argv) {
    // First of all, so a stop request that comes while the client starts is not lost.
    StopSignals stopSignals;
    stopSignals.start();
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
        stopSignals.setWindow(&host);
        if (!options.script.empty()) {
            // The script runs once the window shows; the window keeps drawing meanwhile.
            platform::runOnMainThread([&] {
                status = runScript(
                    script, [&host] { host.pump(); }, [&host] { return host.inputsTaken(); });
                host.stop();
            });
        }
        host.run();
        stopSignals.setWindow(nullptr);
    }
    const int shotStatus = writeShot(options.shot);
    if (status == kOk) status = shotStatus;
    if (stopSignals.signalled()) status = kOk;
    if (application.state() != platform::ui::ApplicationState::NotRunning) application.terminate();
    // The connection's threads must be gone before static objects they use are destroyed.
    kavo::MobileClient::getInstance().shutDown(2.0);
    stopSignals.finish();
    return status;
}
