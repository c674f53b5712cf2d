#include "tools/portal-stub/StubStateFolder.h"

#include "platform/runtime/Log.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace portalstub {

namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefix = "portal-stub-";
constexpr const char* kOwnerFile = "owner";

std::string temporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// When process `pid` started (clock ticks after boot); nothing when it does not run
// (gone, or a zombie). With the pid it names one process: a pid used again by a later
// process has another start.
std::optional<unsigned long long> startOf(long long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) return std::nullopt;
    // The program's name in parentheses may hold blanks: the fields after it are read.
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string state;
    fields >> state;
    if (state == "Z" || state == "X") return std::nullopt;
    std::string skipped;
    for (int field = 4; field < 22; ++field) // the start is field 22
        fields >> skipped;
    unsigned long long start = 0;
    if (!(fields >> start)) return std::nullopt;
    return start;
}

// Whether the stub that made `folder` is gone: its owner file names a process that no
// longer runs.
bool ownerGone(const fs::path& folder) {
    std::ifstream in(folder / kOwnerFile);
    long long pid = 0;
    unsigned long long start = 0;
    if (!(in >> pid >> start) || pid <= 0) return false;
    return startOf(pid) != start;
}

} // namespace

std::string makeStateFolder() {
    std::string pattern = temporaryFolder() + "/" + kPrefix + "XXXXXX";
    if (!::mkdtemp(pattern.data())) return "";
    // Written beside and renamed: a later stub reads the whole owner or none.
    const auto start = startOf(::getpid());
    const fs::path owner = fs::path(pattern) / kOwnerFile;
    const fs::path next = fs::path(pattern) / "owner.next";
    {
        std::ofstream out(next);
        out << ::getpid() << ' ' << start.value_or(0) << '\n';
    }
    if (!start || std::rename(next.c_str(), owner.c_str()) != 0)
        platform::log("portal-stub: no owner in " + pattern + "; a later stub will not remove it");
    return pattern;
}

std::string givenStateFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    const fs::path made = fs::absolute(folder, error);
    if (error || !fs::is_directory(made, error)) return "";
    return made.string();
}

void removeStateFoldersOfGoneStubs() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(temporaryFolder(), error)) {
        std::error_code ignored;
        if (!entry.is_directory(ignored) || entry.path().filename().string().rfind(kPrefix, 0) != 0) continue;
        if (!ownerGone(entry.path())) continue;
        fs::remove_all(entry.path(), ignored);
        platform::log("portal-stub: removed " + entry.path().string() + ", the state folder of a stub that is gone");
    }
}

} // namespace portalstub
