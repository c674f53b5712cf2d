#pragma once

#include <functional>
#include <string>

namespace platform {

// Writes one line to the platform log (standard error, with the time and thread).
// Safe from any thread.
void log(const std::string& line);

// Tests may capture the log; an empty function restores standard error.
void setLogSink(std::function<void(const std::string&)> sink);

} // namespace platform
