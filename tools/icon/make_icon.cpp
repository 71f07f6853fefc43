// Makes the program's icon from the title picture of the data set: the
// picture's middle square at SIZE x SIZE (48 unless given; the browser page
// also takes 192 and 512), each icon pixel the mean of the picture's pixels
// under it (a 5x5 block at 48), or the one nearest where it is larger.
//   vokicon TITLE.pcx OUT.png [SIZE]
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "common/messages.h"
#include "image/image.h"
#include "image/pcx.h"

namespace {

constexpr int defaultSize = 48;

// The square's rows or columns under icon pixel `i` of `size`: at least one.
struct Span {
    int first, end;
};
Span spanOf(int i, int size) {
    const int first = i * screenHeight / size;
    const int end = (i + 1) * screenHeight / size;
    return {first, end > first ? end : first + 1};
}

std::vector<png_byte> shrinkMiddleSquare(const Image& picture, int size) {
    const int left = (picture.width - picture.height) / 2;
    std::vector<png_byte> rgb(static_cast<size_t>(size) * size * 3);
    for (int y = 0; y < size; ++y) {
        const Span rows = spanOf(y, size);
        for (int x = 0; x < size; ++x) {
            const Span columns = spanOf(x, size);
            int sum[3] = {0, 0, 0};
            for (int sy = rows.first; sy < rows.end; ++sy) {
                for (int sx = columns.first; sx < columns.end; ++sx) {
                    const uint8_t* pixel = picture.pixels + 4 * (sy * picture.width + left + sx);
                    for (int c = 0; c < 3; ++c) sum[c] += pixel[2 - c];  // BGRA to RGB
                }
            }
            const int count = (rows.end - rows.first) * (columns.end - columns.first);
            for (int c = 0; c < 3; ++c) rgb[(static_cast<size_t>(y) * size + x) * 3 + c] = static_cast<png_byte>(sum[c] / count);
        }
    }
    return rgb;
}

bool writePng(const char* path, const std::vector<png_byte>& rgb, int size) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < size; ++y) png_write_row(png, &rgb[static_cast<size_t>(y) * size * 3]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: vokicon TITLE.pcx OUT.png [SIZE]\n");
        return 2;
    }
    const int size = argc == 4 ? std::atoi(argv[3]) : defaultSize;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "vokicon: bad size '%s': give pixels from 16 to 1024\n", argv[3]);
        return 2;
    }
    MessageLog messages;
    const std::unique_ptr<Image> picture = loadPcx(ShowContext(messages), argv[1]);
    if (picture->width < picture->height || picture->height != screenHeight) {
        std::fprintf(stderr, "vokicon: %s is not a 320x240 picture\n", argv[1]);
        return 1;
    }
    if (!writePng(argv[2], shrinkMiddleSquare(*picture, size), size)) {
        std::fprintf(stderr, "vokicon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
