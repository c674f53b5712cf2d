#include "platform/runtime/Log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <pthread.h>

namespace platform {

namespace {
std::mutex& logMutex() {
    static std::mutex m;
    return m;
}
std::function<void(const std::string&)>& logSink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}
} // namespace

void log(const std::string& line) {
    std::lock_guard<std::mutex> lock(logMutex());
    if (logSink()) {
        logSink()(line);
        return;
    }
    writeLogLine(line);
}

void writeLogLine(const std::string& line) {
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    int ms = int(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm tm{};
    localtime_r(&t, &tm);
    char name[16] = "?";
    pthread_getname_np(pthread_self(), name, sizeof name);
    std::fprintf(stderr, "%02d:%02d:%02d.%03d [%s] %s\n", tm.tm_hour, tm.tm_min, tm.tm_sec, ms, name, line.c_str());
}

void setLogSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> lock(logMutex());
    logSink() = std::move(sink);
}

} // namespace platform
