#pragma once

#include "app/widgets/EmoticonText.h"
#include "platform/ui/Label.h"

#include <memory>
#include <string>

namespace kavo {

// A one-line label that draws emoticon codes as their pictures (chat bubbles over the
// seats, rows of the table chat and the private chat). The emoticon table is taken when
// the label is made and never refreshed, so a label made before log-in draws codes as
// text. numOfEmos counts the codes of the last text set; bubbles widen 8 points per code.
//
// It draws one line from its left edge in one of four colours: black, white or green when
// the text colour is exactly one of those, else light grey. The platform label's
// alignment, line count and truncation are not applied.
class CustomLabel : public platform::ui::Label {
public:
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
    // The colour the drawing uses for the current text colour.
    platform::ui::Color drawingColor() const;

private:
    void drawText(platform::ui::GraphicsContext& context, const std::string& text);

    platform::ui::Point xLastpos_;
    EmoticonTable xDictEmotions_;
    int numOfEmos_ = 0;
};

} // namespace kavo
