// The writers' lock of the stub's accounts is taken by the next process whatever the last
// one left or the file holds: a file the stub did not make (a bare mutex's size of zeros, a
// page of random bytes, the mark followed by random bytes or by a plain mutex, the stub's kind
// of mutex without its mark) is not taken for a lock but made anew, and so is a mutex that
// can no longer be recovered, that the system's library refuses or that is held by a thread
// no longer running; a holder that died leaves the lock to the next.
#include "tools/portal-stub/StubWriterLock.h"

#include "tests/portal-stub/LogLines.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace portalstub {
namespace {

using Page = StubWriterLock::Page;

// A short wait: a lock that is not free by then is not free at all.
constexpr int kWait = 2000;

class WriterLock : public ::testing::Test {
protected:
    WriterLock() { ::mkdtemp(folder_.data()); }
    ~WriterLock() override { std::filesystem::remove_all(folder_); }

    std::string path() const { return folder_ + "/accounts.lock"; }
    // The file's page as another process maps it (null when it is too short for one).
    Page* map() {
        const int fd = ::open(path().c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) return nullptr;
        void* page = ::mmap(nullptr, sizeof(Page), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ::close(fd);
        if (page == MAP_FAILED) return nullptr;
        mapped_ = static_cast<Page*>(page);
        return mapped_;
    }
    void unmap() {
        if (mapped_) ::munmap(mapped_, sizeof(Page));
        mapped_ = nullptr;
    }
    // `lock` kept in the file, and its page as another process maps it.
    Page* keep(StubWriterLock& lock) {
        lock.keepIn(path());
        return map();
    }
    // Writes the file as another program may: a page with `magic` and `version` and a
    // process-shared mutex, robust (the stub's kind) or not; the page, mapped (null when it
    // could not be made).
    Page* writePage(uint32_t magic, uint32_t version, bool robust) {
        std::ofstream(path(), std::ios::binary | std::ios::trunc) << std::string(sizeof(Page), '\0');
        Page* page = map();
        if (!page) return nullptr;
        pthread_mutexattr_t attributes;
        ::pthread_mutexattr_init(&attributes);
        ::pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
        if (robust) ::pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
        const bool made = ::pthread_mutex_init(&page->mutex, &attributes) == 0;
        ::pthread_mutexattr_destroy(&attributes);
        page->magic = magic;
        page->version = version;
        return made ? page : nullptr;
    }
    // A process that takes `mutex` and ends without letting it go; whether it did.
    static bool dieHolding(pthread_mutex_t* mutex) {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(::pthread_mutex_lock(mutex) == 0 ? 0 : 1);
        int status = 0;
        return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::string folder_ = "/tmp/stub-lock-XXXXXX";
    Page* mapped_ = nullptr;
};

// A lock file of zeros as long as a bare mutex, as a file the stub did not make may be,
// and a holder that dies with what it takes for the lock: the stub makes the page anew,
// with its mark, and a process still takes the lock within the wait.
TEST_F(WriterLock, AFileTheStubDidNotMakeIsMadeAnewAndItsLockTaken) {
    LogLines log;
    std::ofstream(path(), std::ios::binary) << std::string(sizeof(pthread_mutex_t), '\0');
    StubWriterLock lock;
    lock.keepIn(path());
    EXPECT_TRUE(log.has("is not a writers' lock the stub made: it is made anew"));
    Page* page = map();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->magic, StubWriterLock::kMagic);
    EXPECT_EQ(page->version, StubWriterLock::kVersion);
    ASSERT_TRUE(dieHolding(&page->mutex));
    StubWriterLock::Hold hold(lock, kWait);
    EXPECT_TRUE(hold.held()) << "the dead holder's lock goes on";
}

// A holder died and the next let the mutex go without making it consistent: the mutex can
// never be taken again. The next process makes the page anew and takes its lock, and a
// process that mapped the page before takes the new one too.
TEST_F(WriterLock, AMutexThatCannotBeRecoveredIsMadeAnew) {
    LogLines log;
    StubWriterLock before;
    Page* page = keep(before);
    ASSERT_TRUE(page);
    ASSERT_TRUE(dieHolding(&page->mutex));
    ASSERT_EQ(::pthread_mutex_lock(&page->mutex), EOWNERDEAD);
    ASSERT_EQ(::pthread_mutex_unlock(&page->mutex), 0);
    ASSERT_EQ(::pthread_mutex_lock(&page->mutex), ENOTRECOVERABLE);
    unmap();
    {
        StubWriterLock next;
        next.keepIn(path());
        StubWriterLock::Hold hold(next, kWait);
        EXPECT_TRUE(hold.held());
        EXPECT_TRUE(log.has("the accounts' lock cannot be recovered; it is made anew"));
    }
    StubWriterLock::Hold again(before, kWait);
    EXPECT_TRUE(again.held()) << "the process that mapped the old page";
}

// Random bytes, the same at every run.
std::string randomBytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

// A file of a page's length and more (4,096 random bytes), which the length alone does not
// tell from a lock: the process makes it anew and takes the lock, and does not end on it.
TEST_F(WriterLock, AFileOfRandomBytesAPageLongIsMadeAnew) {
    LogLines log;
    std::ofstream(path(), std::ios::binary) << randomBytes(4096, 4096);
    StubWriterLock lock;
    lock.keepIn(path());
    EXPECT_TRUE(log.has("is not a writers' lock the stub made: it is made anew"));
    StubWriterLock::Hold hold(lock, kWait);
    EXPECT_TRUE(hold.held());
    Page* page = map();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->magic, StubWriterLock::kMagic);
}

// The mark, then random bytes where the mutex goes: each such page is made anew as the
// lock is kept, before any process locks what the bytes make of a mutex (a kind of its
// own that would end the process, a lock that would wait for a holder that never was).
TEST_F(WriterLock, TheMarkFollowedByRandomBytesIsMadeAnewAndTheLockTaken) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        LogLines log;
        Page made{StubWriterLock::kMagic, StubWriterLock::kVersion, {}};
        const std::string noise = randomBytes(sizeof made.mutex, seed);
        std::memcpy(&made.mutex, noise.data(), sizeof made.mutex);
        std::ofstream(path(), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(&made), sizeof made);
        StubWriterLock lock;
        lock.keepIn(path());
        EXPECT_TRUE(log.has("is not a writers' lock the stub made: it is made anew"));
        StubWriterLock::Hold hold(lock, kWait);
        EXPECT_TRUE(hold.held());
    }
}

// The mark and a plain mutex (not robust) that a process took and never let go: the page
// is made anew as the lock is kept, so that no change waits for the dead process.
TEST_F(WriterLock, TheMarkWithAPlainMutexLeftLockedByADeadProcessIsMadeAnew) {
    LogLines log;
    {
        Page* page = writePage(StubWriterLock::kMagic, StubWriterLock::kVersion, false);
        ASSERT_TRUE(page);
        ASSERT_TRUE(dieHolding(&page->mutex));
        unmap();
    }
    StubWriterLock lock;
    lock.keepIn(path());
    EXPECT_TRUE(log.has("is not a writers' lock the stub made: it is made anew"));
    StubWriterLock::Hold hold(lock, kWait);
    EXPECT_TRUE(hold.held());
}

// A page of the stub's layout and its kind of mutex, but without the stub's mark: no mark at
// all, or the mark of another layout's version. Another program (or an older stub) made it
// and may hold its lock for as long as it runs: the stub does not take that page for its lock
// but makes it anew, and takes the new lock at once while the other still holds its own.
TEST_F(WriterLock, APageWithTheStubsKindOfMutexButNotItsMarkIsMadeAnew) {
    const std::pair<uint32_t, uint32_t> marks[] = {{0, 0}, {StubWriterLock::kMagic, StubWriterLock::kVersion + 1}};
    for (const auto& [magic, version] : marks) {
        SCOPED_TRACE(version);
        LogLines log;
        Page* page = writePage(magic, version, true);
        ASSERT_TRUE(page);
        // The other program's thread holds its lock until the stub's process is done.
        std::promise<void> taken;
        std::promise<void> done;
        std::thread other([&page = *page, &taken, released = done.get_future()] {
            ::pthread_mutex_lock(&page.mutex);
            taken.set_value();
            released.wait();
            ::pthread_mutex_unlock(&page.mutex);
        });
        taken.get_future().wait();
        bool held = false;
        {
            StubWriterLock lock;
            lock.keepIn(path());
            StubWriterLock::Hold hold(lock, kWait);
            held = hold.held();
        }
        done.set_value();
        other.join();
        unmap();
        EXPECT_TRUE(log.has("is not a writers' lock the stub made: it is made anew"));
        EXPECT_TRUE(held) << "the stub waited for the other program's lock";
        Page* made = map();
        ASSERT_TRUE(made);
        EXPECT_EQ(made->magic, StubWriterLock::kMagic);
        EXPECT_EQ(made->version, StubWriterLock::kVersion);
        unmap();
    }
}

// A page the stub made and kept, whose mutex another program then wrote over with a kind the
// system's library knows none of: the library refuses to lock it (an invalid argument), and
// the next hold makes the page anew and takes its lock instead of failing every change.
TEST_F(WriterLock, AMutexTheLibraryRefusesAfterThePageWasKeptIsMadeAnew) {
    LogLines log;
    StubWriterLock lock;
    Page* page = keep(lock);
    ASSERT_TRUE(page);
    // The kind's low bits are its type; 15 is none of the library's.
    constexpr int kTypeBits = 0x7f;
    const int kept = page->mutex.__data.__kind;
    page->mutex.__data.__kind = (kept & ~kTypeBits) | 15;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    ASSERT_EQ(::pthread_mutex_timedlock(&page->mutex, &now), EINVAL) << "the library takes the kind written over";
    unmap();
    StubWriterLock::Hold hold(lock, kWait);
    EXPECT_TRUE(hold.held());
    EXPECT_TRUE(log.has("the accounts' lock cannot be taken: " + std::string(std::strerror(EINVAL))));
    EXPECT_TRUE(log.has("the accounts' lock cannot be recovered; it is made anew"));
    Page* made = map();
    ASSERT_TRUE(made);
    EXPECT_EQ(made->mutex.__data.__kind, kept);
}

// The stub's own kind of mutex whose lock names a thread that no longer runs, without the
// mark a dying holder leaves: no process would ever let it go. The next hold makes the
// page anew at once (well within a wait far longer than any test) and takes it.
TEST_F(WriterLock, ALockHeldByAThreadThatNoLongerRunsIsMadeAnew) {
    LogLines log;
    StubWriterLock lock;
    Page* page = keep(lock);
    ASSERT_TRUE(page);
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_GT(gone, 0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    page->mutex.__data.__lock = gone;
    page->mutex.__data.__owner = gone;
    unmap();
    StubWriterLock::Hold hold(lock, 60000);
    EXPECT_TRUE(hold.held());
    EXPECT_TRUE(log.has("the accounts' lock is held by a thread that no longer runs"));
    EXPECT_TRUE(log.has("the accounts' lock cannot be recovered; it is made anew"));
}

} // namespace
} // namespace portalstub
