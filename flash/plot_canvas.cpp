#include "flash/plot_canvas.h"

#include "media/png_writer.h"
#include "text/font.h"

namespace flash {

PlotCanvas::PlotCanvas(int width, int height, uint32_t paper) : image_(width, height) { fill(0, 0, width, height, paper); }

void PlotCanvas::put(int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return;
    uint8_t* p = image_.pixels + 4 * (static_cast<size_t>(y) * image_.width + x);
    p[0] = colour & 0xFF, p[1] = (colour >> 8) & 0xFF, p[2] = (colour >> 16) & 0xFF, p[3] = 0;
}

uint32_t PlotCanvas::at(int x, int y) const { return image_.pixelAt(x, y) & 0xFFFFFF; }

void PlotCanvas::fill(int x, int y, int width, int height, uint32_t colour) {
    for (int j = y; j < y + height; ++j)
        for (int i = x; i < x + width; ++i) put(i, j, colour);
}

void PlotCanvas::row(int x0, int x1, int y, uint32_t colour, int dash) {
    for (int x = x0; x < x1; ++x)
        if (dash == 0 || ((x - x0) / dash) % 2 == 0) put(x, y, colour);
}

void PlotCanvas::column(int x, int y0, int y1, uint32_t colour) {
    for (int y = y0; y < y1; ++y) put(x, y, colour);
}

void PlotCanvas::frame(int x, int y, int width, int height, uint32_t colour) {
    row(x, x + width, y, colour);
    row(x, x + width, y + height - 1, colour);
    column(x, y, y + height, colour);
    column(x + width - 1, y, y + height, colour);
}

int PlotCanvas::text(int x, int y, const std::string& text, uint32_t colour, int scale) {
    for (char c : text) {
        for (int row = 0; row < glyphRows; ++row)
            for (int column = 0; column < glyphColumns; ++column)
                if (glyphDot(c, column, row)) fill(x + column * scale, y + row * scale, scale, scale, colour);
        x += glyphAdvance * scale;
    }
    return x;
}

int PlotCanvas::textWidth(const std::string& text, int scale) { return textColumns(text) * scale; }

bool PlotCanvas::write(const std::string& file, std::string& error) const {
    PngFrameWriter writer(".", 1);
    return writer.writePicture(image_, file, error);
}

uint32_t blend(uint32_t a, uint32_t b, int share) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(ca + (cb - ca) * share / 256) << shift;
    }
    return out;
}

}  // namespace flash
