#include "table/base/BubblePlace.h"

#include "app/widgets/CustomLabel.h"
#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kavo {

namespace ui = platform::ui;

namespace {

// The bubble's picture points down at its seat: the text stands a little above the middle.
constexpr double kTail = 4;
// Above and below the text, together.
constexpr double kPadding = 20;
// The widths a line wraps within, in turn, where a wider bubble finds no room.
constexpr double kWraps[] = {BubblePlace::kTextWidth, 200, 150};

// How much a bubble at `place` costs: nothing where it lies on nothing of the table; the
// area of the pictures it lies on (only when `spared` lets it); none at all where it lies
// on a text, a button, another bubble or across the edge of a picture carrying it.
std::optional<double> coveredArea(const ui::Rect& place, const BubbleRoom& room, bool spared) {
    for (const ui::Rect& taken : room.clearOf)
        if (place.intersects(taken)) return std::nullopt;
    for (const ui::Rect& carrier : room.carriers)
        if (place.intersects(carrier) && !carrier.contains(place)) return std::nullopt;
    double area = 0;
    for (const ui::Rect& picture : room.rather) {
        const ui::Rect under = place.intersection(picture);
        if (under.isEmpty()) continue;
        if (!spared) return std::nullopt;
        area += under.width() * under.height();
    }
    return area;
}

// Where a bubble of `size` lies inside the window and clear of `room`, as near to `wanted`
// as it can (and, over pictures, on as little of them as it can); the places tried lie a
// few points apart, and at the window's far edges.
std::optional<ui::Point> bestPlace(ui::Point wanted, ui::Size size, ui::Size window, const BubbleRoom& room,
                                   bool spared) {
    const double maxX = std::max(0.0, window.width - size.width);
    const double maxY = std::max(0.0, window.height - size.height);
    wanted = {std::clamp(wanted.x, 0.0, maxX), std::clamp(wanted.y, 0.0, maxY)};
    if (coveredArea({wanted.x, wanted.y, size.width, size.height}, room, spared) == 0.0) return wanted;
    const double step = std::max(5.0, window.width / 96);
    std::optional<ui::Point> best;
    double bestCost = 0;
    auto consider = [&](double x, double y) {
        const double distance = std::hypot(x - wanted.x, y - wanted.y);
        if (best && distance >= bestCost) return;
        const std::optional<double> area = coveredArea({x, y, size.width, size.height}, room, spared);
        if (!area || (best && *area + distance >= bestCost)) return;
        best = ui::Point{x, y};
        bestCost = *area + distance;
    };
    for (double y = 0;; y = std::min(y + step, maxY)) {
        for (double x = 0;; x = std::min(x + step, maxX)) {
            consider(x, y);
            if (x >= maxX) break;
        }
        consider(wanted.x, y);
        if (y >= maxY) break;
    }
    for (double x = 0;; x = std::min(x + step, maxX)) {
        consider(x, wanted.y);
        if (x >= maxX) break;
    }
    return best;
}

} // namespace

ui::Point BubblePlace::home(ui::Point origin) const {
    const bool ours = moved_ && origin.x == at_.x && origin.y == at_.y;
    return ours ? home_ : origin;
}

bool BubblePlace::show(ui::View& bubble, CustomLabel& label, const Stand& stand, ui::Size window) {
    label.setNumberOfLines(0);
    const ui::Point layout = home(bubble.frame().origin);
    // Clear of the table's pictures too where it can be, at any width; else, alone on the
    // table, over as little of them as it can. With other bubbles up it waits for them.
    for (const bool spared : {false, true}) {
        if (spared && stand.room.othersShown) break;
        for (const double wrap : kWraps) {
            const ui::Size text = label.sizeThatFits({wrap, 10000});
            const ui::Size size{text.width + 2 * kInset, std::max(kLowest, text.height + kPadding)};
            ui::Point wanted = layout;
            switch (stand.anchor) {
            case Anchor::Origin:
                break;
            case Anchor::RightEdge:
                wanted.x = window.width - stand.margin - size.width;
                break;
            case Anchor::Centre:
                wanted = {stand.centre.x - size.width / 2, stand.centre.y - size.height / 2};
                break;
            }
            const std::optional<ui::Point> origin = bestPlace(wanted, size, window, stand.room, spared);
            if (!origin) continue;
            moved_ = stand.anchor != Anchor::Centre && (origin->x != layout.x || origin->y != layout.y);
            home_ = layout;
            at_ = *origin;
            bubble.setFrame({origin->x, origin->y, size.width, size.height});
            label.setFrame({kInset, (size.height - kTail - text.height) / 2, text.width, text.height});
            return true;
        }
    }
    return false;
}

void BubblePlace::hide(ui::View& bubble) {
    const ui::Rect frame = bubble.frame();
    const ui::Point origin = home(frame.origin);
    moved_ = false;
    bubble.setFrame({origin.x, origin.y, frame.width(), frame.height()});
}

} // namespace kavo
