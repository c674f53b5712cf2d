#include "platform/ui/Label.h"

#include "platform/foundation/Text.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

namespace {
const char* const kEllipsis = "\u2026";

std::string joinLines(const std::string& text) {
    std::string out = text;
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}
} // namespace

Label::Label(Rect frame) : View(frame) {
    setUserInteractionEnabled(false);
}

std::shared_ptr<Label> Label::make(Rect frame) {
    return std::make_shared<Label>(frame);
}

std::shared_ptr<Label> Label::make(Rect frame, const std::string& text) {
    auto label = std::make_shared<Label>(frame);
    label->setText(text);
    return label;
}

void Label::changed() {
    setNeedsDisplay();
}

void Label::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    changed();
}

void Label::setFont(const Font& font) {
    font_ = font;
    changed();
}

void Label::setTextColor(Color color) {
    textColor_ = color;
    changed();
}

void Label::setHighlightedTextColor(Color color) {
    highlightedTextColor_ = color;
    changed();
}

void Label::setTextAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    changed();
}

void Label::setNumberOfLines(int lines) {
    numberOfLines_ = std::max(0, lines);
    changed();
}

void Label::setLineBreakMode(LineBreakMode mode) {
    lineBreakMode_ = mode;
    changed();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts) {
    adjustsFontSize_ = adjusts;
    changed();
}

void Label::setMinimumFontSize(double size) {
    minimumFontSize_ = size;
    changed();
}

void Label::setShadowColor(Color color) {
    shadowColor_ = color;
    changed();
}

void Label::setShadowOffset(Size offset) {
    shadowOffset_ = offset;
    changed();
}

void Label::setHighlighted(bool highlighted) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    changed();
}

void Label::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed();
}

Color Label::currentTextColor() const {
    if (!enabled_) return Color::gray();
    if (highlighted_ && !highlightedTextColor_.isClear()) return highlightedTextColor_;
    return textColor_;
}

void Label::setWrapsWhenShrunk(bool wraps) {
    wrapsWhenShrunk_ = wraps;
    changed();
}

Font Label::fittedFont() const {
    double width = bounds().width();
    if (!adjustsFontSize_ || numberOfLines_ != 1 || width <= 0 || text_.empty()) return font_;
    std::string line = joinLines(text_);
    double smallest = minimumFontSize_ > 0 ? minimumFontSize_ : 6;
    Font font = font_;
    while (font.size() > smallest && font.measure(line).width > width)
        font = font.withSize(std::max(smallest, font.size() - 1));
    if (!wrapsWhenShrunk_ || font.measure(line).width <= width) return font;
    // Wrapping breaks between words; a word wider than the label would be split inside,
    // which reads worse than a slightly smaller size, so where the label holds more than
    // one line the longest word gets a little more room (never below four fifths of the
    // minimum).
    if (bounds().height() < 2 * font.lineHeight()) return font;
    std::string longest;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string::npos) end = line.size();
        std::string word = line.substr(start, end - start);
        if (font.measure(word).width > font.measure(longest).width) longest = word;
        start = end + 1;
    }
    const double floor = smallest * 0.8;
    while (font.measure(longest).width > width && font.size() > floor)
        font = font.withSize(std::max(floor, font.size() - 0.5));
    return font;
}

std::string Label::truncate(const std::string& text, double width, const Font& font, LineBreakMode mode) {
    if (mode == LineBreakMode::WordWrap || mode == LineBreakMode::CharacterWrap || mode == LineBreakMode::Clip)
        return text;
    if (font.measure(text).width <= width) return text;
    std::u32string chars = toUtf32(text);
    auto candidate = [&](size_t keep) {
        std::u32string out;
        if (mode == LineBreakMode::HeadTruncation) {
            out = toUtf32(kEllipsis) + chars.substr(chars.size() - keep);
        } else if (mode == LineBreakMode::MiddleTruncation) {
            size_t head = (keep + 1) / 2, tail = keep / 2;
            out = chars.substr(0, head) + toUtf32(kEllipsis) + chars.substr(chars.size() - tail);
        } else {
            out = chars.substr(0, keep) + toUtf32(kEllipsis);
        }
        return fromUtf32(out);
    };
    // The most characters that still fit with the ellipsis.
    size_t low = 0, high = chars.size();
    while (low < high) {
        size_t mid = (low + high + 1) / 2;
        if (font.measure(candidate(mid)).width <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return candidate(low);
}

std::vector<std::string> Label::displayLines() const {
    if (text_.empty()) return {};
    Font font = fittedFont();
    double width = bounds().width();
    const bool wrapsShrunk = numberOfLines_ == 1 && wrapsWhenShrunk_ && adjustsFontSize_ && width > 0 &&
                             font.measure(joinLines(text_)).width > width;
    if (numberOfLines_ == 1 && !wrapsShrunk) return {truncate(joinLines(text_), width, font, lineBreakMode_)};
    std::vector<std::string> lines = font.wrap(text_, width > 0 ? width : 1e9);
    size_t limit = numberOfLines_ > 0 && !wrapsShrunk ? size_t(numberOfLines_) : lines.size();
    if ((numberOfLines_ == 0 || wrapsShrunk) && bounds().height() > 0) {
        // As many lines as the height holds (at least one).
        size_t fit = size_t(std::max(1.0, std::floor(bounds().height() / font.lineHeight() + 0.01)));
        limit = std::min(limit, fit);
    }
    if (lines.size() > limit && limit > 0) {
        // The last shown line takes the rest of the text, so it overflows and gets its
        // ellipsis where the mode asks for one.
        std::string last = lines[limit - 1];
        for (size_t j = limit; j < lines.size(); ++j)
            last += " " + lines[j];
        lines.resize(limit);
        bool truncates = lineBreakMode_ != LineBreakMode::Clip && lineBreakMode_ != LineBreakMode::WordWrap &&
                         lineBreakMode_ != LineBreakMode::CharacterWrap;
        if (truncates) lines.back() = truncate(last, width, font, LineBreakMode::TailTruncation);
    }
    return lines;
}

Size Label::sizeThatFits(Size size) const {
    if (text_.empty()) return {0, 0};
    if (numberOfLines_ == 1) {
        Size one = font_.measure(joinLines(text_));
        return {std::ceil(one.width), std::ceil(font_.lineHeight())};
    }
    double width = size.width > 0 ? size.width : 1e9;
    Size wrapped = font_.measureWrapped(text_, width, numberOfLines_);
    return {std::ceil(wrapped.width), std::ceil(wrapped.height)};
}

void Label::draw(GraphicsContext& context) {
    std::vector<std::string> lines = displayLines();
    if (lines.empty()) return;
    Font font = fittedFont();
    Color color = currentTextColor();
    Rect b = bounds();
    double lineHeight = font.lineHeight();
    double top = b.minY() + (b.height() - lineHeight * double(lines.size())) / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        Rect rect(b.minX(), top + lineHeight * double(i), b.width(), lineHeight);
        double lineWidth = font.measure(lines[i]).width;
        auto drawLine = [&](const Rect& r, Color c) {
            if (lineWidth <= r.width() + 0.5) {
                context.drawText(lines[i], r, font, c, alignment_, 1);
                return;
            }
            // Too wide (clip mode): drawn from its aligned start and cut at the edges.
            double x = r.minX();
            if (alignment_ == TextAlignment::Center) x = r.midX() - lineWidth / 2;
            if (alignment_ == TextAlignment::Right) x = r.maxX() - lineWidth;
            context.save();
            context.clipToRect(b);
            context.drawTextAt(lines[i], {x, r.minY()}, font, c);
            context.restore();
        };
        if (!shadowColor_.isClear() && (shadowOffset_.width != 0 || shadowOffset_.height != 0))
            drawLine(rect.offsetBy(shadowOffset_.width, shadowOffset_.height), shadowColor_);
        drawLine(rect, color);
    }
}

} // namespace platform::ui
