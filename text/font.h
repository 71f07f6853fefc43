#pragma once
#include <string>
#include <vector>

// The show's own 5x7 dot font. Text is drawn as strokes: every lit dot is
// joined to its lit neighbours across, down and (where no corner dot does it
// already) diagonally, so the glyphs come out as smooth lines at any size.
constexpr int glyphColumns = 5;
constexpr int glyphRows = 7;
constexpr int glyphAdvance = 6;  // columns from one glyph to the next

// A stroke from (x0, y0) to (x1, y1) in dot units, dot centres at whole numbers.
struct Stroke {
    double x0, y0, x1, y1;
};

// The strokes of one character; upper and lower case look the same, and a
// character the font does not have gives no strokes (like a blank).
std::vector<Stroke> glyphStrokes(char c);

// Whether the dot at (column, row) of a character's glyph is lit; false for
// a character the font does not have and outside the 5x7 cell.
bool glyphDot(char c, int column, int row);

// Width of a line of text in dot units (the last glyph's spacing not counted).
int textColumns(const std::string& text);
