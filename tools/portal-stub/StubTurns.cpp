#include "tools/portal-stub/StubTurns.h"

#include <chrono>
#include <climits>
#include <ctime>
#include <fcntl.h>
#include <linux/futex.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace portalstub {

namespace {

using Clock = std::chrono::steady_clock;

// The tickets this near their turn ask for it without sleeping: a change holds the turn
// 30 to 120 us and a sleeper takes up to 100 us to be woken and run, so the turn reaches
// a ticket woken three turns before its own while it asks.
constexpr uint32_t kAwake = 3;
// A turn that has not moved for this long is passed on: its process is gone (or stuck,
// and SQLite's lock still stands between it and the next).
constexpr auto kStalled = std::chrono::milliseconds(100);
// A sleeper looks again after this long, whether its bell rang or not: often enough to see
// a stalled turn, seldom enough that two hundred sleepers cost nothing.
constexpr long kNapNanoseconds = 20000000;

static_assert(std::atomic<uint32_t>::is_always_lock_free && sizeof(std::atomic<uint32_t>) == sizeof(uint32_t));

// Sleeps until `bell` rings (or it rang since it read `rung`), or a nap passed.
void sleepOn(std::atomic<uint32_t>& bell, uint32_t rung) {
    timespec nap{0, kNapNanoseconds};
    ::syscall(SYS_futex, reinterpret_cast<uint32_t*>(&bell), FUTEX_WAIT, rung, &nap, nullptr, 0);
}

void ring(std::atomic<uint32_t>& bell) {
    bell.fetch_add(1);
    ::syscall(SYS_futex, reinterpret_cast<uint32_t*>(&bell), FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

} // namespace

StubTurns::~StubTurns() {
    if (shared_) ::munmap(shared_, sizeof(Shared));
}

void StubTurns::keepIn(const std::string& path) {
    if (shared_) ::munmap(shared_, sizeof(Shared));
    shared_ = nullptr;
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0) return;
    // A new file reads as zeros: no ticket given, the first one's turn.
    struct stat status {};
    if (::fstat(file, &status) == 0 && status.st_size < off_t(sizeof(Shared))) ::ftruncate(file, sizeof(Shared));
    void* page = ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    ::close(file);
    if (page != MAP_FAILED) shared_ = static_cast<Shared*>(page);
}

bool StubTurns::passOn(uint32_t ticket) {
    if (!shared_->serving.compare_exchange_strong(ticket, ticket + 1)) return false;
    ring(shared_->bells[(ticket + 1 + kAwake) % kBells]);
    return true;
}

StubTurns::Turn::Turn(StubTurns& turns) : turns_(turns) {
    Shared* shared = turns_.shared_;
    if (!shared) return;
    ticket_ = shared->next.fetch_add(1);
    std::atomic<uint32_t>& bell = shared->bells[ticket_ % kBells];
    uint32_t seen = shared->serving.load();
    auto moved = Clock::now();
    for (;;) {
        const uint32_t rung = bell.load();
        const uint32_t serving = shared->serving.load();
        const uint32_t ahead = ticket_ - serving;
        if (ahead == 0) {
            held_ = true;
            return;
        }
        // Passed over while away too long: this change goes without a turn.
        if (ahead > UINT32_MAX / 2) return;
        if (serving != seen) {
            seen = serving;
            moved = Clock::now();
        } else if (Clock::now() - moved > kStalled) {
            turns_.passOn(serving);
            continue;
        }
        if (ahead <= kAwake)
            ::sched_yield();
        else
            sleepOn(bell, rung);
    }
}

StubTurns::Turn::~Turn() {
    if (held_) turns_.passOn(ticket_);
}

} // namespace portalstub
