#include "app/widgets/CustomLabel.h"

#include "app/Util.h"
#include "platform/ui/Image.h"

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

void CustomLabel::draw(GraphicsContext& context) {
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

} // namespace kavo
