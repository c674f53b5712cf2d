#pragma once

#include "platform/ui/Geometry.h"

#include <vector>

namespace platform::ui {

// An outline made of straight segments (curves are flattened when added). Angles are in
// radians from the +x axis and grow clockwise on the screen (y grows downwards).
class Path {
public:
    struct Subpath {
        std::vector<Point> points;
        bool closed = false;
    };

    void moveTo(Point p);
    // Starts a subpath at `p` when there is none.
    void lineTo(Point p);
    void addRect(const Rect& rect);
    // A radius of 0 is a plain rectangle; the radius is limited to half the shorter side.
    void addRoundedRect(const Rect& rect, double radius);
    // Continues the current subpath (with a line to the arc's start) or starts one.
    // `clockwise` follows growing angles; an arc goes at most once around.
    void addArc(Point center, double radius, double startAngle, double endAngle, bool clockwise);
    void addEllipse(const Rect& rect);
    void close();

    // The sector from the centre along the clockwise arc from `start` to `end`.
    static Path pieSector(Point center, double radius, double startAngle, double endAngle);

    const std::vector<Subpath>& subpaths() const { return subpaths_; }
    // Every subpath as a polygon (closed or not).
    std::vector<std::vector<Point>> flatten() const;
    Rect bounds() const;
    bool isEmpty() const { return subpaths_.empty(); }
    Path transformed(const AffineTransform& t) const;
    // Even-odd fill rule.
    bool contains(Point p) const;

private:
    std::vector<Subpath> subpaths_;
};

} // namespace platform::ui
