#include "tools/portal-stub/StubStore.h"

#include "platform/runtime/Log.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace portalstub {

namespace {

// How long a process waits for another's transaction before giving up: far beyond any
// one change, so that a busy stub is slow rather than wrong.
constexpr int kBusyMilliseconds = 10000;

// Every account, one row each, each person's name under its likeness (StubNameBook), and
// what a person keeps beside his money: his friends, the notices he has had, his shop
// history, the store receipts and scratch cards credited (each once), his lottery tickets,
// his profile, what he bought and the hands he played; and the presents from the shop the
// stub players were given, by their ids.
constexpr const char* kTables = R"(
CREATE TABLE IF NOT EXISTS clock (id INTEGER PRIMARY KEY CHECK (id = 1), started INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS accounts (key TEXT PRIMARY KEY, money INTEGER NOT NULL) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS names (likeness TEXT PRIMARY KEY, name TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS friends (person TEXT NOT NULL, friend INTEGER NOT NULL, accepted INTEGER NOT NULL,
                                    PRIMARY KEY (person, friend));
CREATE TABLE IF NOT EXISTS had (person TEXT NOT NULL, what TEXT NOT NULL, PRIMARY KEY (person, what)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS history (person TEXT NOT NULL, time TEXT NOT NULL, kind TEXT NOT NULL,
                                    subject TEXT NOT NULL, amount INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS history_of ON history (person);
CREATE TABLE IF NOT EXISTS receipts (receipt TEXT PRIMARY KEY, person TEXT NOT NULL) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS cards (carrier INTEGER NOT NULL, serial TEXT NOT NULL, person TEXT NOT NULL,
                                  PRIMARY KEY (carrier, serial)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS tickets (person TEXT NOT NULL, draw INTEGER NOT NULL, number INTEGER NOT NULL,
                                    stake INTEGER NOT NULL, settled INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS tickets_of ON tickets (person, draw);
CREATE TABLE IF NOT EXISTS profiles (person TEXT PRIMARY KEY, fullname TEXT NOT NULL, gender INTEGER NOT NULL,
                                     year INTEGER NOT NULL, address TEXT NOT NULL, idnumber TEXT NOT NULL,
                                     phone TEXT NOT NULL, province INTEGER NOT NULL, month INTEGER NOT NULL,
                                     day INTEGER NOT NULL, avatar INTEGER NOT NULL) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS owned (person TEXT NOT NULL, kind TEXT NOT NULL, id INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS owned_by ON owned (person, kind);
CREATE TABLE IF NOT EXISTS stub_owned (player INTEGER NOT NULL, kind TEXT NOT NULL, id INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS stub_owned_by ON stub_owned (player, kind);
CREATE TABLE IF NOT EXISTS hands (person TEXT NOT NULL, game INTEGER NOT NULL, change INTEGER NOT NULL,
                                  seconds INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS hands_of ON hands (person, game);
)";

// The file beside the accounts that holds the writers' lock.
constexpr const char* kLockFileName = "accounts.lock";

} // namespace

int64_t steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

StubStore& StubStore::session() {
    static StubStore store;
    return store;
}

StubStore::StubStore() {
    open(":memory:");
}

void StubStore::keepIn(const std::string& folder) {
    std::lock_guard lock(mutex_);
    writers_.keepIn(folder + "/" + kLockFileName);
    open(folder + "/" + kFileName);
}

// WAL lets readers go on beside a writer; nothing is forced to the disk, neither a commit
// nor a checkpoint of the log into the file (its flush would hold every other process's
// lock up): a process killed loses nothing committed, a machine that stops loses or spoils
// the last changes, and the accounts last the stub's life only.
void StubStore::open(const std::string& path) {
    using platform::SqliteDatabase;
    const bool made = [&] {
        StubWriterLock::Hold hold(writers_, kBusyMilliseconds);
        // Without it the tables are still made in one transaction, which SQLite's write
        // lock keeps whole: the writers' lock only spares the wait.
        if (!hold.held())
            platform::log("portal-stub: the accounts' writers' lock was not had within the wait; the accounts "
                          "are opened under SQLite's lock alone");
        bool made = db_.open(path) && db_.exec("PRAGMA busy_timeout = " + std::to_string(kBusyMilliseconds)) &&
                    db_.exec("PRAGMA journal_mode = WAL") && db_.exec("PRAGMA synchronous = OFF") &&
                    db_.exec("BEGIN IMMEDIATE") && db_.exec(kTables);
        if (made) {
            auto start = db_.prepare("INSERT OR IGNORE INTO clock (id, started) VALUES (1, ?)");
            start.bindInt(1, steadyMilliseconds());
            auto started = db_.prepare("SELECT started FROM clock");
            made = start.step() == SqliteDatabase::kDone && started.step() == SqliteDatabase::kRow;
            if (made) startedAt_ = started.columnInt(0);
        }
        return made && db_.exec("COMMIT");
    }();
    if (made) return;
    platform::log("portal-stub: the accounts cannot be kept in " + path + ": " + db_.errorMessage() +
                  "; this process keeps its own");
    if (path != ":memory:") open(":memory:");
}

StubStore::Outcome StubStore::attempt(const std::function<bool(platform::SqliteDatabase&)>& work) {
    std::vector<std::string> notes;
    const Outcome outcome = attemptLocked(work, notes);
    if (outcome == Outcome::Kept)
        for (const std::string& line : notes)
            platform::log(line);
    // With every lock let go: another process's change may come in now, and would come
    // between two steps of a spend that were not one.
    pauseAfterChange();
    return outcome;
}

namespace {

// KAVO_STUB_SPEND_PAUSE in milliseconds (0: none).
int pauseMilliseconds() {
    static const int milliseconds = [] {
        const char* pause = std::getenv("KAVO_STUB_SPEND_PAUSE");
        return pause ? std::max(0, std::atoi(pause)) : 0;
    }();
    return milliseconds;
}

// KAVO_STUB_SPEND_PAUSE_OF: the one account whose spends pause ("": every account's).
const std::string& pausedAccount() {
    static const std::string name = [] {
        const char* of = std::getenv("KAVO_STUB_SPEND_PAUSE_OF");
        return std::string(of ? of : "");
    }();
    return name;
}

// Set once the process is to stop: no pause holds it up from then on. Lock-free, so that
// a signal handler may set it.
std::atomic<bool> pausesEnded{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// The pause of KAVO_STUB_SPEND_PAUSE, or less when the pauses are ended meanwhile. In
// short steps: a signal handler can set a flag, not wake a sleeping thread.
void waitOutPause() {
    using namespace std::chrono;
    const auto end = steady_clock::now() + milliseconds(pauseMilliseconds());
    while (!pausesEnded && steady_clock::now() < end)
        std::this_thread::sleep_for(std::min<steady_clock::duration>(milliseconds(20), end - steady_clock::now()));
}

} // namespace

void StubStore::endPauses() {
    pausesEnded = true;
}

void StubStore::pauseAfterChange() {
    // With one account named, only its spends pause: a long pause there must not hold up
    // every other change of every process.
    if (pauseMilliseconds() > 0 && pausedAccount().empty()) waitOutPause();
}

void StubStore::pauseSpendForTests(const std::string& account) {
    if (pauseMilliseconds() == 0 || (!pausedAccount().empty() && account != pausedAccount())) return;
    // Said before the pause, so that a test can act inside it (kill the process holding
    // the locks) on this line rather than on a guess at when the pause began.
    platform::log("portal-stub: process " + std::to_string(::getpid()) + " pauses a spend of " + account + " for " +
                  std::to_string(pauseMilliseconds()) + " ms");
    waitOutPause();
}

StubStore::Outcome StubStore::attemptLocked(const std::function<bool(platform::SqliteDatabase&)>& work,
                                            std::vector<std::string>& notes) {
    std::lock_guard lock(mutex_);
    // The transaction's log lines are handed out before the lock goes.
    struct HandOver {
        std::vector<std::string>& from;
        std::vector<std::string>& to;
        ~HandOver() { to.swap(from); }
    } handOver{notes_, notes};
    // The writers' lock is waited for no longer than SQLite's: a change waits for it and
    // for the file at most twice the wait in all.
    StubWriterLock::Hold hold(writers_, kBusyMilliseconds);
    if (!hold.held()) {
        platform::log("portal-stub: the accounts' writers' lock was not had within the wait");
        return Outcome::Failed;
    }
    // Kept compiled, as the changes' own statements are: each costs as long as a change
    // to compile, and every process waits for the writers before it.
    if (db_.prepareKept("BEGIN IMMEDIATE").step() != platform::SqliteDatabase::kDone) {
        platform::log("portal-stub: no transaction on the accounts: " + db_.errorMessage());
        return Outcome::Failed;
    }
    const bool done = work(db_);
    if (done && db_.prepareKept("COMMIT").step() == platform::SqliteDatabase::kDone) return Outcome::Kept;
    if (done) platform::log("portal-stub: a change to the accounts could not be kept: " + db_.errorMessage());
    db_.prepareKept("ROLLBACK").step();
    return done ? Outcome::Failed : Outcome::Undone;
}

void StubStore::read(const std::function<void(platform::SqliteDatabase&)>& work) {
    std::lock_guard lock(mutex_);
    work(db_);
}

} // namespace portalstub
