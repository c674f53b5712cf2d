#include "tools/portal-stub/StubWriterLock.h"

#include "platform/runtime/Log.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace portalstub {

namespace {

using Page = StubWriterLock::Page;

// Sets up `mutex` as the stub's lock: process-shared and robust.
bool initialise(pthread_mutex_t& mutex) {
    pthread_mutexattr_t attributes;
    const bool made = ::pthread_mutexattr_init(&attributes) == 0 &&
                      ::pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                      ::pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
                      ::pthread_mutex_init(&mutex, &attributes) == 0;
    ::pthread_mutexattr_destroy(&attributes);
    return made;
}

// The kind of mutex the stub makes, as the system's thread library writes it into the
// mutex itself. The library takes a mutex for what its kind says it is, and a kind it did
// not write there (a priority-inheriting one read from random bytes) can end the process
// at the first lock: only a mutex of this kind is locked.
int madeKind() {
    static const int kind = [] {
        pthread_mutex_t mutex;
        if (!initialise(mutex)) return -1;
        const int made = mutex.__data.__kind;
        ::pthread_mutex_destroy(&mutex);
        return made;
    }();
    return kind;
}

// Whether `page` is a lock the stub made: it carries the mark and a mutex of the stub's kind.
bool usable(const Page& page) {
    return page.magic == StubWriterLock::kMagic && page.version == StubWriterLock::kVersion &&
           page.mutex.__data.__kind == madeKind();
}

// Maps the page of the file `fd`: null unless it is as long as a page and a lock the stub
// made.
Page* mapped(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_size < off_t(sizeof(Page))) return nullptr;
    void* mapping = ::mmap(nullptr, sizeof(Page), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapping == MAP_FAILED) return nullptr;
    auto* page = static_cast<Page*>(mapping);
    if (usable(*page)) return page;
    ::munmap(mapping, sizeof(Page));
    return nullptr;
}

// Whether the lock is held by a thread that no longer runs and left it without the mark
// of a dead holder, which a holder of a lock the stub made leaves as it dies: such a lock
// would never be let go. The holder's thread id is the lock word's low bits.
bool heldByNoOne(pthread_mutex_t& mutex) {
    constexpr int kOwnerDied = 0x40000000;
    constexpr int kThreadOf = 0x3fffffff;
    const int word = __atomic_load_n(&mutex.__data.__lock, __ATOMIC_ACQUIRE);
    const pid_t holder = word & kThreadOf;
    if (holder == 0 || (word & kOwnerDied)) return false;
    return ::kill(holder, 0) != 0 && errno == ESRCH;
}

// A file of a page made ready before any process can open it: written under a name of
// its own, then linked to `path` (which fails when another process made it first) or,
// `replacing` it, renamed over it.
void makeLockFile(const std::string& path, bool replacing) {
    std::string made = path + ".XXXXXX";
    const int fd = ::mkstemp(made.data());
    if (fd < 0) return;
    void* mapping = ::ftruncate(fd, sizeof(Page)) == 0
                        ? ::mmap(nullptr, sizeof(Page), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                        : MAP_FAILED;
    bool ready = false;
    if (mapping != MAP_FAILED) {
        auto* page = static_cast<Page*>(mapping);
        ready = initialise(page->mutex);
        page->magic = StubWriterLock::kMagic;
        page->version = StubWriterLock::kVersion;
        ::munmap(mapping, sizeof(Page));
    }
    ::close(fd);
    if (ready && replacing)
        ready = ::rename(made.c_str(), path.c_str()) == 0;
    else if (ready)
        ::link(made.c_str(), path.c_str());
    if (!ready || !replacing) ::unlink(made.c_str());
}

} // namespace

StubWriterLock::~StubWriterLock() {
    release();
}

void StubWriterLock::release() {
    if (page_) ::munmap(page_, sizeof(Page));
    page_ = nullptr;
}

void StubWriterLock::keepIn(const std::string& path) {
    release();
    path_ = path;
    if (::access(path.c_str(), F_OK) != 0) makeLockFile(path, false);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        platform::log("portal-stub: no lock for the accounts' writers in " + path + ": " + std::strerror(errno));
        return;
    }
    struct stat status {};
    page_ = ::fstat(fd, &status) == 0 ? mapped(fd) : nullptr;
    device_ = status.st_dev;
    inode_ = status.st_ino;
    ::close(fd);
    if (page_) return;
    platform::log("portal-stub: " + path + " is not a writers' lock the stub made: it is made anew");
    remake();
}

void StubWriterLock::remake() {
    release();
    // Under the file's own lock, so that of the processes that find one page unusable one
    // makes it anew and the others see the new one.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        ::flock(fd, LOCK_EX);
        struct stat now {};
        if (::stat(path_.c_str(), &now) == 0 && now.st_dev == device_ && now.st_ino == inode_)
            makeLockFile(path_, true);
        ::close(fd);
    }
    const int again = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    struct stat status {};
    if (again >= 0 && ::fstat(again, &status) == 0) {
        page_ = mapped(again);
        device_ = status.st_dev;
        inode_ = status.st_ino;
    }
    if (again >= 0) ::close(again);
    if (!page_) platform::log("portal-stub: the lock for the accounts' writers in " + path_ + " cannot be made anew");
}

int StubWriterLock::Hold::take(pthread_mutex_t* mutex, const timespec& deadline) {
    if (heldByNoOne(*mutex)) {
        platform::log("portal-stub: the accounts' lock is held by a thread that no longer runs");
        return ENOTRECOVERABLE;
    }
    const int taken = ::pthread_mutex_timedlock(mutex, &deadline);
    switch (taken) {
    case 0:
        return 0;
    case ETIMEDOUT:
        return heldByNoOne(*mutex) ? ENOTRECOVERABLE : ETIMEDOUT;
    case EOWNERDEAD:
        break;
    default:
        platform::log("portal-stub: the accounts' lock cannot be taken: " + std::string(std::strerror(taken)));
        return ENOTRECOVERABLE;
    }
    // Its holder died: what it changed was undone with its transaction.
    platform::log("portal-stub: a process died holding the accounts' lock; the lock goes on");
    const int consistent = ::pthread_mutex_consistent(mutex);
    if (consistent == 0) return 0;
    platform::log("portal-stub: the accounts' lock could not be made consistent: " +
                  std::string(std::strerror(consistent)));
    ::pthread_mutex_unlock(mutex);
    return ENOTRECOVERABLE;
}

StubWriterLock::Hold::Hold(StubWriterLock& lock, int milliseconds) {
    if (!lock.page_) return;
    timespec deadline{};
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    const long nanoseconds = deadline.tv_nsec + long(milliseconds % 1000) * 1000000L;
    deadline.tv_sec += milliseconds / 1000 + nanoseconds / 1000000000L;
    deadline.tv_nsec = nanoseconds % 1000000000L;
    int taken = take(&lock.page_->mutex, deadline);
    if (taken == ENOTRECOVERABLE) {
        // Every process's every change would fail or wait on it until the file went: made
        // anew.
        platform::log("portal-stub: the accounts' lock cannot be recovered; it is made anew");
        lock.remake();
        if (!lock.page_) return;
        taken = take(&lock.page_->mutex, deadline);
    }
    if (taken != 0) {
        platform::log("portal-stub: the accounts' lock was not taken: " + std::string(std::strerror(taken)));
        held_ = false;
        return;
    }
    mutex_ = &lock.page_->mutex;
}

StubWriterLock::Hold::~Hold() {
    if (mutex_) ::pthread_mutex_unlock(mutex_);
}

} // namespace portalstub
