#include "platform/ui/Display.h"

#include <atomic>

namespace platform::ui {

namespace {
std::atomic<uint64_t> changes{0};
}

void Display::markDirty() {
    changes.fetch_add(1, std::memory_order_relaxed);
}

uint64_t Display::generation() {
    return changes.load(std::memory_order_relaxed);
}

} // namespace platform::ui
