#include "games/caro/CaroBoard.h"

#include "app/Util.h"
#include "app/widgets/CustomUIScrollView.h"

namespace kavo {

CaroBoard::CaroBoard(platform::ui::Rect frame) : platform::ui::View(frame) {
    scrollView_ = CustomUIScrollView::make({0, 0, frame.width(), frame.height()});
    scrollView_->setAccessibilityIdentifier("caroScrollView");
    const double side = cellSize() * kCells;
    grid_ = platform::ui::View::make({0, 0, side, side});
    grid_->setBackgroundColor(platform::ui::Color::rgba(235, 220, 180));
    grid_->setAccessibilityIdentifier("caroGrid");
    scrollView_->addSubview(grid_);
    scrollView_->setContentSize({side, side});
    addSubview(scrollView_);
}

std::shared_ptr<CaroBoard> CaroBoard::make(platform::ui::Rect frame) {
    return std::make_shared<CaroBoard>(frame);
}

double CaroBoard::cellSize() {
    return 30 * Util::iPad();
}

} // namespace kavo
