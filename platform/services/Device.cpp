#include "platform/services/Device.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <sys/utsname.h>

namespace platform {

namespace {

std::mutex& factsMutex() {
    static std::mutex mutex;
    return mutex;
}
DeviceFacts& overrides() {
    static auto* facts = new DeviceFacts();
    return *facts;
}
std::string& carrier() {
    static auto* name = new std::string();
    return *name;
}

template <class T> std::optional<T> overridden(std::optional<T> DeviceFacts::*field) {
    std::lock_guard<std::mutex> lock(factsMutex());
    return overrides().*field;
}

utsname systemNames() {
    utsname names{};
    if (uname(&names) != 0) return utsname{};
    return names;
}

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ' || line.back() == '\r'))
        line.pop_back();
    return line;
}

// FNV-1a over the text from a chosen starting value: two of them give a 128-bit
// identifier that does not reveal the machine id.
uint64_t fnv1a(const std::string& text, uint64_t basis) {
    uint64_t hash = basis;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string machineIdentifierHash() {
    std::string id = firstLine("/etc/machine-id");
    if (id.empty()) id = firstLine("/var/lib/dbus/machine-id");
    if (id.empty()) id = systemNames().nodename;
    std::string salted = "kavo-device:" + id;
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx",
                  static_cast<unsigned long long>(fnv1a(salted, 14695981039346656037ULL)),
                  static_cast<unsigned long long>(fnv1a(salted, 0x6c62272e07bb0142ULL)));
    return text;
}

} // namespace

std::string Device::model() {
    return overridden(&DeviceFacts::model).value_or("Linux");
}

std::string Device::machine() {
    if (auto v = overridden(&DeviceFacts::machine)) return *v;
    return systemNames().machine;
}

std::string Device::systemName() {
    if (auto v = overridden(&DeviceFacts::systemName)) return *v;
    return systemNames().sysname;
}

std::string Device::systemVersion() {
    if (auto v = overridden(&DeviceFacts::systemVersion)) return *v;
    return systemNames().release;
}

std::string Device::uniqueIdentifier() {
    if (auto v = overridden(&DeviceFacts::uniqueIdentifier)) return *v;
    static const std::string hash = machineIdentifierHash();
    return hash;
}

std::string Device::carrierName() {
    if (auto v = overridden(&DeviceFacts::carrierName)) return *v;
    std::lock_guard<std::mutex> lock(factsMutex());
    return carrier();
}

void Device::setCarrierName(const std::string& name) {
    std::lock_guard<std::mutex> lock(factsMutex());
    carrier() = name;
}

NetworkStatus Device::networkStatus() {
    if (auto v = overridden(&DeviceFacts::networkStatus)) return *v;
    return Reachability::forInternetConnection()->currentStatus();
}

std::string Device::networkType() {
    switch (networkStatus()) {
    case NetworkStatus::ReachableViaWiFi:
        return "WIFI";
    case NetworkStatus::ReachableViaWWAN:
        return "GPRS/3G";
    case NetworkStatus::NotReachable:
        break;
    }
    return "Others";
}

int64_t Device::freeMemory() {
    if (auto v = overridden(&DeviceFacts::freeMemory)) return *v;
    std::ifstream in("/proc/meminfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("MemAvailable:", 0) != 0) continue;
        std::istringstream fields(line.substr(13));
        long long kilobytes = 0;
        if (fields >> kilobytes && kilobytes > 0) return static_cast<int64_t>(kilobytes) * 1024;
        return 0;
    }
    return 0;
}

double Device::batteryLevel() {
    if (auto v = overridden(&DeviceFacts::batteryLevel)) return *v;
    std::error_code error;
    std::filesystem::directory_iterator it("/sys/class/power_supply", error);
    if (error) return -1;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error) return -1;
        if (it->path().filename().string().rfind("BAT", 0) != 0) continue;
        std::string text = firstLine((it->path() / "capacity").string());
        if (text.empty()) continue;
        char* end = nullptr;
        long percent = std::strtol(text.c_str(), &end, 10);
        if (end == text.c_str() || percent < 0 || percent > 100) continue;
        return static_cast<double>(percent) / 100.0;
    }
    return -1;
}

double Device::screenScale() {
    return overridden(&DeviceFacts::screenScale).value_or(ui::Screen::scale());
}

void Device::setForTesting(const DeviceFacts& facts) {
    std::lock_guard<std::mutex> lock(factsMutex());
    overrides() = facts;
}

void Device::resetForTesting() {
    std::lock_guard<std::mutex> lock(factsMutex());
    overrides() = DeviceFacts();
    carrier().clear();
}

} // namespace platform
