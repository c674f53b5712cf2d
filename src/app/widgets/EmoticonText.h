#pragma once

#include "platform/foundation/Value.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kavo {

// Emoticon code -> picture file name, in the table's order (the order decides which of
// two overlapping codes wins).
using EmoticonTable = std::vector<std::pair<std::string, std::string>>;

// The rules that the emoticon label and the emoticon text field share: how codes are
// counted in a text and how a text is cut into plain runs and pictures.
class EmoticonText {
public:
    // The table the client loaded after log-in (empty before).
    static EmoticonTable currentTable();
    // The string entries of a dictionary value, in its order; anything else is skipped.
    static EmoticonTable tableFromValue(const platform::Value& dictionary);

    // For each code in table order, removes its first occurrence from a working copy of
    // the text while it occurs, counting each removal (so a code that only forms once an
    // inner copy of it is removed counts too).
    static int countCodes(const std::string& text, const EmoticonTable& table);

    // Cuts `text` at the first table code (in table order) that occurs in it, handles the
    // part before, the picture, then the part after, the same way; a piece with no code
    // is one plain run. Plain runs and pictures come out left to right.
    static void split(const std::string& text, const EmoticonTable& table,
                      const std::function<void(const std::string& plain)>& onPlain,
                      const std::function<void(const std::string& code, const std::string& imageName)>& onPicture);
};

} // namespace kavo
