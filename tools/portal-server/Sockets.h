#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace portalserver {

// An owned file descriptor, closed when the object goes.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd = -1);

private:
    int fd_ = -1;
};

// An eventfd that a server thread polls beside its sockets, so that stopping the
// server wakes it at once.
class StopSignal {
public:
    StopSignal();
    void raise();
    int fd() const { return fd_.get(); }

private:
    Fd fd_;
};

// A listening TCP socket on 127.0.0.1: on `port` when it is not 0, else on a free
// port chosen by the system, which is written back to `port`.
Fd listenOnLoopback(uint16_t& port, int backlog = 16);
// A blocking connection to 127.0.0.1:port, or an invalid Fd.
Fd connectToLoopback(uint16_t port);

enum class WaitResult { Ready, TimedOut, Stopped };
// Waits until `fd` is readable (or hung up), `stop` is raised, or `timeout` seconds
// pass (a negative time-out waits without limit).
WaitResult waitReadable(int fd, const StopSignal& stop, double timeout);

bool sendAll(int fd, const uint8_t* bytes, size_t size);
// Reads exactly `size` bytes, waiting at most `timeout` seconds in all.
bool readExact(int fd, uint8_t* bytes, size_t size, const StopSignal& stop, double timeout);

// Makes the next close of `fd` send a reset instead of a normal end.
void setResetOnClose(int fd);

} // namespace portalserver
