// Where a table's bubble stands while it shows a line.
#pragma once

namespace kavo {

// A bubble that keeps its origin grows to the right with its line, so a long line at a
// seat near the right edge would run out of the window. While such a line shows, the
// bubble stands as far left as it must to end inside the window; once it hides it goes
// back to the place the layout gave it. A layout that moves the bubble meanwhile wins.
class BubblePlace {
public:
    // The x at which a bubble now at `x` shows a line whose drawn text ends `reach` points
    // right of the bubble's x, in a window `screenWidth` wide.
    double fit(double x, double reach, double screenWidth);
    // The x a bubble now at `x` goes back to when it hides.
    double home(double x);

private:
    bool moved_ = false;
    double home_ = 0; // the layout's x
    double at_ = 0;   // the x it was moved to
};

} // namespace kavo
