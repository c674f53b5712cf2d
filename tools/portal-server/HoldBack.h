#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace portalserver {

// Runs what it is given a fixed time after it was given, in the order given, on a thread
// of its own: a server holds back through it what it sends a client and what it reads from
// one, so that every answer and every request comes late. A test that waits a fixed time
// for an answer, or for what the server got, instead of for the state itself, fails
// against it every run (`KAVO_PORTAL_HOLD_BACK`).
class HoldBack {
public:
    using Step = std::function<void()>;

    // The delay in seconds that `KAVO_PORTAL_HOLD_BACK` names; 0 (no delay) when it is
    // unset or not a positive number.
    static double delayFromEnvironment();

    explicit HoldBack(double seconds);
    // Drops what still waits; a step under way ends first.
    ~HoldBack();
    HoldBack(const HoldBack&) = delete;
    HoldBack& operator=(const HoldBack&) = delete;

    // Runs `step` on the thread once the delay is over; nothing after stop() (false then).
    bool add(Step step);
    // Drops what waits and ends the thread (after a step under way; from the thread itself
    // it does not wait).
    void stop();

private:
    using Clock = std::chrono::steady_clock;
    struct Held {
        Clock::time_point due;
        Step step;
    };
    void run();

    const Clock::duration delay_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Held> queue_; // in order of `due`: every step waits the same delay
    bool stopped_ = false;
    std::thread thread_;
};

} // namespace portalserver
