#pragma once

// Waiting for the client's reader thread rather than for a while: a reply no handler
// knows, sent after the others, is logged by the reader only once it is done with every
// reply before it.
#include "net/Message.h"
#include "platform/runtime/Log.h"
#include "tests/support/MarkerCommand.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

namespace kavo::test {

// Waits until the client's reader has handed every reply the portal sent before this call
// to its listener, so that their main-thread work is posted, while the main thread runs
// none of it. The log is captured meanwhile and written on as usual. False when the
// reader has not come to the marker within `timeout` seconds (a bound, not a guess).
template <class Portal> [[nodiscard]] bool readerHasRead(Portal& portal, double timeout = 30) {
    struct Seen {
        std::mutex mutex;
        std::condition_variable changed;
        bool marker = false;
    };
    auto seen = std::make_shared<Seen>();
    const std::string line = "message command " + std::to_string(kMarkerCommand);
    platform::setLogSink([seen, line](const std::string& logged) {
        platform::writeLogLine(logged);
        if (logged != line) return;
        {
            std::lock_guard lock(seen->mutex);
            seen->marker = true;
        }
        seen->changed.notify_all();
    });
    bool read = portal.sendToClient(Message(kMarkerCommand));
    if (read) {
        std::unique_lock lock(seen->mutex);
        read = seen->changed.wait_for(lock, std::chrono::duration<double>(timeout), [&] { return seen->marker; });
    }
    platform::setLogSink({});
    return read;
}

} // namespace kavo::test
