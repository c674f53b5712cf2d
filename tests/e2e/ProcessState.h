#pragma once

#include "tests/support/StateWaits.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace kavo::test {

// The fields of /proc/PID/stat after the name (field 2, which may hold spaces): they count
// from its ')'. Empty when there is no such process.
inline std::vector<std::string> statFieldsAfterName(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(file, stat)) return {};
    const size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 2 > stat.size()) return {};
    std::istringstream words(stat.substr(close + 2));
    std::vector<std::string> fields;
    for (std::string field; words >> field;)
        fields.push_back(field);
    return fields;
}

// The start time of process `pid` (field 22 of /proc/PID/stat) and its state, or none
// when there is no such process. Two processes of one pid have two start times.
inline std::optional<std::pair<std::string, char>> startAndState(pid_t pid) {
    const auto fields = statFieldsAfterName(pid);
    // Field 3 (the state) is the first after the name, field 22 the twentieth.
    if (fields.size() < 20 || fields[0].empty()) return std::nullopt;
    return std::make_pair(fields[19], fields[0][0]);
}

// Whether the process that was `pid` when it started at `started` still runs (a zombie
// has ended).
inline bool stillRuns(pid_t pid, const std::string& started) {
    const auto now = startAndState(pid);
    return now && now->first == started && now->second != 'Z';
}

// The processes of process group `group` that have not ended (zombies left out). While
// one of them runs, or its leader is not yet reaped, the group's number is no other
// group's: what is found is the leader and what it started.
inline std::vector<pid_t> runningInGroup(pid_t group) {
    std::vector<pid_t> running;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = pid_t(std::stol(name));
        // Field 3 is the state, field 5 the process group.
        const auto fields = statFieldsAfterName(pid);
        if (fields.size() < 3 || fields[0] == "Z" || fields[2] != std::to_string(group)) continue;
        running.push_back(pid);
    }
    return running;
}

// The processes of `started` (pid and start time) still running once all have ended or 30 s
// have passed, as " PID PID ..." (empty when none is): the bound is for a process that never
// ends, not a guess at how soon one does. Each one left is then killed, so that a failure
// leaves nothing behind.
inline std::string runningAfterTheirEnd(const std::map<pid_t, std::string>& started) {
    const auto left = [&] {
        std::string running;
        for (const auto& [pid, start] : started)
            if (stillRuns(pid, start)) running += " " + std::to_string(pid);
        return running;
    };
    // What is left running is told below, whether they ended in time or not.
    (void)lookUntil([&] { return left().empty(); });
    const std::string running = left();
    for (const auto& [pid, start] : started)
        if (stillRuns(pid, start)) ::kill(pid, SIGKILL);
    return running;
}

} // namespace kavo::test
