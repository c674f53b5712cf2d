#include "platform/services/SmsComposer.h"

#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

#include <mutex>

namespace platform {

namespace {

struct State {
    std::mutex mutex;
    std::optional<SmsResult> testResult;
    std::vector<SmsComposer::Request> requests;
};

State& state() {
    static auto* s = new State();
    return *s;
}

} // namespace

bool SmsComposer::canSendText() {
    // A test that chose an answer stands in for a phone line.
    std::lock_guard<std::mutex> lock(state().mutex);
    return state().testResult.has_value();
}

void SmsComposer::present(const std::vector<std::string>& recipients, const std::string& body,
                          std::function<void(SmsResult)> completion) {
    SmsResult result = SmsResult::Failed;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        state().requests.push_back(Request{recipients, body});
        if (state().testResult) result = *state().testResult;
    }
    if (result == SmsResult::Failed) log("SmsComposer: cannot send a text message from this machine");
    if (!completion) return;
    runOnMainThread([completion = std::move(completion), result] { completion(result); });
}

void SmsComposer::setTestResult(std::optional<SmsResult> result) {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().testResult = result;
}

std::vector<SmsComposer::Request> SmsComposer::requests() {
    std::lock_guard<std::mutex> lock(state().mutex);
    return state().requests;
}

void SmsComposer::clearRecord() {
    std::lock_guard<std::mutex> lock(state().mutex);
    state().requests.clear();
}

} // namespace platform
