#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The composer's answers, numbered as the client's handlers expect them.
enum class SmsResult { Cancelled = 0, Sent = 1, Failed = 2 };

// Text messages. This machine has no phone line, so canSendText() is false and a
// composer shown anyway finishes with Failed ("cannot send"). Tests choose the
// answer with setTestResult to walk the client's sent and cancelled roads; while
// one is chosen, canSendText() is true.
class SmsComposer {
public:
    struct Request {
        std::vector<std::string> recipients;
        std::string body;
    };

    static bool canSendText();

    // Records the request and calls `completion` on the main run loop with the
    // result (never inline).
    static void present(const std::vector<std::string>& recipients, const std::string& body,
                        std::function<void(SmsResult)> completion);

    // nullopt restores the machine's own answer (Failed).
    static void setTestResult(std::optional<SmsResult> result);
    static std::vector<Request> requests();
    static void clearRecord();
};

} // namespace platform
