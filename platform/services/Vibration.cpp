#include "platform/services/Vibration.h"

#include "platform/runtime/Log.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<int> vibrations{0};
}

void Vibration::vibrate() {
    ++vibrations;
    log("Vibration: buzz");
}

int Vibration::count() {
    return vibrations.load();
}

void Vibration::clearRecord() {
    vibrations = 0;
}

} // namespace platform
