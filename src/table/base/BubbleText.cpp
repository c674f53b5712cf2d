#include "table/base/BubbleText.h"

#include "app/widgets/CustomLabel.h"
#include "platform/foundation/Text.h"

#include <algorithm>

namespace kavo {

namespace {

struct Measure {
    const platform::ui::Font& font;
    const EmoticonTable& emoticons;
    int lines;
    double width;

    // No character is narrower than two points: the lines hold fewer characters than this,
    // so a text as long as the wire carries is never wrapped whole.
    size_t mostCharacters() const { return size_t(double(lines) * width / 2) + 1; }

    bool holds(const std::string& text) const {
        return platform::characterCount(text) <= mostCharacters() &&
               CustomLabel::wrapLines(text, font, emoticons, width).size() <= size_t(lines);
    }
};

// A text cut before `characters` characters, without the blanks and commas it would end on.
std::string beginning(const std::string& text, size_t characters) {
    std::string start = text.substr(0, platform::characterIndexToByteOffset(text, characters));
    while (!start.empty() && (start.back() == ' ' || start.back() == ',' || start.back() == '\n'))
        start.pop_back();
    return start;
}

} // namespace

BubbleText BubbleText::fit(const std::vector<std::string>& waiting, int lines, double width,
                           const platform::ui::Font& font, const EmoticonTable& emoticons) {
    const Measure measure{font, emoticons, lines, width};
    BubbleText fitted;
    if (waiting.empty()) return fitted;
    for (const std::string& line : waiting) {
        std::string joined = fitted.taken == 0 ? line : fitted.text + ", " + line;
        if (!measure.holds(joined)) break;
        fitted.text = std::move(joined);
        ++fitted.taken;
    }
    if (fitted.taken > 0) return fitted;
    // The first line alone is too long: the longest beginning that fits with the mark.
    const std::string& line = waiting.front();
    const size_t most = std::min(platform::characterCount(line), measure.mostCharacters());
    size_t low = 0, high = most;
    while (low < high) {
        const size_t middle = (low + high + 1) / 2;
        if (measure.holds(beginning(line, middle) + kMore))
            low = middle;
        else
            high = middle - 1;
    }
    fitted.text = beginning(line, low) + kMore;
    fitted.taken = 1;
    fitted.cut = true;
    return fitted;
}

} // namespace kavo
