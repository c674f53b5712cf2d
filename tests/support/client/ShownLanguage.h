#pragma once

#include <string>
#include <vector>

namespace kavo::test {

// Those of `texts` that are Vietnamese: holding a letter with a Vietnamese mark, or equal
// (in any case) to a text of the Vietnamese table that the English table does not hold.
// What a player reads in English must leave this empty: pass it
// platform::automation::ViewQuery::visibleTexts() (of the screen, or of one open sheet).
std::vector<std::string> vietnameseTexts(const std::vector<std::string>& texts);

} // namespace kavo::test
