#include "tools/portal-stub/StubResultSent.h"

#include "platform/runtime/Log.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace portalstub {

void tellResultSent(const StubSender& sender, const std::string& table) {
    const std::string line = "portal-stub: the result of " + table + " went out whole with message " +
                             std::to_string(sender.lastSentByThisThread()) + " of the connection";
    platform::log(line);
    const char* tell = std::getenv("KAVO_STUB_TELL_RESULTS");
    if (!tell || !*tell) return;
    // One write of the whole line: the stub's other processes write to the same output.
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void pauseBeforeResultsLastMessage() {
    const char* pause = std::getenv("KAVO_STUB_RESULT_PAUSE");
    const long milliseconds = pause ? std::atol(pause) : 0;
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void sendResultsLastMessage(StubSender& sender, const kavo::Message& message, const std::string& table) {
    pauseBeforeResultsLastMessage();
    sender.send(message);
    tellResultSent(sender, table);
}

} // namespace portalstub
