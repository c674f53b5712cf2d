#include "platform/ui/TextView.h"

#include "platform/foundation/Text.h"
#include "platform/ui/TextField.h"

#include <algorithm>

namespace platform::ui {

TextView::TextView(Rect frame) : ScrollView(frame) {
    setBackgroundColor(Color::white());
}

std::shared_ptr<TextView> TextView::make(Rect frame) {
    return std::make_shared<TextView>(frame);
}

void TextView::textChanged() {
    layoutSubviews();
    setNeedsDisplay();
}

void TextView::setText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    textChanged();
}

void TextView::setFont(const Font& font) {
    font_ = font;
    textChanged();
}

void TextView::setTextColor(Color color) {
    textColor_ = color;
    setNeedsDisplay();
}

void TextView::setTextAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void TextView::setEditable(bool editable) {
    editable_ = editable;
    if (!editable_) resignFirstResponder();
}

bool TextView::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    if (!canBecomeFirstResponder()) return false;
    auto keep = weak_from_this().lock();
    if (textDelegate_ && !textDelegate_->shouldBeginEditing(*this)) return false;
    if (!ScrollView::becomeFirstResponder()) return false;
    setNeedsDisplay();
    if (textDelegate_) textDelegate_->didBeginEditing(*this);
    return true;
}

bool TextView::resignFirstResponder() {
    if (!isFirstResponder()) return true;
    auto keep = weak_from_this().lock();
    if (textDelegate_ && !textDelegate_->shouldEndEditing(*this)) return false;
    if (!ScrollView::resignFirstResponder()) return false;
    setNeedsDisplay();
    if (textDelegate_) textDelegate_->didEndEditing(*this);
    return true;
}

bool TextView::replaceCharacters(size_t location, size_t length, const std::string& replacement) {
    size_t total = utf16Length(text_);
    location = std::min(location, total);
    length = std::min(length, total - location);
    auto keep = weak_from_this().lock();
    if (textDelegate_ && !textDelegate_->shouldChangeText(*this, location, length, replacement)) return false;
    text_ = replaceUtf16Range(text_, location, length, replacement);
    textChanged();
    // Typing keeps the end of the text in sight.
    setContentOffset(maximumContentOffset());
    if (textDelegate_) textDelegate_->didChange(*this);
    return true;
}

void TextView::insertText(const std::string& text) {
    if (!editable_ || text.empty()) return;
    replaceCharacters(utf16Length(text_), 0, text);
}

void TextView::deleteBackward() {
    size_t last = utf16LengthOfLastCharacter(text_);
    if (!editable_ || last == 0) return;
    replaceCharacters(utf16Length(text_) - last, last, "");
}

void TextView::touchesEnded(const std::vector<Touch>& touches) {
    ScrollView::touchesEnded(touches);
    if (!lastSequenceDragged() && editable_ && !isFirstResponder()) becomeFirstResponder();
}

void TextView::layoutSubviews() {
    double width = std::max(1.0, bounds().width() - 2 * margin());
    Size text = text_.empty() ? Size{0, font_.lineHeight()} : font_.measureWrapped(text_, width);
    setContentSize({bounds().width(), text.height + 2 * margin()});
}

void TextView::draw(GraphicsContext& context) {
    double width = std::max(1.0, bounds().width() - 2 * margin());
    std::vector<std::string> lines = text_.empty() ? std::vector<std::string>{} : font_.wrap(text_, width);
    double lineHeight = font_.lineHeight();
    double y = margin();
    for (const std::string& line : lines) {
        context.drawText(line, {margin(), y, width, lineHeight}, font_, textColor_, alignment_, 1);
        y += lineHeight;
    }
    if (isFirstResponder()) {
        // The caret after the last character.
        double lastWidth = lines.empty() ? 0 : font_.measure(lines.back()).width;
        double top = lines.empty() ? margin() : y - lineHeight;
        if (!text_.empty() && text_.back() == '\n') {
            lastWidth = 0;
            top = y;
        }
        double x = margin() + lastWidth + 1;
        context.setStrokeColor(Color::rgba(66, 107, 242));
        context.setLineWidth(2);
        context.drawLine({x, top}, {x, top + lineHeight});
    }
}

} // namespace platform::ui
