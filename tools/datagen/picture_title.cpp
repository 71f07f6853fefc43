// The title picture and the logo: the show's first two images.
#include <cmath>

#include "datagen_random.h"
#include "pictures.h"
#include "shape_painter.h"
#include "text_painter.h"

namespace {

constexpr int width = 320, height = 240;
constexpr double horizon = 150;

Rgb skyColour(double y) {
    const Rgb top = hexColour(0x07021a), upper = hexColour(0x2a0b52), low = hexColour(0xc0257a),
              glow = hexColour(0xff9a4a);
    const double t = y / horizon;
    if (t < 0.45) return mix(top, upper, t / 0.45);
    if (t < 0.85) return mix(upper, low, (t - 0.45) / 0.4);
    return mix(low, glow, (t - 0.85) / 0.15);
}

void paintSky(Canvas& c) {
    for (int y = 0; y < horizon; ++y)
        for (int x = 0; x < width; ++x) c.at(x, y) = skyColour(y + 0.5);
    ScatterRandom random(20261);
    for (int i = 0; i < 140; ++i) {
        const int x = static_cast<int>(random.range(0, width));
        const int y = static_cast<int>(random.range(0, horizon * 0.7));
        const double bright = random.range(0.25, 1.0) * (1.0 - y / (horizon * 0.75));
        c.add(x, y, Rgb{0.9, 0.9, 1.0} * bright);
        if (bright > 0.75) {  // the brightest get a small cross
            for (int d : {-1, 1}) {
                c.add(x + d, y, Rgb{0.5, 0.5, 0.8} * bright);
                c.add(x, y + d, Rgb{0.5, 0.5, 0.8} * bright);
            }
        }
    }
}

// A setting sun with the bands of a retro sunset cut out of its lower half.
void paintSun(Canvas& c) {
    const double cx = 160, cy = 118, radius = 60;
    for (int y = 0; y < horizon; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double halo = 0.55 / (1.0 + std::pow(std::max(0.0, r - radius) / 14.0, 2));
            c.add(x, y, Rgb{1.0, 0.35, 0.45} * halo * 0.6);
            double coverage = clamp01(radius - r + 0.5);
            const double band = (y + 0.5 - (cy - 8)) / (horizon - (cy - 8));  // 0 at the first gap
            if (band > 0) {
                const double period = 9.0, gap = 1.0 + 4.5 * band;
                const double phase = std::fmod(y + 0.5 - (cy - 8), period);
                coverage *= clamp01(std::fabs(phase - period / 2) - gap / 2 + 0.5);
            }
            const double t = clamp01((y + 0.5 - (cy - radius)) / (2 * radius));
            const Rgb sun = mix(hexColour(0xfff17a), hexColour(0xff2f7d), t);
            c.blend(x, y, sun, coverage);
        }
}

void paintMountains(Canvas& c) {
    for (int x = 0; x < width; ++x) {
        const double u = x / static_cast<double>(width) * 6.2831853;
        // Low ridges, highest at the sides, so the sun's bands stay in view.
        const double side = std::fabs(x - 160.0) / 160.0;
        const double far = horizon - 4 - side * 14 - 4 * std::sin(u * 2 + 1.0) - 3 * std::sin(u * 5 + 0.3) -
                           1.5 * std::sin(u * 11 + 2.0);
        const double near = horizon - 2 - side * 6 - 2.5 * std::sin(u * 3 + 2.5) - 1.5 * std::sin(u * 7 + 1.2);
        for (int y = 0; y < horizon; ++y) {
            const double py = y + 0.5;
            c.blend(x, y, hexColour(0x3b1156), clamp01(py - far + 0.5));
            c.blend(x, y, hexColour(0x1a0630), clamp01(py - near + 0.5));
        }
    }
}

// A neon grid floor running to the horizon, anti-aliased by supersampling.
double gridLines(double px, double py) {
    const double depth = 900.0 / (py - horizon);  // distance along the floor
    const double u = (px - 160) * depth / 90.0;
    const double along = depth;
    const double fu = std::fabs(u / 16.0 - std::floor(u / 16.0 + 0.5));
    const double fv = std::fabs(along / 24.0 - std::floor(along / 24.0 + 0.5));
    const double lineU = fu < 0.04 + 0.0004 * depth ? 1.0 : 0.0;
    const double lineV = fv < 0.05 + 0.0008 * depth ? 1.0 : 0.0;
    return std::max(lineU, lineV);
}

void paintFloor(Canvas& c) {
    for (int y = static_cast<int>(horizon); y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double lines = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) lines += gridLines(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
            lines /= 16;
            const double t = (y - horizon) / (height - horizon);
            const Rgb ground = mix(hexColour(0x2a0a3c), hexColour(0x0a0216), std::sqrt(t));
            const Rgb neon = mix(hexColour(0xff4fd8), hexColour(0x3ff0ff), t);
            const double fade = 0.35 + 0.65 * t;
            c.at(x, y) = mix(ground, neon, lines * fade);
            c.add(x, y, hexColour(0xff6a8a) * (0.35 * (1.0 - t) * (1.0 - t)));  // the sun's glow on the floor
        }
}

// Chrome lettering: sky-blue above a hard horizon line, warm below it.
Rgb chrome(double t) {
    if (t < 0.5) return mix(hexColour(0xf4fdff), hexColour(0x2a5bd8), t / 0.5);
    if (t < 0.56) return mix(hexColour(0x0c1440), hexColour(0xffffff), (t - 0.5) / 0.06);
    return mix(hexColour(0xffe0f0), hexColour(0xff4fa0), (t - 0.56) / 0.44);
}

void paintTitleText(Canvas& c) {
    const std::string title = "ZUMBER";
    const double dot = 8.4, top = 38;
    const TextPlacement place = centredText(title, 160, top, dot, 1.6);
    const double reach = 24, radius = dot * 0.46;
    const Layer distance = textDistance(width, height, title, place, reach);
    addGlow(c, distance, radius + 2, 6, reach, hexColour(0xff2fb0) * 0.8);
    paintStrokes(c, distance, radius + 2.2, [](int, int) { return hexColour(0x0b0420); });
    paintStrokes(c, distance, radius, [&](int, int y) { return chrome((y + 0.5 - top) / (7 * dot)); });

    const std::string presents = "VOK PRESENTS";
    const TextPlacement small = centredText(presents, 160, 16, 1.7);
    const Layer smallDistance = textDistance(width, height, presents, small, 8);
    addGlow(c, smallDistance, 0.8, 2.5, 8, hexColour(0x40c8ff) * 0.7);
    paintStrokes(c, smallDistance, 0.85, [](int, int) { return hexColour(0xe8f8ff); });
}

}  // namespace

Canvas paintTitle() {
    Canvas c(width, height);
    paintSky(c);
    paintSun(c);
    paintMountains(c);
    paintFloor(c);
    paintTitleText(c);
    return c;
}

namespace {

// Tiles with a bright seam, lit from the centre: every bend of the wave warp shows.
void paintTiles(Canvas& c) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int tile = (x / 20 + y / 20) % 2;
            const double dx = (x - 160) / 160.0, dy = (y - 120) / 120.0;
            const double light = 1.0 - 0.55 * std::min(1.0, dx * dx * 0.7 + dy * dy);
            const Rgb base = tile ? hexColour(0x1c2f78) : hexColour(0x0e1440);
            const bool seam = x % 20 == 0 || y % 20 == 0;
            c.at(x, y) = (seam ? mix(base, hexColour(0x4fd8ff), 0.45) : base) * light;
        }
}

Shape letterShape(char letter) {
    if (letter == 'O') {
        const Ring ring = letterO(64);
        return Shape{{ring.outer, ring.inner}};
    }
    return Shape{{letter == 'V' ? letterV() : letterK()}};
}

Rgb logoFill(double t) {  // t: 0 at the top of the letters, 1 at the bottom
    if (t < 0.45) return mix(hexColour(0xc8ffff), hexColour(0x36b4ff), t / 0.45);
    if (t < 0.5) return mix(hexColour(0x36b4ff), hexColour(0xffffff), (t - 0.45) / 0.05);
    return mix(hexColour(0xa040ff), hexColour(0xff3fa8), (t - 0.5) / 0.5);
}

void paintLogoLetters(Canvas& c) {
    const double scale = 1.6, top = 120 - 32 * scale - 14, bottom = 120 + 32 * scale - 14;
    const char letters[] = {'V', 'O', 'K'};
    const double centres[] = {70, 160, 250};
    for (int i = 0; i < 3; ++i) {
        const Shape shape = placedShape(letterShape(letters[i]), scale, -scale, centres[i], 106);
        const Layer distance = signedDistance(width, height, shape, 12);
        const Shape shadowShape = placedShape(letterShape(letters[i]), scale, -scale, centres[i] + 6, 112);
        const Layer shadow = signedDistance(width, height, shadowShape, 12);
        fillShape(c, shadow, 1.5, [](int, int) { return Rgb{0, 0, 0.02}; }, 0.7);
        fillShape(c, distance, 2.0, [](int, int) { return hexColour(0xffffff); });
        fillShape(c, distance, 0.0, [&](int, int y) { return logoFill((y + 0.5 - top) / (bottom - top)); });
    }
}

void paintLogoCaption(Canvas& c) {
    const std::string caption = "Z U M B E R";
    const TextPlacement place = centredText(caption, 160, 192, 2.6);
    const Layer distance = textDistance(width, height, caption, place, 14);
    addGlow(c, distance, 1.3, 4, 14, hexColour(0xff9f2f) * 0.8);
    paintStrokes(c, distance, 2.1, [](int, int) { return hexColour(0x100818); });
    paintStrokes(c, distance, 1.3, [](int, int y) { return mix(hexColour(0xfff6a0), hexColour(0xffa12f), (y - 192) / 18.0); });
}

}  // namespace

Canvas paintLogo() {
    Canvas c(width, height);
    paintTiles(c);
    paintLogoLetters(c);
    paintLogoCaption(c);
    return c;
}
