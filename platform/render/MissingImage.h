#pragma once

#include "platform/ui/GraphicsContext.h"

namespace platform::render {

// What stands in for an image that is not there: a light grey box with a darker outline
// and a diagonal cross, so a missing picture is seen on screen rather than leaving a hole.
void drawMissingImage(ui::GraphicsContext& context, const ui::Rect& rect);

} // namespace platform::render
