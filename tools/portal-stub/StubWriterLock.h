#pragma once

#include <pthread.h>
#include <string>

namespace portalstub {

// The lock the stub's processes take before they change the accounts: a process-shared,
// robust mutex of the system's thread library, in a page of a file beside the accounts
// that every process maps. A waiter sleeps in the kernel until the holder lets go, and a
// running process takes a free lock at once, so that no change waits for a process that
// is not running. A holder that dies with the lock leaves it to the next, which is told so
// (EOWNERDEAD) and goes on: SQLite undid the dead one's transaction, whose locks went with
// its process. The lock only spares the processes SQLite's pauses between tries: SQLite's
// write lock makes a check and its change one step, with or without it.
class StubWriterLock {
public:
    StubWriterLock() = default;
    ~StubWriterLock();
    StubWriterLock(const StubWriterLock&) = delete;
    StubWriterLock& operator=(const StubWriterLock&) = delete;

    // Takes the lock in the file at `path` from now on (made with its mutex when absent);
    // until then, or when it cannot be mapped, every hold is given at once.
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
        pthread_mutex_t* mutex_ = nullptr;
        bool held_ = true;
    };

private:
    void release();

    pthread_mutex_t* mutex_ = nullptr;
};

} // namespace portalstub
