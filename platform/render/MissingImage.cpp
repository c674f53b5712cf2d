#include "platform/render/MissingImage.h"

namespace platform::render {

void drawMissingImage(ui::GraphicsContext& context, const ui::Rect& rect) {
    if (rect.isEmpty()) return;
    context.save();
    context.setFillColor(ui::Color::white(0.85));
    context.fillRect(rect);
    context.setStrokeColor(ui::Color::white(0.55));
    context.setLineWidth(1);
    const ui::Rect edge = rect.insetBy(0.5, 0.5);
    context.strokeRect(edge);
    context.drawLine(edge.origin, {edge.maxX(), edge.maxY()});
    context.drawLine({edge.maxX(), edge.minY()}, {edge.minX(), edge.maxY()});
    context.restore();
}

} // namespace platform::render
