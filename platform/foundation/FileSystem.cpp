#include "platform/foundation/FileSystem.h"

#include "platform/runtime/Log.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::mutex& directoryMutex() {
    static std::mutex* m = new std::mutex();
    return *m;
}

std::string& chosenDirectory() {
    static std::string* path = new std::string();
    return *path;
}

std::string defaultDataDirectory() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return joinPath(xdg, "kavo-online");
    if (const char* home = std::getenv("HOME"); home && *home) return joinPath(home, ".local/share/kavo-online");
    return "kavo-online-data";
}

std::string errorText() {
    return std::strerror(errno);
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAtomically(const std::string& path, const std::function<void(const ChunkSink&)>& produce) {
    // mkstemp creates the file with mode 0600, which the target inherits on rename.
    std::string temp = path + ".tmpXXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        log("writeFileAtomically: cannot create a temporary file for " + path + ": " + errorText());
        return false;
    }
    bool ok = true;
    std::string failure;
    produce([&](std::string_view chunk) {
        if (ok && !writeAll(fd, reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size())) {
            ok = false;
            failure = "write: " + errorText();
        }
        return ok;
    });
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        failure = "fsync: " + errorText();
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = "close: " + errorText();
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        failure = "rename: " + errorText();
    }
    if (!ok) {
        ::unlink(temp.c_str());
        log("writeFileAtomically: " + path + ": " + failure);
        return false;
    }
    // Make the rename itself durable; a failure here leaves a complete file either way.
    int dir = ::open(parentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace

std::string joinPath(std::string_view a, std::string_view b) {
    if (a.empty()) return std::string(b);
    if (b.empty()) return std::string(a);
    std::string out(a);
    if (out.back() == '/' && b.front() == '/')
        out.pop_back();
    else if (out.back() != '/' && b.front() != '/')
        out += '/';
    out += b;
    return out;
}

void setDataDirectory(const std::string& path) {
    std::lock_guard<std::mutex> lock(directoryMutex());
    chosenDirectory() = path;
}

std::string dataDirectory() {
    std::string path;
    {
        std::lock_guard<std::mutex> lock(directoryMutex());
        path = chosenDirectory().empty() ? defaultDataDirectory() : chosenDirectory();
    }
    createDirectories(path);
    return path;
}

std::string documentsDirectory() {
    std::string path = joinPath(dataDirectory(), "Documents");
    createDirectories(path);
    return path;
}

std::string cachesDirectory() {
    std::string path = joinPath(dataDirectory(), "Caches");
    createDirectories(path);
    return path;
}

bool createDirectories(const std::string& path, unsigned mode) {
    if (path.empty()) return false;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    std::string parent = parentOf(path);
    if (parent != path && parent != "." && parent != "/") createDirectories(parent, mode);
    if (::mkdir(path.c_str(), mode) != 0 && errno != EEXIST) {
        log("createDirectories: " + path + ": " + errorText());
        return false;
    }
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool writeFileAtomically(const std::string& path, const Bytes& bytes) {
    return writeFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    return writeAtomically(path, [bytes](const ChunkSink& sink) { sink(bytes); });
}

bool writeFileAtomically(const std::string& path, const std::function<void(const ChunkSink&)>& produce) {
    return writeAtomically(path, produce);
}

namespace {

// Read into one buffer the size of the file: a stored mailbox is tens of megabytes, and
// growing a buffer step by step would hold it twice over at the end.
template <typename Buffer> std::optional<Buffer> readWhole(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) log("readFile: " + path + ": " + errorText());
        return std::nullopt;
    }
    Buffer buffer;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0) buffer.reserve(size_t(info.st_size));
    char chunk[65536];
    while (true) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            log("readFile: " + path + ": " + errorText());
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        buffer.insert(buffer.end(), chunk, chunk + n);
    }
    ::close(fd);
    return buffer;
}

} // namespace

std::optional<Bytes> readFile(const std::string& path) {
    return readWhole<Bytes>(path);
}

std::optional<std::string> readTextFile(const std::string& path) {
    return readWhole<std::string>(path);
}

} // namespace platform
