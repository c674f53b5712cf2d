#pragma once

#include "platform/foundation/SqliteDatabase.h"
#include "tools/portal-stub/StubWriterLock.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace portalstub {

// The one SQLite file of the stub's state folder, where every account is kept for the
// stub's life: the money (StubLedger) and what else a person has done (StubRecords).
// Each connection is served by a process of its own, and each process opens the file
// once: a transaction begins with BEGIN IMMEDIATE, which takes the file's write lock,
// so that a check and the change it allows are one step across the processes. Before
// that, a process takes the writers' lock (StubWriterLock): a waiter sleeps until the
// writer before it is done and is woken then, where SQLite's own wait would poll the file,
// sleeping up to 100 ms between tries.
class StubStore {
public:
    // The file's name in the state folder.
    static constexpr const char* kFileName = "accounts.sqlite";

    // The process's one store.
    static StubStore& session();

    // Keeps the accounts in `folder` from now on (made and its tables created when
    // absent); until then, or when the file cannot be opened, in this process alone.
    void keepIn(const std::string& folder);
    // What became of a transaction: kept, undone because its work answered false, or
    // failed (the file busy beyond the wait, or broken), with nothing kept.
    enum class Outcome { Kept, Undone, Failed };
    // Runs `work` in one transaction of its own: kept when it answers true, undone
    // when it answers false or the file fails. With KAVO_STUB_SPEND_PAUSE set, the
    // process pauses after it, every lock let go (unless KAVO_STUB_SPEND_PAUSE_OF names
    // one account).
    Outcome attempt(const std::function<bool(platform::SqliteDatabase&)>& work);
    bool transaction(const std::function<bool(platform::SqliteDatabase&)>& work) {
        return attempt(work) == Outcome::Kept;
    }
    // A line for the log once the transaction under way is kept and its locks are let go:
    // a line written inside it would hold every other process's change up. From the work
    // of a transaction only.
    void logWhenKept(std::string line) { notes_.push_back(std::move(line)); }
    // Runs `work` outside any transaction of its own: what it reads is read beside another
    // process's transaction, without waiting for it.
    void read(const std::function<void(platform::SqliteDatabase&)>& work);
    // When the stub started, in milliseconds of the system's steady clock (the same in
    // every process): the first process that opens the file sets it.
    int64_t startedAt() const { return startedAt_; }

    // The tests' pause (KAVO_STUB_SPEND_PAUSE, milliseconds; none unless set) between a
    // spend's check of `account`'s balance and its debit: were the two ever two steps,
    // another connection's spend would always come between them, whichever process the
    // locks serve first. With KAVO_STUB_SPEND_PAUSE_OF set, only that account's spends
    // pause. Each pause is logged first ("process N pauses a spend of NAME ...").
    static void pauseSpendForTests(const std::string& account);
    // Ends the pause under way at once, and skips every later one: a stop of the process
    // must not wait out a pause (a test's may be minutes long). The spend paused goes on
    // to its end. Safe in a signal handler.
    static void endPauses();

private:
    StubStore();
    // The same pause after each change, every lock let go (none with one account named).
    static void pauseAfterChange();
    Outcome attemptLocked(const std::function<bool(platform::SqliteDatabase&)>& work, std::vector<std::string>& notes);
    void open(const std::string& path);

    std::mutex mutex_; // the connection serves one thread at a time
    platform::SqliteDatabase db_;
    StubWriterLock writers_;
    std::vector<std::string> notes_; // the log lines of the transaction under way (mutex_)
    std::atomic<int64_t> startedAt_{0};
};

// The steady clock's milliseconds, the same in every process of the machine.
int64_t steadyMilliseconds();

} // namespace portalstub
