#pragma once

#include "platform/services/SmsComposer.h"

#include <functional>
#include <string>

namespace kavo {

// Reacts when the text-message composer closes: tells the player how it went and
// reports sent messages other than a registration's or a request's to the server. A
// registration message not sent leaves the log-in form's remembered account as it was: the
// registration never took its place.
class SMSDelegate {
public:
    // What the message was for.
    static constexpr int kModeRequest = 0;      // a request (password, top-up syntax...)
    static constexpr int kModeRegistration = 1; // a registration message
    // Any other mode: a message whose sending is reported to the server.

    explicit SMSDelegate(int mode = kModeRequest) : mode_(mode) {}

    int mode() const { return mode_; }
    void setMode(int mode) { mode_ = mode; }

    // The composer finished with `result` for a message of `body` to `recipient`.
    void messageComposeDidFinish(platform::SmsResult result, const std::string& body,
                                 const std::string& recipient) const;

    // The language key of the text the player is shown for a result in a mode.
    static const char* resultTextKey(platform::SmsResult result, int mode);

    // The request builders live above this library: they install the report of a
    // sent message (command "SMS sent") here at start-up.
    static void setSentReporter(std::function<void(const std::string& body, const std::string& recipient)> reporter);

private:
    int mode_;
};

} // namespace kavo
