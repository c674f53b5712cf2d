#pragma once

#include "platform/ui/View.h"

#include <vector>

namespace kavo {

// Walks `view` and what it holds front to back, as a player sees them: the subviews
// from the last added, each one's own subviews before it, the view itself last. Hidden
// views (and fully transparent ones) are passed over with what they hold. Stops at the
// first view `visit` takes (returns true for) and returns true then. Main thread only.
template <class Visit> bool walkFrontToBack(platform::ui::View& view, Visit&& visit) {
    const std::vector<platform::ui::ViewPtr> subviews = view.subviews(); // a visit may change the list
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        platform::ui::View& subview = **it;
        if (subview.isHidden() || subview.alpha() <= 0) continue;
        if (walkFrontToBack(subview, visit)) return true;
    }
    return visit(view);
}

} // namespace kavo
