#include "platform/render/ScanlineFill.h"

#include <algorithm>
#include <cmath>

namespace platform::render {

namespace {

struct Edge {
    double x0, y0, x1, y1;
    int direction; // +1 going down the screen, -1 going up
};

struct Crossing {
    double x;
    int direction;
};

} // namespace

double signedArea2(const DevicePolygon& polygon) {
    double area = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const SDL_FPoint& a = polygon[i];
        const SDL_FPoint& b = polygon[(i + 1) % polygon.size()];
        area += double(a.x) * b.y - double(b.x) * a.y;
    }
    return area;
}

std::vector<SDL_Rect> scanlineSpans(const std::vector<DevicePolygon>& polygons, const SDL_Rect& limit) {
    std::vector<SDL_Rect> spans;
    if (limit.w <= 0 || limit.h <= 0) return spans;

    std::vector<Edge> edges;
    double minY = INFINITY, maxY = -INFINITY;
    for (const DevicePolygon& polygon : polygons) {
        if (polygon.size() < 3) continue;
        for (size_t i = 0; i < polygon.size(); ++i) {
            const SDL_FPoint& a = polygon[i];
            const SDL_FPoint& b = polygon[(i + 1) % polygon.size()];
            if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) continue;
            if (a.y == b.y) continue; // horizontal edges never cross a scanline centre
            if (a.y < b.y) {
                edges.push_back({a.x, a.y, b.x, b.y, +1});
            } else {
                edges.push_back({b.x, b.y, a.x, a.y, -1});
            }
            minY = std::min({minY, double(a.y), double(b.y)});
            maxY = std::max({maxY, double(a.y), double(b.y)});
        }
    }
    if (edges.empty()) return spans;

    // Rows whose centre (row + 0.5) lies inside [minY, maxY), kept inside the limit.
    const int firstRow = std::max(limit.y, int(std::ceil(std::max(minY, double(limit.y)) - 0.5)));
    const int lastRow =
        std::min(limit.y + limit.h - 1, int(std::ceil(std::min(maxY, double(limit.y + limit.h)) - 0.5)) - 1);
    const double left = limit.x, right = double(limit.x) + limit.w;

    // Edges sorted by their top; the active list holds those crossing the current row.
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    size_t nextEdge = 0;
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    for (int row = firstRow; row <= lastRow; ++row) {
        const double centre = row + 0.5;
        while (nextEdge < edges.size() && edges[nextEdge].y0 <= centre)
            active.push_back(&edges[nextEdge++]);
        std::erase_if(active, [centre](const Edge* edge) { return edge->y1 <= centre; });
        crossings.clear();
        for (const Edge* edge : active) {
            const double t = (centre - edge->y0) / (edge->y1 - edge->y0);
            crossings.push_back({edge->x0 + t * (edge->x1 - edge->x0), edge->direction});
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });

        int winding = 0;
        double start = 0;
        for (const Crossing& crossing : crossings) {
            const int before = winding;
            winding += crossing.direction;
            if (before == 0 && winding != 0) {
                start = crossing.x;
            } else if (before != 0 && winding == 0) {
                // Pixel columns whose centre lies in [start, crossing.x).
                const double from = std::clamp(start, left, right);
                const double to = std::clamp(crossing.x, left, right);
                const int x0 = int(std::ceil(from - 0.5));
                const int x1 = int(std::ceil(to - 0.5));
                if (x1 > x0) spans.push_back({x0, row, x1 - x0, 1});
            }
        }
    }
    return spans;
}

} // namespace platform::render
