#pragma once

#include <cstdint>

namespace platform::ui {

// A process-wide change counter. Anything that changes what is drawn bumps it, so a
// renderer redraws only when the generation moved (or animations are in flight).
class Display {
public:
    static void markDirty();
    static uint64_t generation();
};

} // namespace platform::ui
