#pragma once

#include "tests/support/Sockets.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

namespace kavo::test {

// A TCP proxy on 127.0.0.1 between the client and a server (the TestPortal),
// taking one connection at a time, that damages the stream on request: it can
// pass the bytes on one at a time, end the connection after a number of bytes
// toward the client, or reset the client's connection.
class FaultProxy {
public:
    explicit FaultProxy(uint16_t upstreamPort);
    ~FaultProxy();
    FaultProxy(const FaultProxy&) = delete;
    FaultProxy& operator=(const FaultProxy&) = delete;

    uint16_t port() const { return port_; }

    // Both directions go in single-byte writes, a millisecond apart.
    void splitIntoSingleBytes(bool on = true) { split_ = on; }
    // After `count` bytes have gone to the client, end both sides normally.
    void closeAfterBytes(size_t count) { closeAfter_ = static_cast<long long>(count); }
    // After `count` bytes have gone to the client, reset the client's connection.
    void resetAfterBytes(size_t count) { resetAfter_ = static_cast<long long>(count); }
    // Resets the client's connection now (SO_LINGER 0, then close).
    void resetNow();

    int connectionCount() const { return connections_; }
    size_t bytesToClient() const { return toClient_; }
    [[nodiscard]] bool waitForConnections(int count, double timeout);
    // Waits until `count` connections have ended here (both sockets closed, a reset's
    // RST sent): what the client meets next is the end, not a connection still up.
    [[nodiscard]] bool waitForConnectionsEnded(int count, double timeout);

private:
    void acceptLoop();
    void pump(Fd client, Fd upstream);
    // Forwards `size` bytes to `to`; false when the connection must end.
    bool forward(int to, const uint8_t* bytes, size_t size, bool towardClient, int clientFd);

    uint16_t upstreamPort_;
    uint16_t port_ = 0;
    Fd listener_;
    StopSignal stop_;
    StopSignal resetSignal_;
    std::atomic<bool> split_{false};
    std::atomic<long long> closeAfter_{-1};
    std::atomic<long long> resetAfter_{-1};
    std::atomic<int> connections_{0};
    int ended_ = 0; // mutex_
    std::atomic<size_t> toClient_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
};

} // namespace kavo::test
