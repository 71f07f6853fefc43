#include "shell/text_box.h"

#include <algorithm>
#include <cstdint>

#include "text/font.h"

namespace {

// Each pixel of the box at a quarter of its brightness.
void darken(Image& image, int left, int top, int right, int bottom) {
    uint32_t* pixels = reinterpret_cast<uint32_t*>(image.pixels);
    for (int py = top; py < bottom; ++py)
        for (int px = left; px < right; ++px) pixels[py * image.width + px] = (pixels[py * image.width + px] >> 2) & 0x3F3F3F3Fu;
}

void drawGlyph(Image& image, char c, int x, int y) {
    uint32_t* pixels = reinterpret_cast<uint32_t*>(image.pixels);
    for (int row = 0; row < glyphRows; ++row)
        for (int col = 0; col < glyphColumns; ++col)
            if (glyphDot(c, col, row) && x + col < image.width && y + row < image.height)
                pixels[(y + row) * image.width + x + col] = 0xFFFFFFFFu;
}

}  // namespace

void drawTextBox(Image& image, int x, int y, const std::string& text) {
    int lines = 1, longest = 0, column = 0;
    for (char c : text) {
        column = c == '\n' ? 0 : column + 1;
        lines += c == '\n';
        longest = std::max(longest, column);
    }
    darken(image, x, y, std::min<int>(image.width, x + longest * glyphAdvance + 3),
           std::min<int>(image.height, y + lines * (glyphRows + 2) + 2));
    int cx = x + 2, cy = y + 2;
    for (char c : text) {
        if (c == '\n') {
            cx = x + 2;
            cy += glyphRows + 2;
            continue;
        }
        drawGlyph(image, c, cx, cy);
        cx += glyphAdvance;
    }
}
