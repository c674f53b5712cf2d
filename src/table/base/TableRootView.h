#pragma once

#include "platform/ui/View.h"

#include <cstddef>

namespace kavo {

// The view of a table screen. What the table itself adds or brings forward (cards dealt,
// bubbles, money texts, a flying gift, its seat menu, a peek, the start button) goes under
// the sheets and panels laid over the table, the views of other controllers: a sheet opened
// from the table lies over everything of the table until it goes. Main thread only.
class TableRootView : public platform::ui::View {
public:
    using View::View;

protected:
    size_t placeForSubview(const platform::ui::View& subview, size_t index) const override;
};

} // namespace kavo
