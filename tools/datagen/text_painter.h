#pragma once
#include <functional>
#include <string>

#include "canvas.h"

// Where and how large a line of text sits: the dot centres of the first glyph
// start at (left + dot / 2, top + dot / 2); slant leans the glyphs right by
// that many dots over their height.
struct TextPlacement {
    double left = 0, top = 0;
    double dot = 2;
    double slant = 0;
};

// Placement of a line centred horizontally on `centreX`.
TextPlacement centredText(const std::string& text, double centreX, double top, double dot, double slant = 0);

// Distance from every pixel centre to the nearest stroke of the text, in
// pixels; pixels further than `reach` from all strokes keep `reach`.
Layer textDistance(int width, int height, const std::string& text, const TextPlacement& place, double reach);

// Keeps the smaller distance of two fields, to paint several lines at once.
void mergeDistance(Layer& into, const Layer& other);

using Paint = std::function<Rgb(int x, int y)>;

// Strokes of half-width `radius` pixels, anti-aliased, filled with `fill`.
void paintStrokes(Canvas& canvas, const Layer& distance, double radius, const Paint& fill);

// A soft halo added around the strokes: `colour` at the stroke edge, fading
// over about `spread` pixels and gone at the field's `reach`, so that
// everything further away keeps its colour exactly (black stays black).
void addGlow(Canvas& canvas, const Layer& distance, double radius, double spread, double reach, Rgb colour);
