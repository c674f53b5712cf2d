#include "platform/ui/TextField.h"

#include "platform/foundation/Text.h"
#include "platform/ui/ShapeDrawing.h"

#include <algorithm>
#include <vector>

namespace platform::ui {

namespace {
const char* const kBullet = "\u2022";

// Marks that belong to the character before them: one backspace takes them together.
bool joinsPrevious(char32_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F) || c == 0xFE0E || c == 0xFE0F ||
           (c >= 0x1F3FB && c <= 0x1F3FF);
}

size_t unitsOf(char32_t c) {
    return c > 0xFFFF ? 2 : 1;
}

const Color kCaretColor = Color::rgba(66, 107, 242);
} // namespace

size_t utf16LengthOfLastCharacter(const std::string& text) {
    std::u32string chars = toUtf32(text);
    if (chars.empty()) return 0;
    size_t units = 0;
    size_t i = chars.size();
    while (i > 1 && joinsPrevious(chars[i - 1]))
        units += unitsOf(chars[--i]);
    units += unitsOf(chars[i - 1]);
    return units;
}

TextField::TextField(Rect frame) : Control(frame) {}

std::shared_ptr<TextField> TextField::make(Rect frame) {
    return std::make_shared<TextField>(frame);
}

void TextField::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    setNeedsDisplay();
}

void TextField::setPlaceholder(const std::string& placeholder) {
    placeholder_ = placeholder;
    setNeedsDisplay();
}

void TextField::setFont(const Font& font) {
    font_ = font;
    setNeedsDisplay();
}

void TextField::setTextColor(Color color) {
    textColor_ = color;
    setNeedsDisplay();
}

void TextField::setTextAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void TextField::setBorderStyle(TextBorderStyle style) {
    borderStyle_ = style;
    setNeedsDisplay();
}

void TextField::setClearButtonMode(TextFieldViewMode mode) {
    clearButtonMode_ = mode;
    setNeedsDisplay();
}

void TextField::setBackground(ImagePtr image) {
    background_ = std::move(image);
    setNeedsDisplay();
}

bool TextField::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    if (!canBecomeFirstResponder()) return false;
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->shouldBeginEditing(*this)) return false;
    if (!Control::becomeFirstResponder()) return false;
    editing_ = true;
    if (clearsOnBeginEditing_) text_.clear();
    setNeedsDisplay();
    if (delegate_) delegate_->didBeginEditing(*this);
    sendActions(ControlEvent::EditingDidBegin);
    return true;
}

bool TextField::resignFirstResponder() {
    if (!isFirstResponder()) return true;
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->shouldEndEditing(*this)) return false;
    if (!Control::resignFirstResponder()) return false;
    editing_ = false;
    setNeedsDisplay();
    if (delegate_) delegate_->didEndEditing(*this);
    sendActions(ControlEvent::EditingDidEnd);
    return true;
}

bool TextField::replaceCharacters(size_t location, size_t length, const std::string& replacement) {
    size_t total = utf16Length(text_);
    location = std::min(location, total);
    length = std::min(length, total - location);
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->shouldChangeCharacters(*this, location, length, replacement)) return false;
    text_ = replaceUtf16Range(text_, location, length, replacement);
    setNeedsDisplay();
    sendActions(ControlEvent::EditingChanged);
    return true;
}

bool TextField::clearText() {
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->shouldClear(*this)) return false;
    if (text_.empty()) return true;
    text_.clear();
    setNeedsDisplay();
    sendActions(ControlEvent::EditingChanged);
    return true;
}

void TextField::insertText(const std::string& text) {
    if (text == "\n" || text == "\r") {
        pressReturn();
        return;
    }
    // One line only: line breaks inside pasted text become spaces.
    std::string line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::replace(line.begin(), line.end(), '\r', ' ');
    if (line.empty()) return;
    replaceCharacters(utf16Length(text_), 0, line);
}

void TextField::deleteBackward() {
    size_t last = utf16LengthOfLastCharacter(text_);
    if (last == 0) return;
    replaceCharacters(utf16Length(text_) - last, last, "");
}

void TextField::pressReturn() {
    auto keep = weak_from_this().lock();
    if (delegate_ && !delegate_->shouldReturn(*this)) return;
    bool dismisses = hasTargets(ControlEvent::EditingDidEndOnExit);
    sendActions(ControlEvent::EditingDidEndOnExit);
    if (dismisses) resignFirstResponder();
}

void TextField::endTracking(Point location, bool inside) {
    if (!inside) return;
    auto keep = weak_from_this().lock();
    if (isClearButtonVisible() && clearButtonRect().insetBy(-4, -4).contains(location)) clearText();
    if (!isFirstResponder()) becomeFirstResponder();
}

std::string TextField::displayText() const {
    if (!isSecureTextEntry()) return text_;
    std::string bullets;
    for (size_t i = characterCount(text_); i > 0; --i)
        bullets += kBullet;
    return bullets;
}

bool TextField::isClearButtonVisible() const {
    if (text_.empty()) return false;
    switch (clearButtonMode_) {
    case TextFieldViewMode::Never:
        return false;
    case TextFieldViewMode::WhileEditing:
        return editing_;
    case TextFieldViewMode::UnlessEditing:
        return !editing_;
    case TextFieldViewMode::Always:
        return true;
    }
    return false;
}

Rect TextField::clearButtonRect() const {
    Rect b = bounds();
    return {b.maxX() - 24, b.midY() - 9.5, 19, 19};
}

Rect TextField::textRect() const {
    Rect b = bounds();
    double inset = borderStyle_ == TextBorderStyle::None ? 0 : (borderStyle_ == TextBorderStyle::RoundedRect ? 8 : 4);
    Rect rect = b.insetBy(inset, 0);
    if (isClearButtonVisible()) rect.size.width = std::max(0.0, clearButtonRect().minX() - 4 - rect.minX());
    return rect;
}

void TextField::draw(GraphicsContext& context) {
    Rect b = bounds();
    switch (borderStyle_) {
    case TextBorderStyle::RoundedRect:
        fillRoundedRect(context, b, std::min(7.0, b.height() / 2), Color::white());
        strokeRoundedRect(context, b, std::min(7.0, b.height() / 2), Color::gray(), 1);
        break;
    case TextBorderStyle::Line:
        context.setStrokeColor(Color::black());
        context.setLineWidth(1);
        context.strokeRect(b.insetBy(0.5, 0.5));
        break;
    case TextBorderStyle::Bezel:
        context.setStrokeColor(Color::gray());
        context.setLineWidth(2);
        context.strokeRect(b.insetBy(1, 1));
        break;
    case TextBorderStyle::None:
        break;
    }
    if (background_ && borderStyle_ != TextBorderStyle::RoundedRect) context.drawImage(background_, b);

    Rect area = textRect();
    std::string shown = displayText();
    bool placeholder = shown.empty();
    if (placeholder) shown = placeholder_;
    Color color = placeholder ? Color::white(0.7) : textColor_;
    if (!isEnabled()) color = color.withAlpha(color.a * 0.5);
    double width = shown.empty() ? 0 : font_.measure(shown).width;
    double lineHeight = font_.lineHeight();
    double textEnd = area.minX();
    if (!shown.empty()) {
        context.save();
        context.clipToRect(area);
        if (width <= area.width()) {
            context.drawText(shown, area, font_, color, alignment_, 1);
            if (alignment_ == TextAlignment::Left) textEnd = area.minX() + width;
            if (alignment_ == TextAlignment::Center) textEnd = area.midX() + width / 2;
            if (alignment_ == TextAlignment::Right) textEnd = area.maxX();
        } else {
            // Wider than the field: the end shows while typing, the start otherwise.
            double x = editing_ && !placeholder ? area.maxX() - width : area.minX();
            context.drawTextAt(shown, {x, area.midY() - lineHeight / 2}, font_, color);
            textEnd = editing_ ? area.maxX() : area.minX();
        }
        context.restore();
    }
    if (placeholder) {
        // The caret of an empty field sits where typing starts.
        textEnd = alignment_ == TextAlignment::Center  ? area.midX()
                  : alignment_ == TextAlignment::Right ? area.maxX()
                                                       : area.minX();
    }
    if (editing_) {
        double x = std::min(textEnd + 1, area.maxX() - 1);
        context.setStrokeColor(kCaretColor);
        context.setLineWidth(2);
        context.drawLine({x, area.midY() - lineHeight / 2}, {x, area.midY() + lineHeight / 2});
    }
    if (isClearButtonVisible()) {
        Rect r = clearButtonRect();
        fillCircle(context, r.center(), r.width() / 2, Color::white(0.6));
        context.setStrokeColor(Color::white());
        context.setLineWidth(2);
        context.drawLine({r.minX() + 6, r.minY() + 6}, {r.maxX() - 6, r.maxY() - 6});
        context.drawLine({r.maxX() - 6, r.minY() + 6}, {r.minX() + 6, r.maxY() - 6});
    }
}

} // namespace platform::ui
