#include "tests/support/client/SeenInShot.h"

#include "platform/render/Renderer.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace kavo::test {

namespace ui = platform::ui;

namespace {

// A channel from 0..1 as light: the sRGB curve undone.
double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const ui::Color& c) {
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The view's frame in whole pixels of the screen, inside it.
struct Pixels {
    int left, top, right, bottom; // right and bottom excluded
    int area() const { return std::max(0, right - left) * std::max(0, bottom - top); }
};

Pixels pixelsOf(const ui::View& view, const ui::Image& image) {
    const ui::Rect frame = view.convertRect(view.bounds(), nullptr);
    return {std::max(0, int(std::lround(frame.minX()))), std::max(0, int(std::lround(frame.minY()))),
            std::min(image.width(), int(std::lround(frame.maxX()))),
            std::min(image.height(), int(std::lround(frame.maxY())))};
}

// The pixels' brightness, in order.
std::vector<double> sortedLuminances(const ui::Image& image, const Pixels& at) {
    std::vector<double> values;
    for (int y = at.top; y < at.bottom; ++y)
        for (int x = at.left; x < at.right; ++x)
            values.push_back(luminance(image.pixel(x, y)));
    std::sort(values.begin(), values.end());
    return values;
}

// The windows as drawn with `view` hidden for the time of the drawing.
ui::ImagePtr drawnWithout(ui::View& view) {
    const bool hidden = view.isHidden();
    view.setHidden(true);
    ui::ImagePtr image = platform::render::Renderer::renderToImage(ui::Window::visibleWindows(), ui::Screen::size());
    view.setHidden(hidden);
    return image;
}

std::optional<ui::Color> textColorOf(const ui::View& view) {
    if (auto* label = dynamic_cast<const ui::Label*>(&view)) return label->currentTextColor();
    if (auto* text = dynamic_cast<const ui::TextView*>(&view)) return text->textColor();
    return std::nullopt;
}

} // namespace

double drawnShare(const ui::ImagePtr& shot, ui::View& view) {
    const ui::ImagePtr without = drawnWithout(view);
    if (!shot || !without) return 0;
    const Pixels at = pixelsOf(view, *shot);
    if (at.area() == 0) return 0;
    int changed = 0;
    for (int y = at.top; y < at.bottom; ++y)
        for (int x = at.left; x < at.right; ++x) {
            const ui::Color a = shot->pixel(x, y), b = without->pixel(x, y);
            // A tenth of the range in any channel: more than the dimming's or a blend's rounding.
            if (std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) > 0.1) ++changed;
        }
    return double(changed) / at.area();
}

double textContrast(ui::View& view) {
    const std::optional<ui::Color> ink = textColorOf(view);
    const ui::ImagePtr without = drawnWithout(view);
    if (!ink || !without) return 1;
    const Pixels at = pixelsOf(view, *without);
    if (at.area() == 0) return 1;
    const std::vector<double> behind = sortedLuminances(*without, at);
    return contrast(luminance(*ink), behind[behind.size() / 2]);
}

double markContrast(const ui::ImagePtr& shot, const ui::View& view) {
    if (!shot) return 1;
    const Pixels at = pixelsOf(view, *shot);
    if (at.area() == 0) return 1;
    const std::vector<double> face = sortedLuminances(*shot, at);
    const double middle = face[face.size() / 2];
    std::vector<double> against;
    for (double value : face)
        against.push_back(contrast(value, middle));
    std::sort(against.rbegin(), against.rend());
    const size_t mark = std::max<size_t>(4, against.size() / 100);
    return mark <= against.size() ? against[mark - 1] : 1;
}

double faceDifference(const ui::ImagePtr& shot, const ui::View& a, const ui::View& b) {
    if (!shot) return 0;
    const Pixels first = pixelsOf(a, *shot), second = pixelsOf(b, *shot);
    const int width = std::min(first.right - first.left, second.right - second.left);
    const int height = std::min(first.bottom - first.top, second.bottom - second.top);
    if (width <= 0 || height <= 0) return 0;
    double sum = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const ui::Color p = shot->pixel(first.left + x, first.top + y);
            const ui::Color q = shot->pixel(second.left + x, second.top + y);
            sum += (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b)) / 3;
        }
    return sum / (double(width) * height);
}

} // namespace kavo::test
