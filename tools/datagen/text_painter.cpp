#include "text_painter.h"

#include <algorithm>
#include <cmath>

#include "text/font.h"

namespace {

double distanceToStroke(double px, double py, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0) t = std::clamp(((px - x0) * dx + (py - y0) * dy) / lengthSquared, 0.0, 1.0);
    const double ex = px - (x0 + t * dx), ey = py - (y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

struct PixelStroke {
    double x0, y0, x1, y1;
};

std::vector<PixelStroke> placeGlyph(char c, double glyphLeft, const TextPlacement& place) {
    std::vector<PixelStroke> placed;
    const auto toX = [&](double col, double row) {
        return glyphLeft + (col + 0.5) * place.dot + place.slant * place.dot * (glyphRows - 1 - row) / (glyphRows - 1);
    };
    const auto toY = [&](double row) { return place.top + (row + 0.5) * place.dot; };
    for (const Stroke& s : glyphStrokes(c))
        placed.push_back({toX(s.x0, s.y0), toY(s.y0), toX(s.x1, s.y1), toY(s.y1)});
    return placed;
}

void lowerAround(Layer& field, const std::vector<PixelStroke>& strokes, double reach) {
    for (const PixelStroke& s : strokes) {
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min(s.x0, s.x1) - reach)));
        const int x1 = std::min(field.width() - 1, static_cast<int>(std::ceil(std::max(s.x0, s.x1) + reach)));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min(s.y0, s.y1) - reach)));
        const int y1 = std::min(field.height() - 1, static_cast<int>(std::ceil(std::max(s.y0, s.y1) + reach)));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double d = distanceToStroke(x + 0.5, y + 0.5, s.x0, s.y0, s.x1, s.y1);
                field.at(x, y) = std::min(field.at(x, y), d);
            }
    }
}

}  // namespace

TextPlacement centredText(const std::string& text, double centreX, double top, double dot, double slant) {
    TextPlacement place;
    place.dot = dot;
    place.slant = slant;
    place.top = top;
    place.left = centreX - (textColumns(text) + slant) * dot / 2.0;
    return place;
}

Layer textDistance(int width, int height, const std::string& text, const TextPlacement& place, double reach) {
    Layer field(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) field.at(x, y) = reach;
    for (size_t i = 0; i < text.size(); ++i) {
        const double glyphLeft = place.left + static_cast<double>(i) * glyphAdvance * place.dot;
        lowerAround(field, placeGlyph(text[i], glyphLeft, place), reach);
    }
    return field;
}

void mergeDistance(Layer& into, const Layer& other) {
    for (int y = 0; y < into.height(); ++y)
        for (int x = 0; x < into.width(); ++x) into.at(x, y) = std::min(into.at(x, y), other.at(x, y));
}

void paintStrokes(Canvas& canvas, const Layer& distance, double radius, const Paint& fill) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const double coverage = clamp01(radius - distance.at(x, y) + 0.5);
            if (coverage > 0) canvas.blend(x, y, fill(x, y), coverage);
        }
}

void addGlow(Canvas& canvas, const Layer& distance, double radius, double spread, double reach, Rgb colour) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const double d = distance.at(x, y);
            if (d >= reach) continue;
            const double outside = std::max(0.0, d - radius) / spread;
            const double falloff = 1.0 / (1.0 + outside * outside);
            const double fadeOut = 1.0 - smoothstep(0.5 * reach, reach, d);
            canvas.add(x, y, colour * (falloff * falloff * fadeOut));
        }
}
