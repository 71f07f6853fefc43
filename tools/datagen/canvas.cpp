#include "canvas.h"

#include <algorithm>

Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb mix(Rgb a, Rgb b, double t) { return a * (1.0 - t) + b * t; }

Rgb hexColour(uint32_t rrggbb) {
    return {((rrggbb >> 16) & 0xFF) / 255.0, ((rrggbb >> 8) & 0xFF) / 255.0, (rrggbb & 0xFF) / 255.0};
}

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

double smoothstep(double edge0, double edge1, double v) {
    const double t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}

void Canvas::add(int x, int y, Rgb colour) {
    if (contains(x, y)) at(x, y) = at(x, y) + colour;
}

void Canvas::blend(int x, int y, Rgb colour, double alpha) {
    if (contains(x, y)) at(x, y) = mix(at(x, y), colour, clamp01(alpha));
}

static uint8_t toByte(double v) {
    return static_cast<uint8_t>(clamp01(v) * 255.0 + 0.5);
}

std::vector<uint8_t> Canvas::toRgb8() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(pixels_.size() * 3);
    for (const Rgb& p : pixels_) {
        bytes.push_back(toByte(p.r));
        bytes.push_back(toByte(p.g));
        bytes.push_back(toByte(p.b));
    }
    return bytes;
}

void Layer::raise(int x, int y, double value) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    double& v = at(x, y);
    v = std::max(v, value);
}
