#include "tests/support/NeverAcceptingListener.h"

#include "tests/support/StateWaits.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

namespace kavo::test {

NeverAcceptingListener::NeverAcceptingListener() {
    listener_ = listenOnLoopback(port_, 0);
    if (!listener_.valid()) return;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port_);
    // Connect until one connection no longer completes: from then on the kernel
    // drops new handshakes for this port.
    for (int i = 0; i < 16; ++i) {
        Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (!fd.valid()) return;
        int rc = ::connect(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        if (rc != 0 && errno != EINPROGRESS) return;
        bool completed = rc == 0;
        if (!completed) {
            // A handshake the kernel still takes completes within 0.2 s (on loopback at
            // once); one that does not is taken as dropped.
            completed = !nothingComesWithin(0.2, [&] {
                pollfd p{fd.get(), POLLOUT, 0};
                return ::poll(&p, 1, 0) > 0;
            });
        }
        fillers_.push_back(std::move(fd));
        if (!completed) {
            ready_ = true;
            return;
        }
    }
}

} // namespace kavo::test
