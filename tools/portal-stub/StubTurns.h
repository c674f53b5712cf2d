#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace portalstub {

// The turns of the stub's processes at changing the accounts, served in the order they
// were asked for, from a page of a file that every process maps. The few tickets nearest
// their turn ask for it without sleeping, so that the turn passes on at once; the others
// sleep until theirs comes near, woken by the turn that brings it there. A turn whose
// process is gone is passed on after a moment without moves. The turns only order who
// tries: SQLite's write lock still makes a check and its change one step, with or
// without a turn, so that whatever befalls the turns costs time, never money.
class StubTurns {
public:
    StubTurns() = default;
    ~StubTurns();
    StubTurns(const StubTurns&) = delete;
    StubTurns& operator=(const StubTurns&) = delete;

    // Takes turns in the file at `path` from now on (made when absent); until then, or
    // when it cannot be mapped, every turn is given at once.
    void keepIn(const std::string& path);

    // This process's turn, held while the object lives.
    class Turn {
    public:
        explicit Turn(StubTurns& turns);
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        StubTurns& turns_;
        bool held_ = false;
        uint32_t ticket_ = 0;
    };

private:
    static constexpr uint32_t kBells = 64;
    struct Shared {
        std::atomic<uint32_t> next;    // the next ticket given
        std::atomic<uint32_t> serving; // the ticket whose turn it is
        // A far ticket sleeps on its bell, rung when its turn comes near.
        std::atomic<uint32_t> bells[kBells];
    };
    // Passes the turn from `ticket` to the next; false when it had passed already.
    bool passOn(uint32_t ticket);

    Shared* shared_ = nullptr;
};

} // namespace portalstub
