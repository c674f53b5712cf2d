#pragma once

#include "net/IMessageListener.h"
#include "net/IMobileClient.h"
#include "net/Message.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace kavo {

// Raised only to a caller that connects without a listener.
class MobileClientException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one TCP connection to the chosen game server.
//
// connectToHost returns at once; a start thread resolves and connects (with a
// time-out), writes the 9-byte hello (protocol id 10 and a fresh 64-bit key made
// from the time in milliseconds), starts the writer thread, reports onConnectionOK
// and then becomes the reader thread. The writer sleeps until a message is queued;
// the reader blocks in recv. An idle connection uses no CPU.
//
// Ending a connection never waits for its threads: close shuts the socket down so
// that they leave on their own, and the socket is released by the last of them.
// A connection's threads never report anything or take from the queue once it has
// been closed, so a new connection right after a close hears only its own events.
class MobileClient : public IMobileClient {
public:
    // connectStatus values.
    static constexpr int kStatusNeverConnected = 0;
    static constexpr int kStatusConnecting = -1; // also: failed
    static constexpr int kStatusConnected = 1;
    static constexpr int kStatusDisconnected = 2;       // disconnect
    static constexpr int kStatusManualDisconnected = 3; // manualDisconnect
    static constexpr int kProtocolId = 10;
    static constexpr double kDefaultConnectTimeout = 10.0;

    // The process-wide client, made on first use and never released.
    static MobileClient& getInstance();

    MobileClient();
    explicit MobileClient(IMessageListener* listener);
    // Ends any connection silently (no callback) and waits a short while for its
    // threads to leave, so that none calls a listener that goes away with it.
    ~MobileClient() override;
    MobileClient(const MobileClient&) = delete;
    MobileClient& operator=(const MobileClient&) = delete;

    // IMobileClient
    bool isConnected() const override;
    void setHandler(IMessageListener* listener) override;
    // Starts a connection and returns true at once (true also, doing nothing, while
    // a connection is open or being opened). Returns false only when the attempt
    // could not be started. Throws MobileClientException without a listener.
    bool connectToHost(const std::string& host, uint16_t port) override;
    void sendMessage(Message message) override;
    // Ends the connection. The listener hears, on this thread: onConnectionFail when
    // the status is connecting/failed or never connected, onDisconnected when it is
    // connected or disconnected, nothing after manualDisconnect. Without a
    // connection, nothing. Queued messages wait for the next connection.
    void close() override;

    // At process exit: forgets the listener, ends any connection silently and waits
    // (at most `timeoutSeconds`) until the connection's threads have left, so none
    // touches an object that static destruction takes away.
    void shutDown(double timeoutSeconds);
    // Whether no thread of any connection runs: one that was ended may still be inside a
    // listener's call (parsing a reply it read before the end) until it leaves.
    bool threadsGone() const;

    // Status 2, then close: the listener hears onDisconnected.
    void disconnect();
    // Status 3, then close: the listener hears nothing.
    void manualDisconnect();

    IMessageListener* delegate() const;
    int connectStatus() const;
    // 0 until the first hello, then 10.
    int protocolId() const;
    // Replaces the cipher of the connection with one made from `key`.
    void setKey(int64_t key);
    // The key sent in the last hello (0 before the first).
    int64_t connectionKey() const;

    // How long a connection attempt (resolve and TCP connect) may take before it is
    // reported as failed. 10 s unless changed.
    void setConnectTimeout(double seconds);

    // Messages waiting to be sent.
    size_t queuedMessageCount() const;
    // Drops the messages waiting to be sent: what one test sent after its connection ended
    // must not open the next test's connection (tests of the one client a process has).
    void forgetQueuedMessages();

    struct State;
    struct Connection;

private:
    std::shared_ptr<State> state_;
};

} // namespace kavo
