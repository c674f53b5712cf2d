#pragma once

#include "platform/ui/Geometry.h"

namespace platform::ui {

// Where the view animations in flight move, in screen points: for each animating view the
// rectangle from where it starts to where it ends (the whole path of a move), so a renderer
// that redraws only that area every frame shows every in-between position. False when some
// animation cannot be bounded that way (layer animations, transitions, transforms): the
// whole screen must be drawn.
bool animatingScreenArea(Rect& area);

} // namespace platform::ui
