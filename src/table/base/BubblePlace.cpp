#include "table/base/BubblePlace.h"

#include <algorithm>

namespace kavo {

double BubblePlace::fit(double x, double reach, double screenWidth) {
    x = home(x);
    if (x + reach <= screenWidth) return x;
    moved_ = true;
    home_ = x;
    at_ = std::max(0.0, screenWidth - reach);
    return at_;
}

double BubblePlace::home(double x) {
    const bool ours = moved_ && x == at_;
    moved_ = false;
    return ours ? home_ : x;
}

} // namespace kavo
