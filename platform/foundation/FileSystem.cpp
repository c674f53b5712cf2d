#include "platform/foundation/FileSystem.h"

#include "platform/runtime/Log.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::mutex& directoryMutex() {
    static std::mutex* m = new std::mutex();
    return *m;
}

// A temporary file is named after its target: the target's name, this, and the letters
// mkstemp puts in place of the Xs.
constexpr std::string_view kTemporaryMark = ".tmp";
constexpr size_t kUniqueLetters = 6;

// The target's name when `name` is one of its temporary files, else empty.
std::string_view targetOfTemporary(std::string_view name) {
    if (name.size() <= kTemporaryMark.size() + kUniqueLetters) return {};
    const size_t mark = name.size() - kUniqueLetters - kTemporaryMark.size();
    if (name.substr(mark, kTemporaryMark.size()) != kTemporaryMark) return {};
    const bool unique = std::all_of(name.end() - kUniqueLetters, name.end(),
                                    [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
    return unique ? name.substr(0, mark) : std::string_view{};
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

// A new temporary file for `path`, locked for as long as it stays open: another client on
// the same data folder removes at its start only the temporary files nobody holds. A start
// that took the file between its making and its locking removed it; a new one is made.
int makeLockedTemporary(const std::string& path, std::string& temp) {
    while (true) {
        temp = path + std::string(kTemporaryMark) + std::string(kUniqueLetters, 'X');
        // mkstemp creates the file with mode 0600, which the target inherits on rename.
        int fd = ::mkstemp(temp.data());
        if (fd < 0) return -1;
        // Where the file system keeps no locks, the write goes on without one.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat info {};
        if (::fstat(fd, &info) != 0 || info.st_nlink > 0) return fd;
        ::close(fd);
    }
}

bool writeAtomically(const std::string& path, const std::function<void(const ChunkSink&)>& produce) {
    std::string temp;
    int fd = makeLockedTemporary(path, temp);
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
    // The lock holds until the close, so the temporary file is renamed or removed first;
    // the bytes were on the disk (fsync) before the rename.
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        failure = "rename: " + errorText();
    }
    if (!ok) ::unlink(temp.c_str());
    ::close(fd);
    if (!ok) {
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

// Removes a temporary file whose writer is gone: a live writer holds its lock, so only a
// file this start can lock is removed, and it is removed under the lock.
bool removeIfNoWriterHolds(const std::filesystem::path& file) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(file.c_str()) == 0;
    ::close(fd);
    return removed;
}

} // namespace

size_t removeInterruptedWrites(const std::string& folder, std::string_view target) {
    size_t removed = 0;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::string_view of = targetOfTemporary(name);
        if (of.empty() || (!target.empty() && of != target)) continue;
        std::error_code kind;
        if (!it->is_regular_file(kind)) continue;
        if (removeIfNoWriterHolds(it->path())) {
            log("removed " + it->path().string() + ", left by a write that did not finish");
            ++removed;
        }
    }
    return removed;
}

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
