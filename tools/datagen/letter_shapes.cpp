#include "letter_shapes.h"

#include <cmath>

Outline letterV() {
    return {{-6, -32}, {6, -32}, {25, 32}, {13, 32}, {0, -8}, {-13, 32}, {-25, 32}};
}

Outline letterK() {
    return {{-25, -32}, {-13, -32}, {-13, -10}, {-5, -2}, {11, -32}, {25, -32},
            {4, 4},     {25, 32},   {11, 32},   {-13, 8}, {-13, 32}, {-25, 32}};
}

Outline letterE() {
    return {{-22, -32}, {22, -32}, {22, -21}, {-10, -21}, {-10, -5}, {16, -5},
            {16, 5},    {-10, 5},  {-10, 21}, {22, 21},   {22, 32},  {-22, 32}};
}

// A rounded rectangle (a superellipse) reads better as a letter than an ellipse.
static Outline superellipse(double rx, double ry, int segments) {
    Outline loop;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < segments; ++i) {
        const double angle = 2.0 * pi * i / segments;
        const double c = std::cos(angle), s = std::sin(angle);
        // Exponent 2/3 flattens the sides: |c|^(2/3) keeps the sign of c.
        const double cx = std::copysign(std::pow(std::fabs(c), 2.0 / 3.0), c);
        const double sy = std::copysign(std::pow(std::fabs(s), 2.0 / 3.0), s);
        loop.push_back({rx * cx, ry * sy});
    }
    return loop;
}

Ring letterO(int segments) {
    return {superellipse(24, 32, segments), superellipse(12, 20, segments)};
}

bool insideOutline(const Outline& outline, double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const Point2& a = outline[i];
        const Point2& b = outline[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}
