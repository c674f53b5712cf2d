#pragma once

#include <memory>

namespace kavo {

class TopupZelView;

// The top-up panel that the purchase answer and the purchase's OK (action code 20)
// act on: the first TopupZelView among the direct subviews of the top screen's view,
// in subview order; nullptr when there is none. Main thread.
std::shared_ptr<TopupZelView> topupPanelOnTop();

} // namespace kavo
