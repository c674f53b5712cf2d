#include "app/widgets/CustomUIScrollView.h"

namespace kavo {

CustomUIScrollView::CustomUIScrollView(platform::ui::Rect frame) : ScrollView(frame) {}

std::shared_ptr<CustomUIScrollView> CustomUIScrollView::make(platform::ui::Rect frame) {
    return std::make_shared<CustomUIScrollView>(frame);
}

void CustomUIScrollView::touchesEnded(const std::vector<platform::ui::Touch>& touches) {
    // A tap (no drag) is also the business of what lies behind: the board under the grid.
    if (!isDragging()) {
        if (auto* next = nextResponder()) next->touchesEnded(touches);
    }
    ScrollView::touchesEnded(touches);
}

} // namespace kavo
