// What a table's bubble holds of the lines waiting for it.
#pragma once

#include "app/widgets/EmoticonText.h"
#include "platform/ui/Font.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kavo {

struct BubbleText {
    // The mark a bubble ends a line with when it shows only the line's beginning.
    static constexpr const char* kMore = "…";

    // What the bubble shows.
    std::string text;
    // How many of the waiting lines it takes (the cut one too): the rest wait for its next time.
    size_t taken = 0;
    // Only the beginning of the first line shows, marked.
    bool cut = false;

    // The most of `waiting` (a seat's lines, in the order said) that `lines` lines of
    // `width` points hold: as many whole lines as fit, joined by ", "; where even the first
    // does not fit, its beginning and the mark. The text is measured as the bubble's label
    // draws it (emoticon codes of `emoticons` as their pictures).
    static BubbleText fit(const std::vector<std::string>& waiting, int lines, double width,
                          const platform::ui::Font& font, const EmoticonTable& emoticons);
};

} // namespace kavo
