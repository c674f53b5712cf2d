#include "platform/ui/Path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::ui {

namespace {
// Segments per full turn of an arc; fine enough for the sizes drawn on a screen.
constexpr int segmentsPerTurn = 64;
constexpr double twoPi = 2 * std::numbers::pi;
} // namespace

void Path::moveTo(Point p) {
    subpaths_.push_back({{p}, false});
}

void Path::lineTo(Point p) {
    if (subpaths_.empty() || subpaths_.back().closed) {
        moveTo(p);
        return;
    }
    subpaths_.back().points.push_back(p);
}

void Path::close() {
    if (!subpaths_.empty()) subpaths_.back().closed = true;
}

void Path::addRect(const Rect& r) {
    moveTo({r.minX(), r.minY()});
    lineTo({r.maxX(), r.minY()});
    lineTo({r.maxX(), r.maxY()});
    lineTo({r.minX(), r.maxY()});
    close();
}

void Path::addRoundedRect(const Rect& r, double radius) {
    radius = std::clamp(radius, 0.0, std::min(r.width(), r.height()) / 2);
    if (radius <= 0) {
        addRect(r);
        return;
    }
    const double pi = std::numbers::pi;
    // From the middle of the right edge through each corner in turn.
    moveTo({r.maxX(), r.midY()});
    addArc({r.maxX() - radius, r.maxY() - radius}, radius, 0, pi / 2, true);
    addArc({r.minX() + radius, r.maxY() - radius}, radius, pi / 2, pi, true);
    addArc({r.minX() + radius, r.minY() + radius}, radius, pi, 3 * pi / 2, true);
    addArc({r.maxX() - radius, r.minY() + radius}, radius, 3 * pi / 2, twoPi, true);
    close();
}

void Path::addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise) {
    if (!std::isfinite(startAngle) || !std::isfinite(endAngle) || !std::isfinite(radius)) return;
    // The sweep in the direction of travel, reduced to at most one turn.
    double sweep = endAngle - startAngle;
    if (clockwise) {
        if (sweep < 0) sweep = std::fmod(sweep, twoPi) + twoPi;
        sweep = std::min(sweep, twoPi);
    } else {
        if (sweep > 0) sweep = std::fmod(sweep, twoPi) - twoPi;
        sweep = std::max(sweep, -twoPi);
    }
    int steps = std::max(1, int(std::ceil(std::fabs(sweep) / twoPi * segmentsPerTurn)));
    for (int i = 0; i <= steps; ++i) {
        double angle = startAngle + sweep * i / steps;
        Point p{center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
        if (i == 0 && (subpaths_.empty() || subpaths_.back().closed))
            moveTo(p);
        else
            lineTo(p);
    }
}

void Path::addEllipse(const Rect& r) {
    Point c = r.center();
    double rx = r.width() / 2, ry = r.height() / 2;
    for (int i = 0; i < segmentsPerTurn; ++i) {
        double angle = twoPi * i / segmentsPerTurn;
        Point p{c.x + rx * std::cos(angle), c.y + ry * std::sin(angle)};
        if (i == 0)
            moveTo(p);
        else
            lineTo(p);
    }
    close();
}

Path Path::pieSector(Point center, double radius, double startAngle, double endAngle) {
    Path path;
    path.moveTo(center);
    path.addArc(center, radius, startAngle, endAngle, true);
    path.close();
    return path;
}

std::vector<std::vector<Point>> Path::flatten() const {
    std::vector<std::vector<Point>> out;
    for (const Subpath& sub : subpaths_)
        out.push_back(sub.points);
    return out;
}

Rect Path::bounds() const {
    bool any = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const Subpath& sub : subpaths_) {
        for (const Point& p : sub.points) {
            if (!any) {
                x0 = x1 = p.x;
                y0 = y1 = p.y;
                any = true;
            }
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

Path Path::transformed(const AffineTransform& t) const {
    Path out = *this;
    for (Subpath& sub : out.subpaths_)
        for (Point& p : sub.points)
            p = t.apply(p);
    return out;
}

bool Path::contains(Point p) const {
    bool inside = false;
    for (const Subpath& sub : subpaths_) {
        const auto& pts = sub.points;
        if (pts.empty()) continue;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const Point& a = pts[i];
            const Point& b = pts[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
    }
    return inside;
}

} // namespace platform::ui
