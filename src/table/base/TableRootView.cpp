#include "table/base/TableRootView.h"

#include <algorithm>

namespace kavo {

namespace {

// A sheet or panel over the table: the view of a controller other than the table's own.
bool laidOver(const platform::ui::View& view, const platform::ui::View& table) {
    const auto* owner = view.viewController();
    return owner && owner != table.viewController();
}

} // namespace

size_t TableRootView::placeForSubview(const platform::ui::View& subview, size_t index) const {
    if (laidOver(subview, *this)) return index;
    const auto& stack = subviews();
    const size_t below = std::min(index, stack.size());
    for (size_t i = 0; i < below; ++i)
        if (laidOver(*stack[i], *this)) return i;
    return index;
}

} // namespace kavo
