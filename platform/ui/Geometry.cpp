#include "platform/ui/Geometry.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

bool Rect::contains(Point p) const {
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::contains(const Rect& other) const {
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() && other.maxY() <= maxY();
}

bool Rect::intersects(const Rect& other) const {
    return !intersection(other).isEmpty();
}

Rect Rect::intersection(const Rect& other) const {
    double x0 = std::max(minX(), other.minX());
    double y0 = std::max(minY(), other.minY());
    double x1 = std::min(maxX(), other.maxX());
    double y1 = std::min(maxY(), other.maxY());
    if (x1 <= x0 || y1 <= y0) return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

Rect Rect::unionWith(const Rect& other) const {
    if (isEmpty()) return other;
    if (other.isEmpty()) return *this;
    double x0 = std::min(minX(), other.minX());
    double y0 = std::min(minY(), other.minY());
    double x1 = std::max(maxX(), other.maxX());
    double y1 = std::max(maxY(), other.maxY());
    return {x0, y0, x1 - x0, y1 - y0};
}

Rect Rect::insetBy(double dx, double dy) const {
    return {origin.x + dx, origin.y + dy, size.width - 2 * dx, size.height - 2 * dy};
}

Rect Rect::offsetBy(double dx, double dy) const {
    return {origin.x + dx, origin.y + dy, size.width, size.height};
}

Rect insetRect(const Rect& rect, const EdgeInsets& insets) {
    return {rect.x() + insets.left, rect.y() + insets.top, rect.width() - insets.left - insets.right,
            rect.height() - insets.top - insets.bottom};
}

AffineTransform AffineTransform::translation(double tx, double ty) {
    return {1, 0, 0, 1, tx, ty};
}

AffineTransform AffineTransform::scale(double sx, double sy) {
    return {sx, 0, 0, sy, 0, 0};
}

AffineTransform AffineTransform::rotation(double radians) {
    double c = std::cos(radians);
    double s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

AffineTransform AffineTransform::concat(const AffineTransform& o) const {
    // Row-vector convention: p * this * other.
    return {a * o.a + b * o.c, a * o.b + b * o.d,          c * o.a + d * o.c,
            c * o.b + d * o.d, tx * o.a + ty * o.c + o.tx, tx * o.b + ty * o.d + o.ty};
}

AffineTransform AffineTransform::translated(double x, double y) const {
    return translation(x, y).concat(*this);
}

AffineTransform AffineTransform::scaled(double sx, double sy) const {
    return scale(sx, sy).concat(*this);
}

AffineTransform AffineTransform::rotated(double radians) const {
    return rotation(radians).concat(*this);
}

bool AffineTransform::isInvertible() const {
    return std::fabs(a * d - b * c) > 1e-12;
}

AffineTransform AffineTransform::invert() const {
    double det = a * d - b * c;
    if (std::fabs(det) <= 1e-12) return *this;
    double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return {ia, ib, ic, id, -(tx * ia + ty * ic), -(tx * ib + ty * id)};
}

Point AffineTransform::apply(Point p) const {
    return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
}

Size AffineTransform::apply(Size s) const {
    return {a * s.width + c * s.height, b * s.width + d * s.height};
}

Rect AffineTransform::apply(const Rect& r) const {
    Point corners[4] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                        apply(Point{r.minX(), r.maxY()}), apply(Point{r.maxX(), r.maxY()})};
    double x0 = corners[0].x, x1 = corners[0].x, y0 = corners[0].y, y1 = corners[0].y;
    for (const Point& p : corners) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

} // namespace platform::ui
