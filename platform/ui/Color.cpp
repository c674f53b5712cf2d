#include "platform/ui/Color.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

namespace {
int to255(double v) {
    return int(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}
} // namespace

Color Color::rgba(int r, int g, int b, double a) {
    return {std::clamp(r, 0, 255) / 255.0, std::clamp(g, 0, 255) / 255.0, std::clamp(b, 0, 255) / 255.0,
            std::clamp(a, 0.0, 1.0)};
}

int Color::red8() const {
    return to255(r);
}
int Color::green8() const {
    return to255(g);
}
int Color::blue8() const {
    return to255(b);
}
int Color::alpha8() const {
    return to255(a);
}

} // namespace platform::ui
