// vok_lomur.pcx: a dark liquid marble of teal and violet veins. It stays dark
// enough for the wireframe letters that are added onto it to stand out, and
// it tiles at the picture's edges, where the wave warp wraps round.
#include <cmath>

#include "pictures.h"

namespace {

constexpr int width = 320, height = 240;
constexpr double twoPi = 6.283185307179586;

// Periodic in x over the width and in y over the height.
double marbleField(double x, double y) {
    const double u = twoPi * x / width, v = twoPi * y / height;
    const double warpU = u + 0.9 * std::sin(v * 2 + std::cos(u * 1)) + 0.4 * std::cos(u * 3 - v);
    const double warpV = v + 0.8 * std::cos(u * 2 - std::sin(v * 1)) + 0.3 * std::sin(v * 3 + u * 2);
    return std::sin(warpU * 2 + warpV) + 0.6 * std::sin(warpV * 3 - warpU) + 0.3 * std::cos(warpU * 5 + warpV * 4);
}

Rgb marblePalette(double t) {  // t in 0..1
    const Rgb deep = hexColour(0x040716), teal = hexColour(0x0c4a66), violet = hexColour(0x4a2180),
              rose = hexColour(0xa04a9a);
    if (t < 0.4) return mix(deep, teal, t / 0.4);
    if (t < 0.75) return mix(teal, violet, (t - 0.4) / 0.35);
    return mix(violet, rose, (t - 0.75) / 0.25);
}

}  // namespace

Canvas paintMarble() {
    Canvas c(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (int sy = 0; sy < 2; ++sy)
                for (int sx = 0; sx < 2; ++sx) {
                    const double f = marbleField(x + 0.25 + 0.5 * sx, y + 0.25 + 0.5 * sy);  // about -1.9 .. 1.9
                    const Rgb colour = marblePalette(clamp01((f + 1.9) / 3.8));
                    // Thin bright veins along the bands of the field.
                    const double vein = std::pow(1.0 - std::fabs(std::sin(f * 4.0)), 6.0);
                    sum = sum + colour + hexColour(0x7fe0ff) * (0.3 * vein);
                }
            c.at(x, y) = sum * (0.7 / 4);
        }
    return c;
}
