#pragma once

#include "platform/runtime/Log.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace portalstub {

// The lines logged while the object lives, instead of standard error.
class LogLines {
public:
    LogLines() {
        platform::setLogSink([this](const std::string& line) {
            std::lock_guard lock(mutex_);
            lines_.push_back(line);
        });
    }
    ~LogLines() { platform::setLogSink({}); }
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;

    // Whether a line holds `text`.
    bool has(const std::string& text) const {
        std::lock_guard lock(mutex_);
        return std::any_of(lines_.begin(), lines_.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

} // namespace portalstub
