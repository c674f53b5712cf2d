#include "tools/portal-stub/StubWriterLock.h"

#include "platform/runtime/Log.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace portalstub {

namespace {

// Maps the mutex of the file `fd` (its size checked).
pthread_mutex_t* mapped(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_size < off_t(sizeof(pthread_mutex_t))) return nullptr;
    void* page = ::mmap(nullptr, sizeof(pthread_mutex_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return page == MAP_FAILED ? nullptr : static_cast<pthread_mutex_t*>(page);
}

// A file of a mutex made ready before any process can open it: written under a name of
// its own, then linked to `path` (which fails when another process made it first).
void makeLockFile(const std::string& path) {
    std::string made = path + ".XXXXXX";
    const int fd = ::mkstemp(made.data());
    if (fd < 0) return;
    pthread_mutex_t* mutex = ::ftruncate(fd, sizeof(pthread_mutex_t)) == 0 ? mapped(fd) : nullptr;
    bool ready = false;
    if (mutex) {
        pthread_mutexattr_t attributes;
        ready = ::pthread_mutexattr_init(&attributes) == 0 &&
                ::pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                ::pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
                ::pthread_mutex_init(mutex, &attributes) == 0;
        ::pthread_mutexattr_destroy(&attributes);
        ::munmap(mutex, sizeof(pthread_mutex_t));
    }
    ::close(fd);
    if (ready) ::link(made.c_str(), path.c_str());
    ::unlink(made.c_str());
}

} // namespace

StubWriterLock::~StubWriterLock() {
    release();
}

void StubWriterLock::release() {
    if (mutex_) ::munmap(mutex_, sizeof(pthread_mutex_t));
    mutex_ = nullptr;
}

void StubWriterLock::keepIn(const std::string& path) {
    release();
    if (::access(path.c_str(), F_OK) != 0) makeLockFile(path);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        platform::log("portal-stub: no lock for the accounts' writers in " + path + ": " + std::strerror(errno));
        return;
    }
    mutex_ = mapped(fd);
    ::close(fd);
    if (!mutex_) platform::log("portal-stub: the lock for the accounts' writers in " + path + " cannot be mapped");
}

StubWriterLock::Hold::Hold(StubWriterLock& lock, int milliseconds) {
    if (!lock.mutex_) return;
    timespec deadline{};
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    const long nanoseconds = deadline.tv_nsec + long(milliseconds % 1000) * 1000000L;
    deadline.tv_sec += milliseconds / 1000 + nanoseconds / 1000000000L;
    deadline.tv_nsec = nanoseconds % 1000000000L;
    const int taken = ::pthread_mutex_timedlock(lock.mutex_, &deadline);
    if (taken == EOWNERDEAD) {
        // Its holder died: what it changed was undone with its transaction.
        platform::log("portal-stub: a process died holding the accounts' lock; the lock goes on");
        ::pthread_mutex_consistent(lock.mutex_);
    } else if (taken != 0) {
        platform::log("portal-stub: the accounts' lock was not taken: " + std::string(std::strerror(taken)));
        held_ = false;
        return;
    }
    mutex_ = lock.mutex_;
}

StubWriterLock::Hold::~Hold() {
    if (mutex_) ::pthread_mutex_unlock(mutex_);
}

} // namespace portalstub
