#include "text/text_box.h"

#include <algorithm>
#include <cstdint>

#include "text/font.h"

void drawTextBox(Image& image, int x, int y, const std::string& text) {
    int lines = 1, longest = 0, column = 0;
    for (char c : text) {
        column = c == '\n' ? 0 : column + 1;
        lines += c == '\n';
        if (column > longest) longest = column;
    }
    const int right = std::min<int>(image.width, x + longest * glyphAdvance + 3);
    const int bottom = std::min<int>(image.height, y + lines * (glyphRows + 2) + 2);
    uint32_t* pixels = reinterpret_cast<uint32_t*>(image.pixels);
    for (int py = y; py < bottom; ++py)
        for (int px = x; px < right; ++px) pixels[py * image.width + px] = (pixels[py * image.width + px] >> 2) & 0x3F3F3F3Fu;
    int cx = x + 2, cy = y + 2;
    for (char c : text) {
        if (c == '\n') {
            cx = x + 2;
            cy += glyphRows + 2;
            continue;
        }
        for (int row = 0; row < glyphRows; ++row)
            for (int col = 0; col < glyphColumns; ++col)
                if (glyphDot(c, col, row) && cx + col < image.width && cy + row < image.height)
                    pixels[(cy + row) * image.width + cx + col] = 0xFFFFFFFFu;
        cx += glyphAdvance;
    }
}
