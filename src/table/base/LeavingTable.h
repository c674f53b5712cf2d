#pragma once

#include "platform/ui/ViewController.h"

#include <functional>

namespace kavo {

// The player asks to leave a table while his leaving counts (he holds cards, is
// ready or seated): the question, whose OK leaves. Main thread only.
void askToLeaveTable();

// The player was kicked from a table: back to the screen below the nearest screen that
// `isTable` accepts (the table on top is popped; with none in the stack, or only at its
// bottom, the player stays where he is), then the "kicked" notice. Main thread only.
void leaveKickedTable(const std::function<bool(const platform::ui::ViewControllerPtr&)>& isTable);

} // namespace kavo
