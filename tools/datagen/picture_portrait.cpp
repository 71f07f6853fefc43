// vok_girl.pcx: a pop-art portrait: a girl in profile with her eyes closed,
// long hair streaming behind her in hot colours, against a cool moon and a
// sunburst with halftone dots. Strong edges everywhere, for the drifting
// colour channels; the left half stays calm for the sprites that swing there.
#include <cmath>

#include "datagen_random.h"
#include "pictures.h"
#include "shape_painter.h"

namespace {

constexpr int width = 320, height = 240;
constexpr double pi = 3.14159265358979323846;
constexpr double burstX = 218, burstY = 104;

void paintSunburst(Canvas& c) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = x + 0.5 - burstX, dy = y + 0.5 - burstY;
            const double r = std::sqrt(dx * dx + dy * dy), angle = std::atan2(dy, dx);
            const double ray = clamp01(0.5 + std::sin(angle * 11) * r * 0.08);
            const Rgb a = mix(hexColour(0x5c0f63), hexColour(0x2a0a4a), clamp01(r / 260));
            const Rgb b = mix(hexColour(0x8a1a6e), hexColour(0x3d0d57), clamp01(r / 260));
            Rgb colour = mix(a, b, ray);
            // Halftone dots that grow away from the centre of the burst.
            const double cellX = std::fmod(x + 0.5, 7.0) - 3.5, cellY = std::fmod(y + 0.5, 7.0) - 3.5;
            const double dotRadius = 0.4 + 2.3 * clamp01(r / 240);
            const double dot = clamp01(dotRadius - std::sqrt(cellX * cellX + cellY * cellY) + 0.5);
            colour = colour + hexColour(0xff5fb0) * (0.16 * dot);
            c.at(x, y) = colour;
        }
}

void paintMoon(Canvas& c) {
    const double cx = burstX, cy = burstY, radius = 78;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double t = clamp01((y + 0.5 - (cy - radius)) / (2 * radius));
            const Rgb moon = mix(hexColour(0x7ff4ff), hexColour(0x3050d8), t);
            c.add(x, y, hexColour(0x40a0ff) * (0.35 / (1.0 + std::pow(std::max(0.0, r - radius) / 10.0, 2))));
            c.blend(x, y, moon, clamp01(radius - r + 0.5));
            // A thin bright rim.
            c.add(x, y, hexColour(0xc8ffff) * (0.6 * clamp01(1.2 - std::fabs(r - radius + 1.5))));
        }
}

void sparkles(Canvas& c) {
    ScatterRandom random(4242);
    for (int i = 0; i < 36; ++i) {
        const int x = static_cast<int>(random.range(120, width)), y = static_cast<int>(random.range(0, height));
        const double bright = random.range(0.3, 0.9);
        c.add(x, y, Rgb{1, 0.9, 1} * bright);
        for (int d = 1; d <= 2; ++d)
            for (auto [ox, oy] : {std::pair{d, 0}, std::pair{-d, 0}, std::pair{0, d}, std::pair{0, -d}})
                c.add(x + ox, y + oy, Rgb{1, 0.7, 0.9} * (bright / (d + 1)));
    }
}

Outline shoulders() {
    return {{146, 186}, {186, 182}, {194, 206}, {238, 220}, {282, 240}, {60, 240}, {104, 222}, {138, 208}};
}

// The face and neck in profile, looking right.
Outline faceProfile() {
    return {{160, 40},  {180, 42},  {192, 54},  {198, 70},  {199, 84},  {196, 92},  {201, 100}, {208, 110},
            {216, 120}, {214, 124}, {205, 126}, {207, 130}, {209, 134}, {203, 137}, {207, 141}, {205, 146},
            {198, 150}, {201, 158}, {200, 164}, {193, 170}, {184, 173}, {182, 184}, {187, 208}, {148, 210},
            {147, 182}, {138, 150}, {131, 110}, {134, 70},  {145, 50}};
}

Outline lips() { return {{204, 129}, {209, 133.5}, {204, 136.5}, {208, 140.5}, {203, 144}, {199, 140}, {199, 132}}; }

void fillOutline(Canvas& c, const Outline& outline, const Paint& paint, double alpha = 1.0) {
    const Layer distance = signedDistance(width, height, Shape{{outline}}, 4);
    fillShape(c, distance, 0, paint, alpha);
}

void paintFigure(Canvas& c) {
    fillOutline(c, shoulders(), [](int x, int y) {
        const Rgb cloth = mix(hexColour(0x24103e), hexColour(0x5a2080), clamp01((x - 60) / 220.0));
        return cloth + hexColour(0x40d0ff) * (0.5 * clamp01(1.0 - (y - 182) / 6.0) * clamp01((x - 150) / 40.0));
    });
    fillOutline(c, faceProfile(), [](int x, int y) {
        const double lit = clamp01((x - 140) / 76.0);
        Rgb skin = mix(hexColour(0xb0487c), hexColour(0xffc0a0), lit);
        return skin * (1.0 - 0.22 * smoothstep(166, 184, y));  // the neck lies in the jaw's shadow
    });
    // Blush, eye shadow and lips.
    for (int y = 80; y < 140; ++y)
        for (int x = 170; x < 210; ++x) {
            const double blush = std::hypot(x - 189.0, (y - 118.0) * 1.2);
            c.blend(x, y, hexColour(0xff5f8f), 0.35 * clamp01(1.0 - blush / 11.0));
            const double shadow = std::hypot(x - 189.0, (y - 91.0) * 1.8);
            c.blend(x, y, hexColour(0x8a3fd0), 0.6 * clamp01(1.0 - shadow / 9.0));
        }
    fillOutline(c, lips(), [](int, int y) { return y < 137 ? hexColour(0xe8205f) : hexColour(0xff4f7f); });
    // The closed eye: a lid line with lashes.
    const std::vector<Point2> lid = {{182, 95}, {185, 97.5}, {189, 98.5}, {193, 97.5}, {195, 95.5}};
    strokePolyline(c, lid, 0.8, [](int, int, double) { return hexColour(0x2a0a2a); });
    for (int i = 0; i < 4; ++i) {
        const double x = 184 + i * 3.0;
        strokePolyline(c, {{x, 97.5 + (i == 1 || i == 2)}, {x - 2.5, 101.5}}, 0.5,
                       [](int, int, double) { return hexColour(0x2a0a2a); });
    }
    // A rim of moonlight along the profile.
    const Layer edge = signedDistance(width, height, Shape{{faceProfile()}}, 4);
    for (int y = 40; y < 210; ++y)
        for (int x = 180; x < 220; ++x)
            if (edge.at(x, y) < 0) c.add(x, y, hexColour(0x60e0ff) * (0.55 * clamp01(1.0 + edge.at(x, y) / 1.8)));
}

// Hair: strands rooted along the hairline from the forehead to the nape,
// sweeping back over the skull and falling to the lower left, each a
// quadratic curve with a ripple.
Point2 hairline(double s) {
    const Point2 a{185, 45}, b{158, 66}, c{150, 136};
    const double u = 1 - s;
    return {u * u * a.x + 2 * u * s * b.x + s * s * c.x, u * u * a.y + 2 * u * s * b.y + s * s * c.y};
}

Point2 strandPoint(double s, double t, double ripple) {
    const Point2 root = hairline(s);
    const Point2 control{112 - 26 * s, 6 + 132 * s};
    const Point2 tip{6 + 66 * s + 12 * std::sin(pi * s), 60 + 178 * s};
    const double u = 1 - t;
    double x = u * u * root.x + 2 * u * t * control.x + t * t * tip.x;
    double y = u * u * root.y + 2 * u * t * control.y + t * t * tip.y;
    x += ripple * t * std::sin(t * pi * 3 + s * 11);
    y += ripple * 0.6 * t * std::cos(t * pi * 2.5 + s * 7);
    return {x, y};
}

std::vector<Point2> strand(double s, double ripple, double length = 1.0) {
    std::vector<Point2> points;
    for (int i = 0; i <= 40; ++i) points.push_back(strandPoint(s, length * i / 40.0, ripple));
    return points;
}

Rgb hairColour(double along, double shade) {
    Rgb colour;
    if (along < 0.45) colour = mix(hexColour(0x4a1d9a), hexColour(0xe8309a), along / 0.45);
    else colour = mix(hexColour(0xe8309a), hexColour(0xffb040), (along - 0.45) / 0.55);
    return colour * shade;
}

void paintHair(Canvas& c) {
    // The mass behind the strands, bounded by the first and last strand.
    constexpr double massLength = 0.9;
    Outline mass = strand(0, 0, massLength);
    for (int i = 1; i < 20; ++i) mass.push_back(strandPoint(i / 20.0, massLength, 0));
    const std::vector<Point2> last = strand(1, 0, massLength);
    for (auto it = last.rbegin(); it != last.rend(); ++it) mass.push_back(*it);
    for (int i = 19; i > 0; --i) mass.push_back(hairline(i / 20.0));
    fillOutline(c, mass, [](int, int) { return hexColour(0x2c0b4a); });

    ScatterRandom random(777);
    constexpr int strands = 110;
    for (int i = strands - 1; i >= 0; --i) {  // the back first, the front strands on top
        const double s = (i + random.range(-0.4, 0.4)) / (strands - 1);
        const double shade = random.range(0.65, 1.1);
        const double radius = random.range(1.3, 2.3);
        const double ripple = random.range(4, 9), length = random.range(0.88, 1.04);
        strokePolyline(c, strand(clamp01(s), ripple, length), radius,
                       [&](int, int, double along) { return hairColour(along, shade); });
    }
    // A few loose bright highlights.
    for (int i = 0; i < 12; ++i) {
        const double s = random.unit();
        strokePolyline(c, strand(s, random.range(4, 9)), 0.6,
                       [](int, int, double along) { return mix(hexColour(0xffe0f0), hexColour(0xfff0a0), along); }, 0.7);
    }
}

}  // namespace

Canvas paintPortrait() {
    Canvas c(width, height);
    paintSunburst(c);
    paintMoon(c);
    sparkles(c);
    paintFigure(c);
    paintHair(c);
    return c;
}
