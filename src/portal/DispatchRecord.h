#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace kavo {

// The command ids of the messages that reached the main thread through the reply
// dispatcher, in arrival order, for a test that must know which messages of the
// connection had come when the screen was looked at (a picture of a result taken before
// the result's last message came).
//
// Off unless a test starts it. The dispatcher notes each message on the reader thread
// before handing it to its handler, and the note runs on the main thread ahead of every
// twin the handler posts: whatever a message shows, its note has run by the time it
// shows, and a message whose note had not run when the screen was looked at came later.
// A new connection starts the record afresh, ahead of its first message.
//
// start, stop and commands on the main thread; connected and arrived on the
// connection's threads.
class DispatchRecord {
public:
    static DispatchRecord& shared();

    // Records from now on, beginning empty.
    void start();
    // Records nothing more and forgets what it held.
    void stop();
    // The command ids of the current connection's messages whose notes have run, in order.
    const std::vector<int16_t>& commands() const { return commands_; }

    // A connection opened: its record begins empty (posted ahead of its first message).
    void connected();
    // A message of `commandId` came; its note goes ahead of its handler's twins.
    void arrived(int16_t commandId);

private:
    DispatchRecord() = default;

    std::atomic<bool> recording_{false};
    std::vector<int16_t> commands_; // the main thread's
};

} // namespace kavo
