// test-portal: runs the tests' portal server on 127.0.0.1 until it is stopped.
// It answers the client information (222) with "connection accepted" (220, status 1)
// and echoes every other message back. It prints its port on the first line.
//
//   test-portal [PORT]
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/support/TestPortal.h"

namespace {
std::atomic<bool> stopRequested{false};
void onSignal(int) { stopRequested = true; }
} // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && std::atoi(argv[1]) <= 0)) {
        std::fprintf(stderr, "usage: test-portal [PORT]\n");
        return 2;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    kavo::test::TestPortal portal(argc == 2 ? uint16_t(std::atoi(argv[1])) : uint16_t(0));
    portal.onCommand(222, [](kavo::Message&, kavo::test::TestPortal::Reply& reply) {
        kavo::Message accepted(220);
        accepted.writeByte(1);
        reply.send(accepted);
    });
    portal.onAnyCommand([](kavo::Message& request, kavo::test::TestPortal::Reply& reply) { reply.send(request); });

    std::printf("%u\n", unsigned(portal.port()));
    std::fflush(stdout);
    while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return 0;
}
