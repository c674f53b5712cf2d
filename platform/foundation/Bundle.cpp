#include "platform/foundation/Bundle.h"

#include "platform/foundation/FileSystem.h"
#include "platform/foundation/PropertyList.h"

#include <climits>
#include <unistd.h>

namespace platform {

namespace {

std::string executableDirectory() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string exe(buffer, size_t(n));
    size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

} // namespace

Bundle& Bundle::main() {
    static Bundle* bundle = new Bundle(); // lives for the process
    return *bundle;
}

void Bundle::setMainPath(const std::string& directory) {
    std::lock_guard<std::mutex> lock(mutex_);
    path_ = directory;
    infoLoaded_ = false;
    info_ = Value();
}

std::string Bundle::path() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return pathLocked();
}

std::string Bundle::pathLocked() const {
    if (path_.empty()) return joinPath(executableDirectory(), "resources");
    return path_;
}

std::string Bundle::pathForResource(std::string_view name, std::string_view ext) const {
    if (name.empty()) return {};
    std::string file(name);
    if (!ext.empty()) {
        if (ext.front() != '.') file += '.';
        file += ext;
    }
    std::string full = joinPath(path(), file);
    return fileExists(full) ? full : std::string();
}

Value Bundle::infoDictionary() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!infoLoaded_) {
        std::string infoPath = joinPath(pathLocked(), "Info.plist");
        info_ = fileExists(infoPath) ? PropertyList::readFile(infoPath) : Value();
        infoLoaded_ = true;
    }
    return info_;
}

Value Bundle::objectForInfoKey(std::string_view key) {
    return infoDictionary().get(key);
}

Value Bundle::loadPlist(std::string_view name) const {
    std::string file = pathForResource(name, "plist");
    if (file.empty()) return {};
    return PropertyList::readFile(file);
}

} // namespace platform
