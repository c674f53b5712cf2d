#pragma once

#include "platform/ui/View.h"

#include <string>
#include <vector>

namespace kavo::test {

// Reads what the windows show now, the way a player looks at them, and says what a
// player could not read:
// - two visible labels or titled buttons whose drawn texts (a button: its whole face)
//   lie on each other;
// - a label whose text is drawn cut: an ellipsis, words left out, a line wider than the
//   label, or text outside the window or outside a clipping parent (in a list, only where
//   scrolling does not bring it into sight);
// - a button shown by its picture that runs out of the window;
// - an empty field whose hint is wider than the field;
// - a label covered by a picture drawn above it (a card back over a name);
// - a card, avatar or button under a table's bubble, and a text wholly under one (a
//   bubble is no sheet);
// - a button that shows where a click at its centre does not reach it (a container or a
//   picture above it takes the touch).
// A view behind an opaque panel drawn above it (a sheet over the table) is not looked at.
// With `only`, just the texts inside it are judged (a sheet over a table: the table
// around it still covers, but is not what the player reads now).
// Each finding names the views by their identifier, else by their text.
std::vector<std::string> unreadableTexts(const platform::ui::View* only = nullptr);

// The last visible view with that accessibility identifier in the shown windows (the one
// drawn on top); null when none.
const platform::ui::View* visibleViewWithIdentifier(const std::string& identifier);

// One line per finding, for a test's failure message ("" when none).
std::string describe(const std::vector<std::string>& findings);

} // namespace kavo::test
