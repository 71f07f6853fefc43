#include "shape_painter.h"

#include <algorithm>
#include <cmath>

namespace {

// Distance from (px, py) to the segment a-b, and where along it the nearest point lies.
double segmentDistance(double px, double py, Point2 a, Point2 b, double* along) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0) t = std::clamp(((px - a.x) * dx + (py - a.y) * dy) / lengthSquared, 0.0, 1.0);
    if (along) *along = t;
    const double ex = px - (a.x + t * dx), ey = py - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

bool insideShape(const Shape& shape, double x, double y) {
    bool inside = false;
    for (const Outline& loop : shape.loops)
        if (insideOutline(loop, x, y)) inside = !inside;
    return inside;
}

}  // namespace

Shape placedShape(const Shape& shape, double sx, double sy, double dx, double dy) {
    Shape placed;
    for (const Outline& loop : shape.loops) {
        Outline moved;
        for (const Point2& p : loop) moved.push_back({p.x * sx + dx, p.y * sy + dy});
        placed.loops.push_back(moved);
    }
    return placed;
}

Layer signedDistance(int width, int height, const Shape& shape, double reach) {
    Layer field(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            double nearest = reach;
            for (const Outline& loop : shape.loops)
                for (size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++)
                    nearest = std::min(nearest, segmentDistance(px, py, loop[j], loop[i], nullptr));
            field.at(x, y) = insideShape(shape, px, py) ? -nearest : nearest;
        }
    return field;
}

void fillShape(Canvas& canvas, const Layer& distance, double grow, const Paint& fill, double alpha) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const double coverage = clamp01(grow - distance.at(x, y) + 0.5);
            if (coverage > 0) canvas.blend(x, y, fill(x, y), coverage * alpha);
        }
}

void strokePolyline(Canvas& canvas, const std::vector<Point2>& points, double radius, const LinePaint& paint,
                    double alpha) {
    if (points.size() < 2) return;
    double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const Point2& p : points) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(minX - radius - 1)));
    const int x1 = std::min(canvas.width() - 1, static_cast<int>(std::ceil(maxX + radius + 1)));
    const int y0 = std::max(0, static_cast<int>(std::floor(minY - radius - 1)));
    const int y1 = std::min(canvas.height() - 1, static_cast<int>(std::ceil(maxY + radius + 1)));
    const double segments = static_cast<double>(points.size() - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double nearest = radius + 1, nearestAlong = 0;
            for (size_t i = 0; i + 1 < points.size(); ++i) {
                double t = 0;
                const double d = segmentDistance(x + 0.5, y + 0.5, points[i], points[i + 1], &t);
                if (d < nearest) nearest = d, nearestAlong = (static_cast<double>(i) + t) / segments;
            }
            const double coverage = clamp01(radius - nearest + 0.5);
            if (coverage > 0) canvas.blend(x, y, paint(x, y, nearestAlong), coverage * alpha);
        }
}
