#pragma once

#include "platform/ui/Color.h"
#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace platform::ui {

class Window;

// The panels shown above everything else (alerts and action sheets). Each panel lives in
// a window of its own at the alert level, dimmed behind the panel. Only the newest panel
// is on screen; older ones wait in their hidden windows and come back when the newer ones
// go. The stack keeps panels and windows alive while they are up. Main thread only.
class OverlayStack {
public:
    static void push(const ViewPtr& panel, Color dim);
    // Takes the panel and its window away (nothing when it is not up).
    static void remove(const View* panel);
    static bool contains(const View* panel);
    // Oldest first; the last one is on screen.
    static std::vector<ViewPtr> panels();
    // The window a panel is shown in (nullptr when it is not up).
    static std::shared_ptr<Window> windowOf(const View* panel);
    // Drops every panel without telling anyone (between tests).
    static void reset();

private:
    static void showTop();
};

} // namespace platform::ui
