#include "tests/support/FaultProxy.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

namespace kavo::test {

FaultProxy::FaultProxy(uint16_t upstreamPort) : upstreamPort_(upstreamPort) {
    listener_ = listenOnLoopback(port_);
    thread_ = std::thread([this] { acceptLoop(); });
}

FaultProxy::~FaultProxy() {
    stop_.raise();
    thread_.join();
}

void FaultProxy::resetNow() {
    resetSignal_.raise();
}

bool FaultProxy::waitForConnections(int count, double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::duration<double>(timeout), [&] { return connections_ >= count; });
}

bool FaultProxy::waitForConnectionsEnded(int count, double timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::duration<double>(timeout), [&] { return ended_ >= count; });
}

void FaultProxy::acceptLoop() {
    for (;;) {
        if (waitReadable(listener_.get(), stop_, -1) != WaitResult::Ready) return;
        Fd client(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!client.valid()) continue;
        Fd upstream = connectToLoopback(upstreamPort_);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++connections_;
            toClient_ = 0;
        }
        changed_.notify_all();
        if (upstream.valid()) pump(std::move(client), std::move(upstream));
        // Both sockets are closed by now (a reset's RST went with the close).
        client = Fd();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++ended_;
        }
        changed_.notify_all();
    }
}

bool FaultProxy::forward(int to, const uint8_t* bytes, size_t size, bool towardClient, int clientFd) {
    for (size_t i = 0; i < size;) {
        size_t piece = split_ ? 1 : size - i;
        if (towardClient) {
            // Stop exactly at the byte limit of a close or a reset.
            long long limit = closeAfter_ >= 0 ? closeAfter_.load() : resetAfter_.load();
            if (limit >= 0) {
                long long room = limit - static_cast<long long>(toClient_);
                if (room <= 0) {
                    if (closeAfter_ < 0) setResetOnClose(clientFd);
                    return false;
                }
                piece = std::min(piece, static_cast<size_t>(room));
            }
        }
        if (!sendAll(to, bytes + i, piece)) return false;
        i += piece;
        if (towardClient) toClient_ += piece;
        if (split_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (towardClient) {
        long long limit = closeAfter_ >= 0 ? closeAfter_.load() : resetAfter_.load();
        if (limit >= 0 && static_cast<long long>(toClient_) >= limit) {
            if (closeAfter_ < 0) setResetOnClose(clientFd);
            return false;
        }
    }
    return true;
}

void FaultProxy::pump(Fd client, Fd upstream) {
    uint8_t buffer[4096];
    for (;;) {
        pollfd fds[4] = {{client.get(), POLLIN, 0},
                         {upstream.get(), POLLIN, 0},
                         {stop_.fd(), POLLIN, 0},
                         {resetSignal_.fd(), POLLIN, 0}};
        int ready = ::poll(fds, 4, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || fds[2].revents) return;
        if (fds[3].revents) {
            eventfd_t drained;
            eventfd_read(resetSignal_.fd(), &drained);
            setResetOnClose(client.get());
            return;
        }
        if (fds[0].revents) {
            ssize_t n = ::recv(client.get(), buffer, sizeof buffer, 0);
            if (n <= 0 || !forward(upstream.get(), buffer, static_cast<size_t>(n), false, client.get())) return;
        }
        if (fds[1].revents) {
            ssize_t n = ::recv(upstream.get(), buffer, sizeof buffer, 0);
            if (n <= 0 || !forward(client.get(), buffer, static_cast<size_t>(n), true, client.get())) return;
        }
    }
}

} // namespace kavo::test
