#pragma once

#include "platform/ui/Geometry.h"

#include <cstdint>

namespace platform::ui {

// A process-wide change counter. Anything that changes what is drawn bumps it, so a
// renderer redraws only when the generation moved (or animations are in flight).
//
// It also gathers where the changes lie, in screen points, so a renderer that keeps its
// last frame can redraw only that part: markDirty(rect) adds an area, markDirty() says
// the whole screen may have changed.
class Display {
public:
    static void markDirty();
    static void markDirty(const Rect& screenRect);
    static uint64_t generation();

    // The changed area since the last takeDirtyArea; `whole` is true when any change had
    // no area of its own. Empties the gathered area.
    struct Area {
        bool whole = false;
        Rect rect;
    };
    static Area takeDirtyArea();
};

} // namespace platform::ui
