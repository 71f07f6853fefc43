#include "flash/flash_plot.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace flash {
namespace {

constexpr int plotWidth = 1000;
constexpr int plotHeight = 240;
constexpr int tickHeight = 6;

struct Colour {
    uint8_t r, g, b;
};
constexpr Colour paper{255, 255, 255}, shade{236, 238, 242}, grid{210, 210, 210}, bound{90, 90, 90},
    limitLine{240, 140, 0}, general{40, 60, 150}, red{220, 30, 30}, ink{0, 0, 0};

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), rgb_(static_cast<size_t>(width) * height * 3, 255) {}
    void put(int x, int y, Colour c) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
        p[0] = c.r, p[1] = c.g, p[2] = c.b;
    }
    void column(int x, int top, int bottom, Colour c) {
        for (int y = top; y < bottom; ++y) put(x, y, c);
    }
    void row(int y, Colour c, int step = 1) {
        for (int x = 0; x < width_; x += step) put(x, y, c);
    }
    const uint8_t* rowBytes(int y) const { return &rgb_[static_cast<size_t>(y) * width_ * 3]; }

private:
    int width_, height_;
    std::vector<uint8_t> rgb_;
};

bool writePng(const Canvas& canvas, int width, int height, const std::string& file, std::string& error) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        error = std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        error = "cannot write the picture";
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, canvas.rowBytes(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(out) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

bool writeFlashPlot(const FlashRecord& record, const std::string& file, std::string& error) {
    const size_t frames = std::max<size_t>(1, record.frames.size());
    const Peaks peaks = peaksOf(record, 0, record.frames.size());
    const int top = std::max({2 * flashLimit + 2, peaks.general.flashes + 1, peaks.red.flashes + 1});
    const int perFlash = std::max(1, (plotHeight - 10) / top);
    const int base = plotHeight - 1;  // the line of 0 flashes
    Canvas canvas(plotWidth, plotHeight + tickHeight);
    const auto columnOf = [&](size_t frame) { return static_cast<int>(frame * plotWidth / frames); };
    const std::vector<SceneSpan> spans = sceneSpans(record);
    for (size_t s = 0; s < spans.size(); ++s) {
        if (s % 2 == 1) {
            for (int x = columnOf(spans[s].first); x < columnOf(spans[s].end); ++x) canvas.column(x, 0, base, shade);
        }
    }
    for (int n = 1; n <= top; ++n) canvas.row(base - n * perFlash, n == flashLimit ? limitLine : grid, n == flashLimit ? 1 : 2);
    for (size_t s = 1; s < spans.size(); ++s) canvas.column(columnOf(spans[s].first), 0, base, bound);
    for (int x = 0; x < plotWidth; ++x) {
        const size_t first = static_cast<size_t>(x) * frames / plotWidth;
        const size_t last = std::max(first + 1, static_cast<size_t>(x + 1) * frames / plotWidth);
        const Peaks here = peaksOf(record, first, last);
        canvas.column(x, base - here.general.flashes * perFlash, base, general);
        if (here.red.flashes > 0) canvas.column(x, base - here.red.flashes * perFlash, base - here.red.flashes * perFlash + 2, red);
    }
    canvas.row(base, ink);
    for (int64_t second = 0; second * record.fps < static_cast<int64_t>(frames); second += 10) {
        canvas.column(columnOf(static_cast<size_t>(second * record.fps)), plotHeight, plotHeight + tickHeight, ink);
    }
    return writePng(canvas, plotWidth, plotHeight + tickHeight, file, error);
}

}  // namespace flash
