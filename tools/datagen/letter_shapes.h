#pragma once
#include <vector>

// The outlines of the group's letters, shared by the letter meshes and the
// logo picture so that both show the same V, O and K. Units: the letters
// stand 64 units tall, from y = -32 to y = 32 with y upwards, centred on x = 0.
struct Point2 {
    double x, y;
};

using Outline = std::vector<Point2>;  // a simple polygon, counter-clockwise

Outline letterV();
Outline letterK();
Outline letterE();

// The O is a ring: an outer and an inner loop with the same number of points,
// both counter-clockwise, point i of one facing point i of the other.
struct Ring {
    Outline outer, inner;
};
Ring letterO(int segments);

// True when (x, y) lies inside the polygon (even-odd rule).
bool insideOutline(const Outline& outline, double x, double y);
