// The cross-fade mask and the three sprites of the sprite scene. The sprites
// are added onto the portrait, so they glow on pure black, with every edge
// pixel black, and they are small enough (at most 64x64) to stay on screen
// along their paths.
#include <cmath>

#include "pictures.h"

namespace {

constexpr double twoPi = 6.283185307179586;

// 1 inside, fading to exactly 0 at the sprite's edge circle.
double edgeFade(double r, double radius) { return 1.0 - smoothstep(radius * 0.7, radius, r); }

template <typename Glow>
Canvas paintSprite(int size, Glow glow) {
    Canvas c(size, size);
    const double centre = size / 2.0, radius = size / 2.0 - 1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r < radius) c.at(x, y) = glow(dx, dy, r) * edgeFade(r, radius);
        }
    return c;
}

}  // namespace

// Soft blobs made of periodic waves: the mask tiles, so its diagonal scroll
// across the screen shows no seam, and its weights cover the whole 0..255.
Canvas paintMask() {
    constexpr int width = 320, height = 240;
    Canvas c(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = twoPi * (x + 0.5) / width, v = twoPi * (y + 0.5) / height;
            const double f = std::sin(u + 0.6 * std::sin(v)) * std::cos(v) + 0.5 * std::sin(2 * u - v + 1.0) +
                             0.35 * std::cos(u + 2 * v + 0.4);  // within -1.85 .. 1.85
            const double grey = smoothstep(-1.2, 1.2, f);
            c.at(x, y) = Rgb{grey, grey, grey};
        }
    return c;
}

Canvas paintSunOrb() {
    return paintSprite(sunOrbSize, [](double, double, double r) {
        const double core = 1.0 / (1.0 + (r / 7.0) * (r / 7.0));
        const double halo = 1.0 / (1.0 + (r / 14.0) * (r / 14.0));
        const double ring = std::exp(-(r - 20) * (r - 20) / 6.0);
        return Rgb{1.0, 0.95, 0.7} * core + Rgb{1.0, 0.45, 0.1} * (0.7 * halo) + Rgb{1.0, 0.6, 0.2} * (0.35 * ring);
    });
}

Canvas paintStar() {
    return paintSprite(starSize, [](double dx, double dy, double r) {
        const double ax = std::fabs(dx), ay = std::fabs(dy);
        // Four long rays along the axes, four short ones on the diagonals.
        const double straight = 1.0 / (1.0 + ay * ay * 0.8) * (1.0 - ax / 27.0) + 1.0 / (1.0 + ax * ax * 0.8) * (1.0 - ay / 27.0);
        const double d1 = std::fabs(dx - dy) / std::sqrt(2.0), d2 = std::fabs(dx + dy) / std::sqrt(2.0);
        const double diagonal = (1.0 / (1.0 + d1 * d1) + 1.0 / (1.0 + d2 * d2)) * std::max(0.0, 1.0 - r / 14.0);
        const double core = 1.0 / (1.0 + (r / 4.0) * (r / 4.0));
        const double rays = std::max(0.0, straight) * 0.8 + diagonal * 0.5;
        return Rgb{0.9, 1.0, 1.0} * core + Rgb{0.3, 0.85, 1.0} * rays + Rgb{0.1, 0.3, 0.9} * (0.3 / (1.0 + r * r / 80.0));
    });
}

// A small planet with a tilted ring, lit from the upper left.
Canvas paintRingedOrb() {
    return paintSprite(ringedOrbSize, [](double dx, double dy, double r) {
        const double planetRadius = 10;
        Rgb colour = Rgb{0.6, 0.1, 0.7} * (0.5 / (1.0 + (r / 12.0) * (r / 12.0)));  // a violet halo
        // The ring: an ellipse tilted by about 20 degrees.
        const double c = 0.94, s = 0.34;
        const double rx = dx * c + dy * s, ry = (-dx * s + dy * c) * 3.2;
        const double ringR = std::sqrt(rx * rx + ry * ry);
        const double ring = std::exp(-(ringR - 17) * (ringR - 17) / 5.0);
        const bool behind = ry < 0 && r < planetRadius;  // the far half of the ring is hidden
        if (r < planetRadius + 0.5) {
            const double cover = clamp01(planetRadius - r + 0.5);
            const double nx = dx / planetRadius, ny = dy / planetRadius;
            const double light = clamp01(0.35 + 0.65 * (-0.6 * nx - 0.6 * ny + 0.5 * std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny))));
            colour = mix(colour, Rgb{1.0, 0.35, 0.8} * light + Rgb{0.15, 0.0, 0.25}, cover);
        }
        if (!behind) colour = colour + Rgb{1.0, 0.8, 1.0} * (0.9 * ring);
        return colour;
    });
}
