#pragma once

#include "platform/ui/View.h"

#include <memory>

namespace kavo {

class CustomUIScrollView;

// The Caro board: a 20 x 20 grid inside a scroll view that hands taps on to the board
// while drags still scroll the grid.
class CaroBoard : public platform::ui::View {
public:
    static constexpr int kCells = 20;
    explicit CaroBoard(platform::ui::Rect frame);
    static std::shared_ptr<CaroBoard> make(platform::ui::Rect frame);

    const std::shared_ptr<CustomUIScrollView>& scrollView() const { return scrollView_; }
    const platform::ui::ViewPtr& grid() const { return grid_; }
    // The side of one cell, in points.
    static double cellSize();

private:
    std::shared_ptr<CustomUIScrollView> scrollView_;
    platform::ui::ViewPtr grid_;
};

} // namespace kavo
