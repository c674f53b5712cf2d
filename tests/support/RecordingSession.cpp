#include "tests/support/RecordingSession.h"

namespace kavo::test {

void RecordingSession::sendMessage(Message message) {
    std::lock_guard lock(mutex_);
    sent_.push_back({message.commandId(), message.data()});
}

std::vector<RecordedMessage> RecordingSession::sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

std::vector<RecordedMessage> RecordingSession::sent(int16_t commandId) const {
    std::vector<RecordedMessage> found;
    for (const auto& message : sent()) {
        if (message.commandId == commandId) found.push_back(message);
    }
    return found;
}

RecordedMessage RecordingSession::last() const {
    std::lock_guard lock(mutex_);
    if (sent_.empty()) return {INT16_MIN, {}};
    return sent_.back();
}

std::vector<int16_t> RecordingSession::commands() const {
    std::vector<int16_t> ids;
    for (const auto& message : sent())
        ids.push_back(message.commandId);
    return ids;
}

void RecordingSession::clear() {
    std::lock_guard lock(mutex_);
    sent_.clear();
}

} // namespace kavo::test
