#pragma once

#include "platform/runtime/RunLoop.h"

#include <chrono>
#include <functional>
#include <thread>

// How a test waits: for a state, never for a time. A wait for a state ends when the state
// shows and is bounded by kStateWait, far above what any load makes of it, so that the bound
// catches a hang and nothing else; its answer is checked (the waits are [[nodiscard]]). The
// one fixed time a test may wait is a negative check's chance, "nothing comes within T",
// and it is spelled nothingComesWithin. The tree test FixedWaits finds any other fixed time
// in tests/ and the drive scripts, whatever its spelling, unless its list of allowed places
// names it (tests/tree/fixed-waits-allowed.txt).
namespace kavo::test {

// The bound of a wait for a state, in real seconds.
inline constexpr double kStateWait = 30;

// Looks at `state` every `pace` seconds until it holds, at most `bound` real seconds,
// without running the main loop: for a state that nobody announces (a process that ended, a
// line in a file another process writes). True when it holds. For what the main loop brings
// about, runUntil.
[[nodiscard]] inline bool lookUntil(const std::function<bool()>& state, double bound = kStateWait, double pace = 0.01) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(bound);
    while (!state()) {
        if (std::chrono::steady_clock::now() >= deadline) return state();
        // The pace of the looks, not a wait for the state: it is looked at again then.
        std::this_thread::sleep_for(std::chrono::duration<double>(pace));
    }
    return true;
}

// A negative check's chance: runs the main loop for `seconds` of real time, in which
// something that must not happen would happen, and is true when `came` never held (it ends
// at once when it does). Never before a check that something did happen: that is a wait
// for the state. A short `seconds` keeps the suite quick; a thing that comes later than it
// goes unseen, which is why nothing else may wait a fixed time.
[[nodiscard]] inline bool nothingComesWithin(double seconds, const std::function<bool()>& came) {
    return !platform::RunLoop::main().runUntil(came, seconds);
}

} // namespace kavo::test
