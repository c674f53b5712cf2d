#include "platform/ui/Display.h"

#include <atomic>
#include <mutex>

namespace platform::ui {

namespace {

std::atomic<uint64_t> changes{0};

struct Gathered {
    std::mutex mutex;
    Display::Area area;
    bool any = false;
};

Gathered& gathered() {
    static Gathered g;
    return g;
}

} // namespace

void Display::markDirty() {
    {
        std::lock_guard lock(gathered().mutex);
        gathered().area.whole = true;
        gathered().any = true;
    }
    changes.fetch_add(1, std::memory_order_relaxed);
}

void Display::markDirty(const Rect& screenRect) {
    if (screenRect.isEmpty()) return;
    {
        std::lock_guard lock(gathered().mutex);
        auto& g = gathered();
        g.area.rect = g.any && !g.area.rect.isEmpty() ? g.area.rect.unionWith(screenRect) : screenRect;
        g.any = true;
    }
    changes.fetch_add(1, std::memory_order_relaxed);
}

uint64_t Display::generation() {
    return changes.load(std::memory_order_relaxed);
}

Display::Area Display::takeDirtyArea() {
    std::lock_guard lock(gathered().mutex);
    Area taken = gathered().area;
    gathered().area = {};
    gathered().any = false;
    return taken;
}

} // namespace platform::ui
