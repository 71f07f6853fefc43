#pragma once
#include <functional>
#include <vector>

#include "canvas.h"
#include "letter_shapes.h"

// A filled region bounded by one or more loops (even-odd rule, so an inner
// loop cuts a hole), in pixel coordinates.
struct Shape {
    std::vector<Outline> loops;
};

// The shape moved by (dx, dy) after scaling by (sx, sy) about the origin;
// a negative sy turns y-up outline units into the picture's y-down rows.
Shape placedShape(const Shape& shape, double sx, double sy, double dx, double dy);

// Signed distance from every pixel centre to the shape's boundary: negative
// inside, positive outside, clamped to [-reach, reach].
Layer signedDistance(int width, int height, const Shape& shape, double reach);

using Paint = std::function<Rgb(int x, int y)>;

// The inside, anti-aliased, grown by `grow` pixels (negative shrinks it).
void fillShape(Canvas& canvas, const Layer& distance, double grow, const Paint& fill, double alpha = 1.0);

// A polyline stroked with round joins, `radius` pixels either side of it; the
// paint gets the position along the line (0 at the start, 1 at the end).
using LinePaint = std::function<Rgb(int x, int y, double along)>;
void strokePolyline(Canvas& canvas, const std::vector<Point2>& points, double radius, const LinePaint& paint,
                    double alpha = 1.0);
