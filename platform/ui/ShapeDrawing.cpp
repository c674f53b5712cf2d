#include "platform/ui/ShapeDrawing.h"

#include "platform/ui/Path.h"

#include <algorithm>

namespace platform::ui {

void fillRoundedRect(GraphicsContext& context, const Rect& rect, double radius, Color color) {
    if (color.isClear() || rect.isEmpty()) return;
    Path path;
    path.addRoundedRect(rect, radius);
    context.setFillColor(color);
    context.fillPath(path);
}

void strokeRoundedRect(GraphicsContext& context, const Rect& rect, double radius, Color color, double lineWidth) {
    if (color.isClear() || rect.isEmpty() || lineWidth <= 0) return;
    // Stroke inside the rectangle so the border is not cut by the view's clip.
    Rect inner = rect.insetBy(lineWidth / 2, lineWidth / 2);
    Path path;
    path.addRoundedRect(inner, radius > lineWidth / 2 ? radius - lineWidth / 2 : 0);
    context.setStrokeColor(color);
    context.setLineWidth(lineWidth);
    context.strokePath(path);
}

void fillCircle(GraphicsContext& context, Point center, double radius, Color color) {
    if (color.isClear() || radius <= 0) return;
    Path path;
    path.addEllipse({center.x - radius, center.y - radius, radius * 2, radius * 2});
    context.setFillColor(color);
    context.fillPath(path);
}

void strokeCircle(GraphicsContext& context, Point center, double radius, Color color, double lineWidth) {
    if (color.isClear() || radius <= 0) return;
    Path path;
    path.addEllipse({center.x - radius, center.y - radius, radius * 2, radius * 2});
    context.setStrokeColor(color);
    context.setLineWidth(lineWidth);
    context.strokePath(path);
}

void drawLabelledBox(GraphicsContext& context, const Rect& rect, Color fill, Color border, const std::string& title,
                     const Font& font, Color titleColor) {
    double radius = std::min(8.0, rect.height() / 4);
    fillRoundedRect(context, rect, radius, fill);
    strokeRoundedRect(context, rect, radius, border, 1);
    if (!title.empty()) context.drawText(title, rect.insetBy(4, 0), font, titleColor, TextAlignment::Center, 1);
}

} // namespace platform::ui
