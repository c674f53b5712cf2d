#pragma once

#include "platform/ui/Geometry.h"

namespace platform::ui {

class View;

enum class TouchPhase { Began, Moved, Ended, Cancelled };

// One finger at one moment. Locations are kept in screen coordinates and converted
// on demand, so a touch stays valid while views move.
struct Touch {
    TouchPhase phase = TouchPhase::Began;
    Point windowLocation;         // screen coordinates
    Point previousWindowLocation; // where the previous event of this touch was
    int tapCount = 1;
    View* view = nullptr; // the view the touch began in (valid during delivery)
    double timestamp = 0; // platform::Clock time

    // The location in `view`'s coordinates (screen coordinates for nullptr).
    Point locationInView(const View* view) const;
    Point previousLocationInView(const View* view) const;
};

} // namespace platform::ui
