#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

enum class LineBreakMode { WordWrap, CharacterWrap, Clip, HeadTruncation, TailTruncation, MiddleTruncation };

// Read-only text. One line by default (numberOfLines 1); 0 means as many lines as the
// text needs. The text block is centred vertically. A line too wide for the label is cut
// with an ellipsis as the line break mode says, or first drawn smaller down to
// minimumFontSize when adjustsFontSizeToFitWidth is on. Labels take no touches by default.
class Label : public View {
public:
    explicit Label(Rect frame = {});
    static std::shared_ptr<Label> make(Rect frame = {});
    static std::shared_ptr<Label> make(Rect frame, const std::string& text);

    std::string text() const override { return text_; }
    virtual void setText(const std::string& text);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    Color textColor() const { return textColor_; }
    void setTextColor(Color color);
    Color highlightedTextColor() const { return highlightedTextColor_; }
    void setHighlightedTextColor(Color color);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment);
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(LineBreakMode mode);
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSize_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    double minimumFontSize() const { return minimumFontSize_; }
    void setMinimumFontSize(double size);
    // A one-line label that shrinks to fit: when even minimumFontSize is too wide, the
    // text wraps onto the lines the label's height holds instead of being cut (a little
    // smaller still, when a single word is wider than the label).
    bool wrapsWhenShrunk() const { return wrapsWhenShrunk_; }
    void setWrapsWhenShrunk(bool wraps);
    Color shadowColor() const { return shadowColor_; }
    void setShadowColor(Color color);
    Size shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(Size offset);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // The font the text is drawn in (smaller than font() when shrunk to fit).
    Font fittedFont() const;
    // The lines as drawn, after wrapping and truncation (a label that draws its text its
    // own way says how it breaks it).
    virtual std::vector<std::string> displayLines() const;
    // The colour the text is drawn in now.
    Color currentTextColor() const;

    Size sizeThatFits(Size size) const override;
    void draw(GraphicsContext& context) override;

    // `text` cut to `width` with an ellipsis where the mode says (unchanged when it fits).
    static std::string truncate(const std::string& text, double width, const Font& font, LineBreakMode mode);

private:
    void changed();

    std::string text_;
    Font font_ = Font::system(17);
    Color textColor_ = Color::black();
    Color highlightedTextColor_ = Color::clear();
    TextAlignment alignment_ = TextAlignment::Left;
    int numberOfLines_ = 1;
    LineBreakMode lineBreakMode_ = LineBreakMode::TailTruncation;
    bool adjustsFontSize_ = false;
    double minimumFontSize_ = 0;
    bool wrapsWhenShrunk_ = false;
    Color shadowColor_ = Color::clear();
    Size shadowOffset_{0, -1};
    bool highlighted_ = false;
    bool enabled_ = true;
};

} // namespace platform::ui
