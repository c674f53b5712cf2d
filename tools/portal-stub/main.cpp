// portal-stub: a small local portal for trying the client by hand. It serves the
// server list and two small pages over HTTP and runs a game server that accepts any
// user (except "banned") and answers the sign-in and lobby road. Runs until stopped.
//
//   portal-stub [--port PORT] [--http-port PORT] [--lottery-period SECONDS]
//
// The ports default to 12346 and 12347; the lottery draws every ten minutes unless
// told, and its result goes only to a player who bet in that draw.
#include "platform/runtime/Log.h"
#include "tests/support/Sockets.h"
#include "tools/portal-stub/StubGraph.h"
#include "tools/portal-stub/StubHttp.h"
#include "tools/portal-stub/StubImages.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubSocialNet.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::atomic<bool> stopRequested{false};
void onSignal(int) {
    stopRequested = true;
}

int usage() {
    std::fprintf(stderr, "usage: portal-stub [--port PORT] [--http-port PORT] [--lottery-period SECONDS]\n");
    return 2;
}

// A whole number from 1 to 65535 (a port, or seconds).
bool readNumber(const char* text, uint16_t& number) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!end || *end != '\0' || value <= 0 || value > 65535) return false;
    number = uint16_t(value);
    return true;
}

bool portTaken(uint16_t port) {
    return kavo::test::connectToLoopback(port).valid();
}

const char* kEventPage = "<html><head><meta charset=\"utf-8\"><title>Kavo</title></head><body>"
                         "<h1>Sự kiện / Events</h1><p>Chưa có sự kiện nào. No events yet.</p></body></html>\n";
const char* kGuidePage = "<html><head><meta charset=\"utf-8\"><title>Kavo</title></head><body>"
                         "<h1>Hướng dẫn / Guide</h1><p>Chọn trò chơi, chọn bàn và bắt đầu chơi. "
                         "Pick a game, pick a board and play.</p></body></html>\n";
// The configured "PaymentUrl": the price list of the in-app store, one product per entry.
const char* kPaymentList = "id=gold1&messenge=100.000 Gold;id=gold2&messenge=250.000 Gold";

} // namespace

int main(int argc, char** argv) {
    uint16_t port = 12346;
    uint16_t httpPort = 12347;
    uint16_t lotterySeconds = portalstub::StubAccount::kDrawSeconds;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--port") == 0 && hasValue) {
            if (!readNumber(argv[++i], port)) return usage();
        } else if (std::strcmp(argv[i], "--http-port") == 0 && hasValue) {
            if (!readNumber(argv[++i], httpPort)) return usage();
        } else if (std::strcmp(argv[i], "--lottery-period") == 0 && hasValue) {
            if (!readNumber(argv[++i], lotterySeconds)) return usage();
        } else {
            return usage();
        }
    }
    for (uint16_t wanted : {port, httpPort}) {
        if (portTaken(wanted)) {
            std::fprintf(stderr, "portal-stub: port %u on 127.0.0.1 is taken\n", unsigned(wanted));
            return 1;
        }
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    const std::string serverList = "Kavo Local|127.0.0.1:" + std::to_string(port);
    auto pages = portalstub::stubImagePages();
    pages.insert({{"/servers.txt", serverList},
                  {"/event.html", kEventPage},
                  {"/guide.html", kGuidePage},
                  {"/payment.txt", kPaymentList}});
    portalstub::StubHttp http(httpPort, pages);
    if (!http.valid()) {
        std::fprintf(stderr, "portal-stub: cannot listen on 127.0.0.1:%u\n", unsigned(httpPort));
        return 1;
    }
    portalstub::StubPortal portal(port, serverList, lotterySeconds);
    portalstub::StubSocialNet socialNet;
    socialNet.install(http, portal.portal());
    portalstub::installStubImages(http);
    portalstub::installStubGraph(http);

    std::printf("portal-stub: game server on 127.0.0.1:%u, server list on http://127.0.0.1:%u/servers.txt\n",
                unsigned(portal.port()), unsigned(http.port()));
    std::fflush(stdout);
    while (!stopRequested)
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    platform::log("portal-stub: stopping");
    return 0;
}
