#include "app/TopupPanelLookup.h"

#include "account/TopupZelView.h"
#include "app/TopScreen.h"

namespace kavo {

std::shared_ptr<TopupZelView> topupPanelOnTop() {
    auto top = topScreen();
    if (!top || !top->isViewLoaded()) return nullptr;
    for (const auto& subview : top->view()->subviews()) {
        if (auto panel = std::dynamic_pointer_cast<TopupZelView>(subview)) return panel;
    }
    return nullptr;
}

} // namespace kavo
