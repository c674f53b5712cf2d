#include "app/widgets/CustomUIFont.h"

#include "app/Resources.h"
#include "app/widgets/CustomUIFontTable.h"
#include "platform/foundation/Text.h"

namespace kavo {

using platform::ui::ImageView;
using platform::ui::Rect;

CustomUIFont::CustomUIFont(Rect frame) : View(frame) {
    // Touches pass through the label to what lies behind it.
    setUserInteractionEnabled(false);
}

CustomUIFont::CustomUIFont(Rect frame, const std::string& content, const std::string& fontName, int size)
    : View(frame) {
    (void)fontName;
    initComponentsWithContent(content, size);
}

std::shared_ptr<CustomUIFont> CustomUIFont::make(Rect frame) {
    return std::make_shared<CustomUIFont>(frame);
}

std::shared_ptr<CustomUIFont> CustomUIFont::labelWithFrame(Rect frame, const std::string& content,
                                                           const std::string& fontName, int size) {
    return std::make_shared<CustomUIFont>(frame, content, fontName, size);
}

void CustomUIFont::labelWithFrame(Rect frame, const std::string& content, const std::string& fontName, int size,
                                  CustomUIFont& label) {
    (void)fontName;
    label.setFrame(frame);
    label.initComponentsWithContent(content, size);
}

void CustomUIFont::initComponentsWithContent(const std::string& content, int size) {
    textAlignment_ = Center;
    charDict_.clear();
    curString_ = content;
    scaleSize_ = double(size) / bitmapfont::kNaturalSize;
    fontImageRef_ = Resources::getInstance().imgFont();
    setUp_ = true;
    setString(content);
    setUserInteractionEnabled(false);
}

void CustomUIFont::setString(const std::string& text) {
    curString_ = text;
    layout();
}

void CustomUIFont::setFontSize(int size) {
    double scale = double(size) / bitmapfont::kNaturalSize;
    if (scale == scaleSize_) return;
    scaleSize_ = scale;
    // Cached glyphs have the old size.
    charDict_.clear();
    layout();
}

void CustomUIFont::setTextAlignment(int alignment) {
    if (alignment == textAlignment_) return;
    textAlignment_ = alignment;
    layout();
}

int CustomUIFont::getIndexOfCharacter(const std::string& character) {
    size_t offset = 0;
    char32_t c = platform::nextCharacter(character, offset);
    if (offset == 0 || offset != character.size()) return -1;
    return bitmapfont::indexOfCharacter(c);
}

int CustomUIFont::getWidthOfCharacterAtIndex(int index) {
    return bitmapfont::widthAtIndex(index);
}

std::shared_ptr<ImageView> CustomUIFont::getFromFrame(Rect rect) const {
    auto view = ImageView::make(rect);
    if (fontImageRef_) view->setImage(fontImageRef_->cropped(rect));
    return view;
}

void CustomUIFont::layout() {
    removeAllSubviews();
    // A label made plainly is empty until it is set up.
    if (!setUp_) return;
    const double labelWidth = frame().width();
    const double labelHeight = frame().height();
    double x = 0;
    size_t offset = 0;
    while (offset < curString_.size()) {
        // Characters that start past the right edge are not shown.
        if (x > labelWidth) break;
        char32_t c = platform::nextCharacter(curString_, offset);
        std::shared_ptr<ImageView> glyph;
        auto cached = charDict_.find(c);
        if (cached != charDict_.end()) {
            glyph = ImageView::make(cached->second->frame());
            glyph->setImage(cached->second->image());
            glyph->setContentMode(cached->second->contentMode());
        } else {
            int index = bitmapfont::indexOfCharacter(c);
            int width = bitmapfont::widthAtIndex(index);
            int row = index / bitmapfont::kCellsPerRow;
            int column = index - row * bitmapfont::kCellsPerRow;
            glyph = getFromFrame(
                Rect(column * bitmapfont::kCellWidth, row * bitmapfont::kCellHeight, width, bitmapfont::kCellHeight));
            glyph->setContentMode(platform::ui::ContentMode::ScaleAspectFit);
            glyph->setFrame(Rect(0, 0, width * scaleSize_, bitmapfont::kCellHeight * scaleSize_));
            charDict_[c] = glyph;
        }
        double glyphWidth = glyph->frame().width();
        glyph->setCenter({x + glyphWidth / 2, labelHeight / 2});
        glyph->setBackgroundColor(platform::ui::Color::clear());
        addSubview(glyph);
        x += glyphWidth;
    }
    totalLength_ = x;
    switch (textAlignment_) {
    case Left:
        makeTextLeft();
        break;
    case Center:
        makeTextCenter();
        break;
    case Right:
        makeTextRight();
        break;
    default:
        break;
    }
}

void CustomUIFont::shiftGlyphs(double offset) {
    for (const auto& glyph : subviews()) {
        auto center = glyph->center();
        glyph->setCenter({center.x + offset, center.y});
    }
}

void CustomUIFont::makeTextLeft() {
    shiftGlyphs(0);
}

void CustomUIFont::makeTextCenter() {
    shiftGlyphs((frame().width() - totalLength_) * 0.5);
}

void CustomUIFont::makeTextRight() {
    shiftGlyphs(frame().width() - totalLength_);
}

} // namespace kavo
