#pragma once

#include <SDL.h>
#include <vector>

namespace platform::render {

// Device-space polygons (pixels, y down) as SDL understands them.
using DevicePolygon = std::vector<SDL_FPoint>;

// Turns polygons into the horizontal one-pixel-high spans that cover them, with the
// non-zero winding rule: overlapping parts of polygons wound the same way are covered
// once, so a translucent fill never darkens where two pieces of one shape meet, and a
// polygon wound the other way cuts a hole (a ring is an outer circle and a reversed
// inner one). A pixel is covered when its centre is inside. Spans are limited to
// `limit` so a shape far outside the target costs nothing.
std::vector<SDL_Rect> scanlineSpans(const std::vector<DevicePolygon>& polygons, const SDL_Rect& limit);

// Twice the signed area: positive for polygons wound clockwise on screen (y down).
double signedArea2(const DevicePolygon& polygon);

} // namespace platform::render
