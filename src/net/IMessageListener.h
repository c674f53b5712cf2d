#pragma once

namespace kavo {

class Message;

// What the socket client reports to its one listener. Every operation has an
// empty default, so a listener answers only what it cares about.
//
// Threads: onConnectionOK runs on the connection's start thread, onMessage on its
// reader thread, onConnectionFail and onDisconnected on whichever thread ended the
// connection. Each connection ends with exactly one of onConnectionFail or
// onDisconnected, or with nothing after a manual disconnect.
class IMessageListener {
public:
    virtual ~IMessageListener() = default;

    virtual void onConnectionOK() {}
    // The attempt failed, or the server or the network ended the connection.
    virtual void onConnectionFail() {}
    // The program ended a live connection (disconnect or close).
    virtual void onDisconnected() {}
    // One received message; the listener may read it (it moves the cursor).
    virtual void onMessage(Message& message) { (void)message; }
    // Never sent by the client; kept so listeners can share one shape.
    virtual void didWriteDataWithTag() {}
};

} // namespace kavo
