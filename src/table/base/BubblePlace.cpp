#include "table/base/BubblePlace.h"

#include "app/widgets/CustomLabel.h"
#include "platform/ui/View.h"
#include "table/base/BubbleText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <tuple>

namespace kavo {

namespace ui = platform::ui;

namespace {

// The bubble's picture points down at its seat: the text stands a little above the middle.
constexpr double kTail = 4;
// Above and below the text, together.
constexpr double kPadding = 20;
// The widths a line wraps within, in turn, where a larger bubble finds no place.
constexpr double kWraps[] = {BubblePlace::kTextWidth, 200, 150, 100};
// Over pictures, a bubble moves a point further rather than cover 20 more square points of
// them, and 40 points rather than lie across the edge of the felt or the board.
constexpr double kAreaPerPoint = 20;
constexpr double kAcrossAnEdge = 40;

// How far apart two rectangles are (0 when they touch or overlap).
double gap(const ui::Rect& a, const ui::Rect& b) {
    const double dx = std::max({0.0, b.minX() - a.maxX(), a.minX() - b.maxX()});
    const double dy = std::max({0.0, b.minY() - a.maxY(), a.minY() - b.maxY()});
    return std::hypot(dx, dy);
}

// A bubble at `place` stands by its speaker: nearer his seat than any other seat taken.
bool bySpeaker(const ui::Rect& place, const BubblePlace::Stand& stand) {
    if (stand.speaker < 0 || size_t(stand.speaker) >= stand.seats.size()) return true;
    const double own = gap(place, stand.seats[size_t(stand.speaker)]);
    for (size_t seat = 0; seat < stand.seats.size(); ++seat)
        if (int(seat) != stand.speaker && !stand.seats[seat].isEmpty() && gap(place, stand.seats[seat]) <= own)
            return false;
    return true;
}

// What a bubble at `place` costs beyond its move: nothing where it lies on nothing of the
// table; with `spared`, the pictures it lies on and the edge it lies across; none at all
// where it lies on a text, a button or another bubble, or, unless spared, on a picture or
// across the edge of one carrying it.
std::optional<double> coverCost(const ui::Rect& place, const BubbleRoom& room, bool spared) {
    for (const ui::Rect& taken : room.clearOf)
        if (place.intersects(taken)) return std::nullopt;
    double cost = 0;
    for (const ui::Rect& carrier : room.carriers) {
        if (!place.intersects(carrier) || carrier.contains(place)) continue;
        if (!spared) return std::nullopt;
        cost += kAcrossAnEdge;
    }
    for (const ui::Rect& picture : room.rather) {
        const ui::Rect under = place.intersection(picture);
        if (under.isEmpty()) continue;
        if (!spared) return std::nullopt;
        cost += under.width() * under.height() / kAreaPerPoint;
    }
    return cost;
}

// The places a bubble of `size` may take inside the window, nearest `wanted` first: a few
// points apart, along `wanted`'s row and column, at the window's far edges, and against each
// edge of what it must keep clear of (a gap between two things may be only a little wider
// than the bubble).
std::vector<std::tuple<double, ui::Point>> placesAround(ui::Point wanted, ui::Size size, ui::Size window,
                                                        const BubbleRoom& room) {
    const double maxX = std::max(0.0, window.width - size.width);
    const double maxY = std::max(0.0, window.height - size.height);
    const double step = std::max(5.0, window.width / 96);
    std::vector<double> xs{wanted.x, maxX}, ys{wanted.y, maxY};
    for (double x = 0; x < maxX; x += step)
        xs.push_back(x);
    for (double y = 0; y < maxY; y += step)
        ys.push_back(y);
    for (const auto* rects : {&room.clearOf, &room.rather}) {
        for (const ui::Rect& taken : *rects) {
            for (double x : {taken.maxX(), taken.minX() - size.width})
                if (x >= 0 && x <= maxX) xs.push_back(x);
            for (double y : {taken.maxY(), taken.minY() - size.height})
                if (y >= 0 && y <= maxY) ys.push_back(y);
        }
    }
    for (auto* axis : {&xs, &ys}) {
        std::sort(axis->begin(), axis->end());
        axis->erase(std::unique(axis->begin(), axis->end()), axis->end());
    }
    std::vector<std::tuple<double, ui::Point>> places;
    places.reserve(xs.size() * ys.size());
    for (double y : ys)
        for (double x : xs)
            places.emplace_back(std::hypot(x - wanted.x, y - wanted.y), ui::Point{x, y});
    std::sort(places.begin(), places.end(),
              [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
    return places;
}

ui::Point clamped(ui::Point wanted, ui::Size size, ui::Size window) {
    return {std::clamp(wanted.x, 0.0, std::max(0.0, window.width - size.width)),
            std::clamp(wanted.y, 0.0, std::max(0.0, window.height - size.height))};
}

// The place by its speaker, inside the window and clear, that costs least: its move from
// `wanted` and, when `spared`, the pictures it covers. None when no place is clear.
std::optional<ui::Point> clearPlace(ui::Point wanted, ui::Size size, ui::Size window, const BubblePlace::Stand& stand,
                                    bool spared) {
    wanted = clamped(wanted, size, window);
    std::optional<ui::Point> best;
    double bestCost = 0;
    for (const auto& [moved, at] : placesAround(wanted, size, window, stand.room)) {
        if (best && moved >= bestCost) break;
        const ui::Rect place{at.x, at.y, size.width, size.height};
        if (!bySpeaker(place, stand)) continue;
        const std::optional<double> cost = coverCost(place, stand.room, spared);
        if (!cost || (best && *cost + moved >= bestCost)) continue;
        best = at;
        bestCost = *cost + moved;
    }
    return best;
}

// Where no place is clear: the place by its speaker that lies on the least of what must stay
// in sight, nearest `wanted` among equals; `wanted` itself when none is by him.
ui::Point leastCovered(ui::Point wanted, ui::Size size, ui::Size window, const BubblePlace::Stand& stand) {
    wanted = clamped(wanted, size, window);
    std::optional<ui::Point> best;
    double bestCovered = 0;
    for (const auto& [moved, at] : placesAround(wanted, size, window, stand.room)) {
        const ui::Rect place{at.x, at.y, size.width, size.height};
        if (!bySpeaker(place, stand)) continue;
        double covered = 0;
        for (const ui::Rect& taken : stand.room.clearOf) {
            const ui::Rect under = place.intersection(taken);
            if (!under.isEmpty()) covered += under.width() * under.height();
        }
        if (!best || covered < bestCovered) {
            best = at;
            bestCovered = covered;
        }
    }
    return best.value_or(wanted);
}

// One way the bubble may hold its lines: what it shows, wrapped within `wrap`, and its size.
struct Holding {
    BubbleText text;
    double wrap = 0;
    ui::Size textSize{};
    ui::Size size{};
    // How much of the lines it shows.
    size_t shown = 0;
};

} // namespace

ui::Point BubblePlace::home(ui::Point origin) const {
    const bool ours = moved_ && origin.x == at_.x && origin.y == at_.y;
    return ours ? home_ : origin;
}

BubblePlace::Showing BubblePlace::show(ui::View& bubble, CustomLabel& label, const std::vector<std::string>& waiting,
                                       const Stand& stand, ui::Size window) {
    if (waiting.empty()) return {};
    label.setNumberOfLines(0);
    const ui::Point layout = home(bubble.frame().origin);
    // Every way to hold the lines, the one that shows the most first: more lines, then wider.
    std::vector<Holding> holdings;
    for (int lines = std::clamp(stand.mostLines, 1, kMostLines); lines >= 1; --lines) {
        for (const double wrap : kWraps) {
            if (wrap > stand.widest && wrap != kWraps[std::size(kWraps) - 1]) continue;
            Holding holding{BubbleText::fit(waiting, lines, wrap, label.font(), label.emoticons()), wrap};
            label.setText(holding.text.text);
            holding.textSize = label.sizeThatFits({wrap, 10000});
            holding.size = {holding.textSize.width + 2 * kInset, std::max(kLowest, holding.textSize.height + kPadding)};
            holding.shown = holding.text.text.size() - (holding.text.cut ? std::strlen(BubbleText::kMore) : 0);
            const bool known = std::any_of(holdings.begin(), holdings.end(), [&](const Holding& other) {
                return other.text.text == holding.text.text && other.size.width == holding.size.width &&
                       other.size.height == holding.size.height;
            });
            if (!known) holdings.push_back(std::move(holding));
        }
    }
    std::stable_sort(holdings.begin(), holdings.end(),
                     [](const Holding& a, const Holding& b) { return a.shown > b.shown; });
    const auto wantedFor = [&](ui::Size size) {
        switch (stand.anchor) {
        case Anchor::RightEdge:
            return ui::Point{window.width - stand.margin - size.width, layout.y};
        case Anchor::Centre:
            return ui::Point{stand.centre.x - size.width / 2, stand.centre.y - size.height / 2};
        case Anchor::Origin:
            break;
        }
        return layout;
    };
    const auto take = [&](const Holding& holding, ui::Point origin, bool clear) {
        moved_ = stand.anchor != Anchor::Centre && (origin.x != layout.x || origin.y != layout.y);
        home_ = layout;
        at_ = origin;
        bubble.setFrame({origin.x, origin.y, holding.size.width, holding.size.height});
        label.setText(holding.text.text);
        label.setFrame({kInset, (holding.size.height - kTail - holding.textSize.height) / 2, holding.textSize.width,
                        holding.textSize.height});
        return Showing{holding.text.taken, clear};
    };
    // Every line whole where a place by the speaker is clear, of the table's pictures too
    // where it can be, else over as little of them as it can; failing that, as much as
    // such a place takes, off the pictures before over them.
    const auto whole = [&](const Holding& holding) {
        return holding.text.taken == waiting.size() && !holding.text.cut;
    };
    for (const bool wholeOnly : {true, false}) {
        for (const bool spared : {false, true}) {
            for (const Holding& holding : holdings) {
                if (whole(holding) != wholeOnly) continue;
                if (const auto origin = clearPlace(wantedFor(holding.size), holding.size, window, stand, spared))
                    return take(holding, *origin, true);
            }
        }
    }
    // Nowhere clear: the smallest bubble, where it covers the least, still by its speaker.
    const Holding& smallest = holdings.back();
    return take(smallest, leastCovered(wantedFor(smallest.size), smallest.size, window, stand), false);
}

void BubblePlace::hide(ui::View& bubble) {
    const ui::Rect frame = bubble.frame();
    const ui::Point origin = home(frame.origin);
    moved_ = false;
    bubble.setFrame({origin.x, origin.y, frame.width(), frame.height()});
}

} // namespace kavo
