#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace portalserver {

// Writes to the client a fixed time after they were asked for, in the order they were
// asked for, on a thread of its own: a server whose every answer comes late. A test that
// waits a fixed time for an answer, instead of for the answer's effect, fails against it
// every run (`KAVO_PORTAL_HOLD_BACK`).
class HeldWrites {
public:
    using Write = std::function<void()>;

    // The delay in seconds that `KAVO_PORTAL_HOLD_BACK` names; 0 (no delay) when it is
    // unset or not a positive number.
    static double delayFromEnvironment();

    explicit HeldWrites(double seconds);
    // Drops what still waits; a write under way ends first.
    ~HeldWrites();
    HeldWrites(const HeldWrites&) = delete;
    HeldWrites& operator=(const HeldWrites&) = delete;

    // Runs `write` on the thread once the delay is over; nothing after stop().
    void add(Write write);
    // Drops what waits and ends the thread (after a write under way).
    void stop();

private:
    using Clock = std::chrono::steady_clock;
    struct Held {
        Clock::time_point due;
        Write write;
    };
    void run();

    const Clock::duration delay_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Held> queue_; // in order of `due`: every write waits the same delay
    bool stopped_ = false;
    std::thread thread_;
};

} // namespace portalserver
