#pragma once

namespace platform::ui {

// Points are in screen points (the phone screen is 480 x 320 in landscape); y grows downwards.
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(double x, double y, double w, double h) : origin{x, y}, size{w, h} {}
    Rect(Point o, Size s) : origin(o), size(s) {}

    double x() const { return origin.x; }
    double y() const { return origin.y; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    // The min/max functions assume a non-negative size, which is all this layer makes.
    double minX() const { return origin.x; }
    double midX() const { return origin.x + size.width / 2; }
    double maxX() const { return origin.x + size.width; }
    double minY() const { return origin.y; }
    double midY() const { return origin.y + size.height / 2; }
    double maxY() const { return origin.y + size.height; }
    Point center() const { return {midX(), midY()}; }

    // Half-open: a point on the right or bottom edge is outside.
    bool contains(Point p) const;
    bool contains(const Rect& other) const;
    bool intersects(const Rect& other) const;
    // An empty rectangle (all zero) when they do not overlap.
    Rect intersection(const Rect& other) const;
    // The smallest rectangle holding both; an empty rectangle counts as nothing.
    Rect unionWith(const Rect& other) const;
    Rect insetBy(double dx, double dy) const;
    Rect offsetBy(double dx, double dy) const;
    bool isEmpty() const { return size.width <= 0 || size.height <= 0; }

    bool operator==(const Rect&) const = default;
};

struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;
    bool operator==(const EdgeInsets&) const = default;
};

// The rectangle with the insets taken off each side.
Rect insetRect(const Rect& rect, const EdgeInsets& insets);

// A 2-D affine map: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
struct AffineTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform translation(double tx, double ty);
    static AffineTransform scale(double sx, double sy);
    // Positive angles turn clockwise on the screen (y grows downwards).
    static AffineTransform rotation(double radians);

    // This transform followed by `other`.
    AffineTransform concat(const AffineTransform& other) const;
    // `translation/scale/rotation` applied first, then this transform.
    AffineTransform translated(double x, double y) const;
    AffineTransform scaled(double sx, double sy) const;
    AffineTransform rotated(double radians) const;
    // The inverse; a singular transform returns itself unchanged.
    AffineTransform invert() const;
    bool isInvertible() const;

    Point apply(Point p) const;
    // Sizes ignore the translation.
    Size apply(Size s) const;
    // The bounding box of the mapped corners.
    Rect apply(const Rect& r) const;
    bool isIdentity() const { return *this == AffineTransform{}; }

    bool operator==(const AffineTransform&) const = default;
};

} // namespace platform::ui
