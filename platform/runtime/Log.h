#pragma once

#include <functional>
#include <string>

namespace platform {

// Writes one line to the platform log (standard error, with the time and thread).
// Safe from any thread.
void log(const std::string& line);

// Tests may capture the log; an empty function restores standard error.
void setLogSink(std::function<void(const std::string&)> sink);

// Writes one line to standard error as log does without a sink: a sink that changes a
// line hands it on here.
void writeLogLine(const std::string& line);

} // namespace platform
