#include "platform/services/UrlOpener.h"

#include "platform/runtime/Log.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

std::mutex& stateMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<UrlOpener::Record>& records() {
    static auto* list = new std::vector<UrlOpener::Record>();
    return *list;
}

std::function<bool(const std::string&)>& launcherOverride() {
    static auto* launcher = new std::function<bool(const std::string&)>();
    return *launcher;
}

std::string schemeOf(const std::string& url) {
    auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    std::string scheme = url.substr(0, colon);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return scheme;
}

bool isWebAddress(const std::string& url) {
    std::string scheme = schemeOf(url);
    return (scheme == "http" || scheme == "https") && url.size() > scheme.size() + 3;
}

bool hasDesktop() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display && *display) || (wayland && *wayland);
}

bool findInPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Starts the desktop's opener for the address and returns at once; a detached
// thread reaps the child so no zombie stays behind.
bool launchBrowser(const std::string& url) {
    if (!hasDesktop() || !findInPath("xdg-open")) return false;
    std::string program = "xdg-open";
    std::vector<char*> argv{program.data(), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv.data(), environ) != 0) return false;
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

// Opens the address and records how it went.
UrlOpener::Record open(const std::string& url) {
    UrlOpener::Record record;
    record.url = url;
    if (isWebAddress(url)) {
        std::function<bool(const std::string&)> launcher;
        {
            std::lock_guard<std::mutex> lock(stateMutex());
            launcher = launcherOverride();
        }
        record.handedToBrowser = launcher ? launcher(url) : launchBrowser(url);
        if (!record.handedToBrowser) log("UrlOpener: no browser here; would open " + url);
        record.opened = true;
    } else {
        log("UrlOpener: cannot open " + url);
    }
    std::lock_guard<std::mutex> lock(stateMutex());
    records().push_back(record);
    return record;
}

} // namespace

bool UrlOpener::canOpenURL(const std::string& url) {
    return isWebAddress(url);
}

bool UrlOpener::openURL(const std::string& url) {
    return open(url).opened;
}

bool UrlOpener::show(const std::string& url) {
    return open(url).handedToBrowser;
}

std::vector<UrlOpener::Record> UrlOpener::opened() {
    std::lock_guard<std::mutex> lock(stateMutex());
    return records();
}

void UrlOpener::clearRecord() {
    std::lock_guard<std::mutex> lock(stateMutex());
    records().clear();
}

void UrlOpener::setBrowserLauncher(std::function<bool(const std::string&)> launcher) {
    std::lock_guard<std::mutex> lock(stateMutex());
    launcherOverride() = std::move(launcher);
}

} // namespace platform
