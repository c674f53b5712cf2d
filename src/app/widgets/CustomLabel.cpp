#include "app/widgets/CustomLabel.h"

#include "app/Util.h"
#include "platform/ui/Image.h"

#include <algorithm>
#include <cmath>

namespace kavo {

using platform::ui::Color;
using platform::ui::Font;
using platform::ui::GraphicsContext;
using platform::ui::Point;
using platform::ui::Rect;

CustomLabel::CustomLabel(Rect frame) : Label(frame), xDictEmotions_(EmoticonText::currentTable()) {
    setBackgroundColor(Color::clear());
    setOpaque(false);
}

CustomLabel::CustomLabel(const std::string& text, Rect frame) : CustomLabel(frame) {
    setText(text);
}

std::shared_ptr<CustomLabel> CustomLabel::make(Rect frame) {
    return std::make_shared<CustomLabel>(frame);
}

std::shared_ptr<CustomLabel> CustomLabel::make(const std::string& text, Rect frame) {
    return std::make_shared<CustomLabel>(text, frame);
}

void CustomLabel::setText(const std::string& text) {
    numOfEmos_ = EmoticonText::countCodes(text, xDictEmotions_);
    Label::setText(text); // stores the text and asks for a redraw
}

Color CustomLabel::drawingColor() const {
    const Color color = textColor();
    if (color == Color::black()) return Color::black();
    if (color == Color::white()) return Color::white();
    if (color == Color::green()) return Color::green();
    return Color::white(0.8);
}

double CustomLabel::drawnWidth(const std::string& line, const Font& font, const EmoticonTable& table) {
    double width = 0;
    EmoticonText::split(
        line, table, [&](const std::string& plain) { width += font.measure(plain).width; },
        [&](const std::string& code, const std::string&) { width += font.measure(code).width + kPictureExtra; });
    return width;
}

std::vector<std::string> CustomLabel::wrapLines(const std::string& text, const Font& font, const EmoticonTable& table,
                                                double width) {
    return Font::wrap(text, width, [&](const std::string& piece) { return drawnWidth(piece, font, table); });
}

std::vector<std::string> CustomLabel::displayLines() const {
    if (!wraps()) return Label::displayLines();
    if (text().empty()) return {};
    return wrapLines(text(), font(), xDictEmotions_, bounds().width() > 0 ? bounds().width() : 1e9);
}

platform::ui::Size CustomLabel::sizeThatFits(platform::ui::Size size) const {
    if (!wraps()) return Label::sizeThatFits(size);
    if (text().empty()) return {0, 0};
    const auto lines = wrapLines(text(), font(), xDictEmotions_, size.width > 0 ? size.width : 1e9);
    double widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, drawnWidth(line, font(), xDictEmotions_));
    return {std::ceil(widest), std::ceil(font().lineHeight() * double(lines.size()))};
}

void CustomLabel::draw(GraphicsContext& context) {
    if (wraps()) {
        drawWrapped(context);
        return;
    }
    // The renderer draws every view into one shared target, so the label does not
    // clear its rectangle first: that would punch a hole through the bubble behind it.
    const double lineHeight = std::trunc(Font::system(14).measure("a").height);
    xLastpos_ = Point{0, std::trunc((frame().size.height - lineHeight) * 0.5 + 4)};
    drawText(context, text());
}

void CustomLabel::drawText(GraphicsContext& context, const std::string& text) {
    const Color color = drawingColor();
    const double frameHeight = frame().size.height;
    EmoticonText::split(
        text, xDictEmotions_,
        [&](const std::string& plain) {
            context.drawTextAt(plain, xLastpos_, font(), color);
            xLastpos_.x += font().measure(plain).width;
        },
        [&](const std::string&, const std::string& imageName) {
            // A missing picture draws nothing; the pen moves on all the same.
            if (auto image = platform::ui::Image::named(imageName))
                context.drawImage(
                    image, Rect{xLastpos_.x, xLastpos_.y - 4, double(image->width()) - 6, double(image->height()) - 6});
            xLastpos_.x += frameHeight - 3 * Util::iPad();
        });
}

void CustomLabel::drawWrapped(GraphicsContext& context) {
    const std::vector<std::string> lines = displayLines();
    const Color color = drawingColor();
    const Font& lineFont = font();
    const double lineHeight = lineFont.lineHeight();
    const Rect b = bounds();
    const double top = b.minY() + (b.height() - lineHeight * double(lines.size())) / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        const double width = drawnWidth(lines[i], lineFont, xDictEmotions_);
        double x = b.minX();
        if (textAlignment() == platform::ui::TextAlignment::Center) x = b.midX() - width / 2;
        if (textAlignment() == platform::ui::TextAlignment::Right) x = b.maxX() - width;
        Point pen{x, top + lineHeight * double(i)};
        EmoticonText::split(
            lines[i], xDictEmotions_,
            [&](const std::string& plain) {
                context.drawTextAt(plain, pen, lineFont, color);
                pen.x += lineFont.measure(plain).width;
            },
            [&](const std::string& code, const std::string& imageName) {
                // The picture stands in its code's place, no taller than the line.
                const double place = lineFont.measure(code).width + kPictureExtra;
                if (auto image = platform::ui::Image::named(imageName)) {
                    const double side = std::min({double(image->width()) - 6, lineHeight, place});
                    context.drawImage(image,
                                      Rect{pen.x + (place - side) / 2, pen.y + (lineHeight - side) / 2, side, side});
                }
                pen.x += place;
            });
    }
}

} // namespace kavo
