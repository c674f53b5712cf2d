#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/GraphicsContext.h"

#include <string>

namespace platform::ui {

// Small drawing steps the controls share (placeholder looks drawn without pictures).
void fillRoundedRect(GraphicsContext& context, const Rect& rect, double radius, Color color);
void strokeRoundedRect(GraphicsContext& context, const Rect& rect, double radius, Color color, double lineWidth = 1);
void fillCircle(GraphicsContext& context, Point center, double radius, Color color);
void strokeCircle(GraphicsContext& context, Point center, double radius, Color color, double lineWidth = 1);
// A labelled box: rounded rectangle, border, title centred.
void drawLabelledBox(GraphicsContext& context, const Rect& rect, Color fill, Color border, const std::string& title,
                     const Font& font, Color titleColor);

} // namespace platform::ui
