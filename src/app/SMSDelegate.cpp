#include "app/SMSDelegate.h"

#include "app/Text.h"
#include "app/UIController.h"
#include "platform/runtime/Log.h"

#include <mutex>

namespace kavo {

namespace {

struct Reporter {
    std::mutex mutex;
    std::function<void(const std::string&, const std::string&)> report;
};

Reporter& reporter() {
    static Reporter shared;
    return shared;
}

} // namespace

const char* SMSDelegate::resultTextKey(platform::SmsResult result, int mode) {
    switch (result) {
    case platform::SmsResult::Cancelled:
        return "KAVO_cancelSendMessage";
    case platform::SmsResult::Failed:
        return "KAVO_cantSendMessage";
    case platform::SmsResult::Sent:
        break;
    }
    if (mode == kModeRegistration) return "KAVO_sendMessageRegistrySuccess";
    if (mode == kModeRequest) return "KAVO_requestSendMessageSuccess";
    return "KAVO_sendMessageSuccess";
}

void SMSDelegate::messageComposeDidFinish(platform::SmsResult result, const std::string& body,
                                          const std::string& recipient) const {
    if (result == platform::SmsResult::Sent && mode_ != kModeRegistration && mode_ != kModeRequest) {
        std::function<void(const std::string&, const std::string&)> report;
        {
            std::lock_guard lock(reporter().mutex);
            report = reporter().report;
        }
        if (report)
            report(body, recipient);
        else
            platform::log("SMSDelegate: no reporter for a sent message");
    }
    UIController::postNotice(text(resultTextKey(result, mode_)));
}

void SMSDelegate::setSentReporter(std::function<void(const std::string&, const std::string&)> report) {
    std::lock_guard lock(reporter().mutex);
    reporter().report = std::move(report);
}

} // namespace kavo
