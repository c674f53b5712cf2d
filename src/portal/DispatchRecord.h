#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace kavo {

// The command ids the reply dispatcher has handed on, in arrival order, for a test that
// must know which replies of the connection the screen held when it looked (a picture of
// a result taken before the result's last reply had reached the screen).
//
// Off unless a test starts it. The dispatcher notes each message on the reader thread
// after handling it, and the note runs on the main thread as the message's last twin:
// behind every closure its handler posted, so a message counts once what it shows is
// shown. A new connection starts the record afresh, ahead of its first message.
//
// start, stop and commands on the main thread; connected and dispatched on the
// connection's threads.
class DispatchRecord {
public:
    static DispatchRecord& shared();

    // Records from now on, beginning empty.
    void start();
    // Records nothing more and forgets what it held.
    void stop();
    // The command ids dispatched on the current connection whose twins have run, in order.
    const std::vector<int16_t>& commands() const { return commands_; }

    // A connection opened: its record begins empty (posted ahead of its first message).
    void connected();
    // A message of `commandId` was handled; its note follows its twins.
    void dispatched(int16_t commandId);

private:
    DispatchRecord() = default;

    std::atomic<bool> recording_{false};
    std::vector<int16_t> commands_; // the main thread's
};

} // namespace kavo
