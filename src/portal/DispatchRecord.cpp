#include "portal/DispatchRecord.h"

#include "platform/runtime/RunLoop.h"

namespace kavo {

DispatchRecord& DispatchRecord::shared() {
    static DispatchRecord record;
    return record;
}

void DispatchRecord::start() {
    commands_.clear();
    recording_ = true;
}

void DispatchRecord::stop() {
    recording_ = false;
    commands_.clear();
}

void DispatchRecord::connected() {
    if (!recording_) return;
    platform::runOnMainThread([this] {
        if (recording_) commands_.clear();
    });
}

void DispatchRecord::arrived(int16_t commandId) {
    if (!recording_) return;
    platform::runOnMainThread([this, commandId] {
        if (recording_) commands_.push_back(commandId);
    });
}

} // namespace kavo
