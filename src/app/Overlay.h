#pragma once

#include "app/EscapeTarget.h"

namespace platform::ui {
class View;
class ViewController;
} // namespace platform::ui

namespace kavo {

class ReturnTarget;

// What lies over the top screen, the one notion Escape and Return share. An overlay is what
// closes on Escape (an EscapeTarget: the view itself, or the controller whose view it is;
// the screen itself is none). Walking the screen's views front to back (walkFrontToBack),
// the first overlay that is open is the overlay in front: Escape closes it (EscapeWalk),
// Return presses its default button or stops at it (ReturnWalk), and what lies under it
// hears neither key. Main thread only.

// The overlay `view` stands for, open or not; nullptr when it is none.
EscapeTarget* overlayOf(platform::ui::View& view, const platform::ui::ViewController& screen);

// The form `view` stands for: itself, or the controller whose view it is.
ReturnTarget* formOf(platform::ui::View& view);

} // namespace kavo
