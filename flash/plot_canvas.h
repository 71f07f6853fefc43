#pragma once
#include <cstdint>
#include <string>

#include "image/image.h"

// A picture to draw the flash plots on: rectangles, lines and text in the
// show's own 5x7 dot font, written as a PNG picture.
namespace flash {

class PlotCanvas {
public:
    PlotCanvas(int width, int height, uint32_t paper);  // colours are 0xRRGGBB

    int width() const { return image_.width; }
    int height() const { return image_.height; }
    void put(int x, int y, uint32_t colour);
    uint32_t at(int x, int y) const;
    void fill(int x, int y, int width, int height, uint32_t colour);
    void row(int x0, int x1, int y, uint32_t colour, int dash = 0);  // dash: drawn and left out in turn
    void column(int x, int y0, int y1, uint32_t colour);
    void frame(int x, int y, int width, int height, uint32_t colour);  // an outline
    // Text with its top left at (x, y), each dot `scale` pixels; returns the x after it.
    int text(int x, int y, const std::string& text, uint32_t colour, int scale = 2);
    static int textWidth(const std::string& text, int scale = 2);
    static int textHeight(int scale = 2) { return 7 * scale; }

    // False with the reason in `error` when the file cannot be written.
    bool write(const std::string& file, std::string& error) const;

private:
    Image image_;
};

// `a` moved toward `b` by share/256.
uint32_t blend(uint32_t a, uint32_t b, int share);

}  // namespace flash
