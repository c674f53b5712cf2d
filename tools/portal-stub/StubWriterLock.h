#pragma once

#include <cstdint>
#include <pthread.h>
#include <string>
#include <sys/types.h>

namespace portalstub {

// The lock the stub's processes take before they change the accounts: a process-shared,
// robust mutex of the system's thread library, in a page of a file beside the accounts
// that every process maps. A waiter sleeps in the kernel until the holder lets go, and a
// running process takes a free lock at once, so that no change waits for a process that
// is not running. A holder that dies with the lock leaves it to the next, which is told so
// (EOWNERDEAD) and goes on: SQLite undid the dead one's transaction, whose locks went with
// its process. The lock only spares the processes SQLite's pauses between tries: SQLite's
// write lock makes a check and its change one step, with or without it.
//
// The page starts with a mark (a magic word and a version) that only a page the stub made
// carries, and its mutex is of the one kind the stub makes: a file without the mark
// (another program's, an older stub's, a truncated one) or with a mutex of another kind
// (random bytes after the mark, a plain mutex) is not taken for the lock but made anew,
// and so is a lock that cannot be used: a mutex that can no longer be recovered (its holder
// died and the next one let go without making it consistent), one held by a thread that no
// longer runs without the mark of a dead holder, or one the system's library refuses;
// each would otherwise fail or hold up every change of every process, or end it. A page is
// made anew once, by whichever process finds it first; the others then map the new one.
class StubWriterLock {
public:
    // The page's mark: "KSWL" and the layout's version.
    static constexpr uint32_t kMagic = 0x4B53574C;
    static constexpr uint32_t kVersion = 1;
    struct Page {
        uint32_t magic;
        uint32_t version;
        pthread_mutex_t mutex;
    };

    StubWriterLock() = default;
    ~StubWriterLock();
    StubWriterLock(const StubWriterLock&) = delete;
    StubWriterLock& operator=(const StubWriterLock&) = delete;

    // Takes the lock in the file at `path` from now on (made with its mutex when absent or
    // not a page of the stub's); until then, or when it cannot be mapped, every hold is
    // given at once.
    void keepIn(const std::string& path);

    // The lock, waited for at most `milliseconds` and held while the object lives.
    class Hold {
    public:
        Hold(StubWriterLock& lock, int milliseconds);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        // Whether it is held (or there is no lock to hold); false when the wait ran out.
        bool held() const { return held_; }

    private:
        // pthread_mutex_timedlock until `deadline`, a dead holder's mutex made consistent: 0
        // when taken, ETIMEDOUT when a running holder kept it, ENOTRECOVERABLE when it
        // cannot be used (it can never be taken again, it is held by a thread that no
        // longer runs, or the system's library refused it).
        static int take(pthread_mutex_t* mutex, const timespec& deadline);

        pthread_mutex_t* mutex_ = nullptr;
        bool held_ = true;
    };

private:
    void release();
    // Makes the page anew, unless another process did since this one mapped it, and maps
    // the page the file holds then.
    void remake();

    std::string path_;
    Page* page_ = nullptr;
    // The file whose page is mapped, told apart from one made since.
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

} // namespace portalstub
