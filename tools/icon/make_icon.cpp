// Makes the program's 48x48 icon from the title picture of the data set: the
// picture's middle square, each icon pixel the mean of a 5x5 block.
//   vokicon TITLE.pcx OUT.png
#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "common/messages.h"
#include "image/image.h"
#include "image/pcx.h"

namespace {

constexpr int iconSize = 48;
constexpr int block = screenHeight / iconSize;  // 5

std::vector<png_byte> shrinkMiddleSquare(const Image& picture) {
    const int left = (picture.width - picture.height) / 2;
    std::vector<png_byte> rgb(iconSize * iconSize * 3);
    for (int y = 0; y < iconSize; ++y) {
        for (int x = 0; x < iconSize; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < block; ++dy) {
                for (int dx = 0; dx < block; ++dx) {
                    const uint8_t* pixel = picture.pixels + 4 * ((y * block + dy) * picture.width + left + x * block + dx);
                    for (int c = 0; c < 3; ++c) sum[c] += pixel[2 - c];  // BGRA to RGB
                }
            }
            for (int c = 0; c < 3; ++c) rgb[(y * iconSize + x) * 3 + c] = static_cast<png_byte>(sum[c] / (block * block));
        }
    }
    return rgb;
}

bool writePng(const char* path, const std::vector<png_byte>& rgb) {
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
    png_set_IHDR(png, info, iconSize, iconSize, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < iconSize; ++y) png_write_row(png, &rgb[y * iconSize * 3]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vokicon TITLE.pcx OUT.png\n");
        return 2;
    }
    MessageLog messages;
    const std::unique_ptr<Image> picture = loadPcx(ShowContext(messages), argv[1]);
    if (picture->width < picture->height || picture->height != screenHeight) {
        std::fprintf(stderr, "vokicon: %s is not a 320x240 picture\n", argv[1]);
        return 1;
    }
    if (!writePng(argv[2], shrinkMiddleSquare(*picture))) {
        std::fprintf(stderr, "vokicon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
