// vok_vesk.pcx: a view into the Mandelbrot set's boundary above the main
// cardioid, where filaments branch across the whole picture: fine structure
// everywhere the lens travels, in a palette that cycles through the show's
// colours, with the dark bulbs of the set at the lower right.
#include <cmath>
#include <cstdint>

#include "pictures.h"

namespace {

constexpr int width = 320, height = 240;
constexpr int maxIterations = 700;
constexpr double centreX = -0.722, centreY = 0.246, spanX = 0.02;

// Smooth escape count, or a negative value inside the set.
double escape(double cr, double ci) {
    double zr = 0, zi = 0;
    for (int n = 0; n < maxIterations; ++n) {
        const double zr2 = zr * zr, zi2 = zi * zi;
        if (zr2 + zi2 > 256.0) return n + 1.0 - std::log2(0.5 * std::log2(zr2 + zi2));
        zi = 2 * zr * zi + ci;
        zr = zr2 - zi2 + cr;
    }
    return -1;
}

// A cyclic gradient: night blue, violet, pink, gold, a pale flash, back to blue.
Rgb palette(double mu) {
    if (mu < 0) return Rgb{0.01, 0.0, 0.03};
    struct Key {
        double at;
        uint32_t colour;
    };
    static const Key keys[] = {{0.0, 0x050a3a}, {0.2, 0x3a1d8c}, {0.42, 0xd02f8f},
                               {0.6, 0xf0a02a}, {0.72, 0xf0d0a0}, {0.86, 0x1c4fa8}, {1.0, 0x050a3a}};
    const double cycle = std::sqrt(mu) * 0.32;
    const double t = cycle - std::floor(cycle);
    size_t k = 0;
    while (keys[k + 1].at < t) ++k;
    const double local = (t - keys[k].at) / (keys[k + 1].at - keys[k].at);
    return mix(hexColour(keys[k].colour), hexColour(keys[k + 1].colour), local) * 0.72;
}

}  // namespace

Canvas paintFractal() {
    Canvas c(width, height);
    const double step = spanX / width;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (int sy = 0; sy < 3; ++sy)
                for (int sx = 0; sx < 3; ++sx) {
                    const double cr = centreX + (x + (sx + 0.5) / 3 - width / 2.0) * step;
                    const double ci = centreY - (y + (sy + 0.5) / 3 - height / 2.0) * step;
                    sum = sum + palette(escape(cr, ci));
                }
            c.at(x, y) = sum * (1.0 / 9);
        }
    return c;
}
