#pragma once

#include "app/widgets/EmoticonText.h"
#include "platform/ui/Label.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

// A label that draws emoticon codes as their pictures (chat bubbles over the seats, rows
// of the table chat and the private chat). The emoticon table is taken when the label is
// made and never refreshed, so a label made before log-in draws codes as text. numOfEmos
// counts the codes of the last text set; bubbles widen 8 points per code.
//
// It draws in one of four colours: black, white or green when the text colour is exactly
// one of those, else light grey. With one line (the default) it draws from its left edge
// and the platform label's alignment and truncation are not applied. With numberOfLines 0
// (a chat line) the text breaks at its blanks onto as many lines as it needs, each code
// standing where its text would, 8 points wider, each line placed by the alignment.
class CustomLabel : public platform::ui::Label {
public:
    // How much wider than its code's text a picture stands in a wrapped line.
    static constexpr double kPictureExtra = 8;
    // `text` wrapped to `width` in `font`, codes of `table` measured as their pictures; a
    // word wider than the width breaks between characters.
    static std::vector<std::string> wrapLines(const std::string& text, const platform::ui::Font& font,
                                              const EmoticonTable& table, double width);
    // The width a wrapped line takes: its text, each code 8 points wider.
    static double drawnWidth(const std::string& line, const platform::ui::Font& font, const EmoticonTable& table);

    explicit CustomLabel(platform::ui::Rect frame = {});
    CustomLabel(const std::string& text, platform::ui::Rect frame);
    static std::shared_ptr<CustomLabel> make(platform::ui::Rect frame = {});
    static std::shared_ptr<CustomLabel> make(const std::string& text, platform::ui::Rect frame);

    void setText(const std::string& text) override;
    int numOfEmos() const { return numOfEmos_; }
    void setNumOfEmos(int count) { numOfEmos_ = count; }
    // The table this label uses (tests may set another).
    const EmoticonTable& emoticons() const { return xDictEmotions_; }
    void setEmoticons(EmoticonTable table) { xDictEmotions_ = std::move(table); }

    void draw(platform::ui::GraphicsContext& context) override;
    // Wrapped: the lines the label draws, every one of them (the label is sized to its text).
    std::vector<std::string> displayLines() const override;
    // Wrapped: the size of the text's lines within the given width.
    platform::ui::Size sizeThatFits(platform::ui::Size size) const override;
    // The colour the drawing uses for the current text colour.
    platform::ui::Color drawingColor() const;

private:
    bool wraps() const { return numberOfLines() == 0; }
    void drawText(platform::ui::GraphicsContext& context, const std::string& text);
    void drawWrapped(platform::ui::GraphicsContext& context);

    platform::ui::Point xLastpos_;
    EmoticonTable xDictEmotions_;
    int numOfEmos_ = 0;
};

} // namespace kavo
