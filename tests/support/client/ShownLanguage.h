#pragma once

#include "platform/ui/View.h"

#include <string>
#include <vector>

namespace kavo::test {

// The non-empty texts of the visible views in the shown windows, in tree order; with
// `within`, only those of that view and the views inside it.
std::vector<std::string> visibleTexts(const platform::ui::View* within = nullptr);

// Those of `texts` that are Vietnamese: holding a letter with a Vietnamese mark, or equal
// (in any case) to a text of the Vietnamese table that the English table does not hold.
// What a player reads in English must leave this empty.
std::vector<std::string> vietnameseTexts(const std::vector<std::string>& texts);

} // namespace kavo::test
