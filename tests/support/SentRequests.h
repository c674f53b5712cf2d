#pragma once

#include "tests/support/Bytes.h"
#include "tests/support/RecordingSession.h"

#include <string>

namespace kavo::test {

// A session that gives what the services sent as "command:hex" texts, so a request test
// compares the bytes of a whole exchange in one line.
class SentRequests : public RecordingSession {
public:
    // What was sent since the last call, in order, separated by spaces.
    std::string take() {
        std::string text;
        for (const auto& message : sent())
            text += (text.empty() ? "" : " ") + std::to_string(message.commandId) + ":" + toHex(message.body);
        clear();
        return text;
    }
};

} // namespace kavo::test
