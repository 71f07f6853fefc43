// The generated pictures: read back with the show's PCX reader, checked
// against what each scene needs of them, decoded strictly by the test itself,
// and opened with independent readers (ImageMagick, ffmpeg).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "image/pcx.h"
#include "support/command.h"
#include "support/test_files.h"

namespace {

const char* const fullScreenPictures[] = {"vok_zumber.pcx", "vok_logo.pcx",   "vok_lomur.pcx",
                                          "vok_girl.pcx",   "vok_vesk.pcx",   "vok_credit.pcx",
                                          "vok_thanks.pcx", "vok_greets.pcx", "vok_mask.pcx"};
const char* const overlays[] = {"vok_credit.pcx", "vok_thanks.pcx", "vok_greets.pcx"};

std::string dataFile(const std::string& name) { return std::string(VOK_DATA_DIR) + "/" + name; }

using ImagePtr = std::unique_ptr<Image>;

ImagePtr load(const std::string& name) {
    MessageLog messages;
    return loadPcx(ShowContext(messages), dataFile(name).c_str());
}

uint8_t red(uint32_t pixel) { return (pixel >> 16) & 0xFF; }
uint8_t green(uint32_t pixel) { return (pixel >> 8) & 0xFF; }
uint8_t blue(uint32_t pixel) { return pixel & 0xFF; }
int brightest(uint32_t pixel) { return std::max({red(pixel), green(pixel), blue(pixel)}); }

size_t distinctColours(const Image& image) {
    std::set<uint32_t> colours;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) colours.insert(image.pixelAt(x, y) & 0xFFFFFF);
    return colours.size();
}

int read16(const std::vector<uint8_t>& bytes, size_t offset) { return bytes[offset] | (bytes[offset + 1] << 8); }

// A strict decoder: every plane row is exactly `width` bytes, no run crosses
// a plane row's end, and the pixel data ends exactly at the end of the file.
// Returns the pixels as red, green, blue bytes; fails the test otherwise.
std::vector<uint8_t> decodeStrictly(const std::vector<uint8_t>& file, int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    size_t at = 128;
    for (int y = 0; y < height; ++y)
        for (int plane = 0; plane < 3; ++plane) {
            int x = 0;
            while (x < width) {
                if (at >= file.size()) {
                    ADD_FAILURE() << "pixel data ends early, row " << y;
                    return rgb;
                }
                int length = 1;
                uint8_t value = file[at++];
                if (value >= 0xC0) {
                    length = value - 0xC0;
                    EXPECT_GT(length, 0) << "empty run, row " << y;
                    EXPECT_LE(x + length, width) << "run crosses the plane row's end, row " << y;
                    if (at >= file.size() || x + length > width) return rgb;
                    value = file[at++];
                }
                for (int i = 0; i < length; ++i) rgb[(static_cast<size_t>(y) * width + x + i) * 3 + plane] = value;
                x += length;
            }
        }
    EXPECT_EQ(at, file.size()) << "bytes after the pixel data";
    return rgb;
}

std::vector<uint8_t> rgbOf(const Image& image) {
    std::vector<uint8_t> rgb;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.pixelAt(x, y);
            rgb.insert(rgb.end(), {red(p), green(p), blue(p)});
        }
    return rgb;
}

bool toolAvailable(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string commandOutput(const std::string& command) { return runCommand(command).out; }

struct Sprite {
    const char* name;
    int minX, maxX, minY, maxY;  // where the sprite scene puts its top-left corner
};
const Sprite sprites[] = {{"part1.pcx", 50, 90, 40, 160}, {"part2.pcx", 30, 110, 70, 130}, {"part3.pcx", 40, 100, 60, 140}};

}  // namespace

TEST(DatagenPictures, FullScreenPicturesAreRichAndSized) {
    for (const char* name : fullScreenPictures) {
        SCOPED_TRACE(name);
        const ImagePtr image = load(name);
        EXPECT_EQ(image->width, 320);
        EXPECT_EQ(image->height, 240);
        EXPECT_GT(distinctColours(*image), 200u);
        for (int i = 0; i < image->count(); ++i) ASSERT_EQ(image->pixels[4 * i + 3], 0) << "fourth byte";
    }
    // The backgrounds are colourful pictures, not a few flat areas.
    for (const char* name : {"vok_zumber.pcx", "vok_logo.pcx", "vok_lomur.pcx", "vok_girl.pcx", "vok_vesk.pcx"}) {
        SCOPED_TRACE(name);
        EXPECT_GT(distinctColours(*load(name)), 1500u);
    }
}

TEST(DatagenPictures, HeaderNamesTheFormatAndTheSizeBothWays) {
    std::vector<std::string> names(std::begin(fullScreenPictures), std::end(fullScreenPictures));
    for (const Sprite& s : sprites) names.push_back(s.name);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> file = readFileBytes(dataFile(name));
        ASSERT_GT(file.size(), 128u);
        EXPECT_EQ(file[0], 10);  // ZSoft
        EXPECT_EQ(file[1], 5);   // version 5
        EXPECT_EQ(file[2], 1);   // run-length coded
        EXPECT_EQ(file[3], 8);   // bits per plane pixel
        EXPECT_EQ(file[65], 3);  // planes
        const int width = read16(file, 12), height = read16(file, 14);
        EXPECT_EQ(read16(file, 4), 0);
        EXPECT_EQ(read16(file, 6), 0);
        EXPECT_EQ(read16(file, 8), width - 1);
        EXPECT_EQ(read16(file, 10), height - 1);
        EXPECT_EQ(read16(file, 66), width);  // bytes per plane line: no pad byte
        const ImagePtr image = load(name);
        EXPECT_EQ(decodeStrictly(file, width, height), rgbOf(*image)) << "the show's reader decodes otherwise";
    }
}

TEST(DatagenPictures, OverlaysAreBrightTextOnBlack) {
    for (const char* name : overlays) {
        SCOPED_TRACE(name);
        const ImagePtr image = load(name);
        int black = 0, bright = 0;
        long long sum = 0;
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) {
                const uint32_t p = image->pixelAt(x, y) & 0xFFFFFF;
                black += p == 0;
                bright += brightest(p) >= 200;
                sum += red(p) + green(p) + blue(p);
            }
        // Black around the glowing lines, and dark on average: added onto a
        // picture it leaves most of it as it was.
        EXPECT_GT(black, image->count() * 45 / 100);
        EXPECT_LT(sum / (3 * image->count()), 40);
        EXPECT_GT(bright, image->count() * 2 / 100);
        // The borders stay black, so the jittered copies show no edge.
        for (int x = 0; x < image->width; ++x) {
            EXPECT_EQ(image->pixelAt(x, 0) & 0xFFFFFF, 0u);
            EXPECT_EQ(image->pixelAt(x, image->height - 1) & 0xFFFFFF, 0u);
        }
    }
}

TEST(DatagenPictures, MaskIsSmoothGreyThatTilesAndSpansAllWeights) {
    const ImagePtr mask = load("vok_mask.pcx");
    int lowest = 255, highest = 0, steepest = 0;
    for (int y = 0; y < mask->height; ++y)
        for (int x = 0; x < mask->width; ++x) {
            const uint32_t p = mask->pixelAt(x, y);
            ASSERT_TRUE(red(p) == green(p) && green(p) == blue(p)) << x << "," << y;
            lowest = std::min<int>(lowest, red(p));
            highest = std::max<int>(highest, red(p));
            // Neighbours across the edges too: the cross-fade scrolls the mask with wrap-around.
            const uint32_t right = mask->pixelAt((x + 1) % mask->width, y);
            const uint32_t below = mask->pixelAt(x, (y + 1) % mask->height);
            steepest = std::max({steepest, std::abs(red(p) - red(right)), std::abs(red(p) - red(below))});
        }
    EXPECT_LE(lowest, 5);
    EXPECT_GE(highest, 250);
    EXPECT_LE(steepest, 16);
}

TEST(DatagenPictures, SpritesGlowOnBlackAndStayOnScreenAlongTheirPaths) {
    for (const Sprite& s : sprites) {
        SCOPED_TRACE(s.name);
        const ImagePtr sprite = load(s.name);
        ASSERT_GT(sprite->width, 8);
        ASSERT_GT(sprite->height, 8);
        EXPECT_LE(sprite->width, 80);
        EXPECT_LE(sprite->height, 80);
        EXPECT_LE(s.maxX + sprite->width, 320);
        EXPECT_LE(s.maxY + sprite->height, 240);
        for (int x = 0; x < sprite->width; ++x)
            for (int y : {0, sprite->height - 1}) {
                EXPECT_EQ(sprite->pixelAt(x, y) & 0xFFFFFF, 0u);
                EXPECT_EQ(sprite->pixelAt(y * sprite->width / sprite->height, x * sprite->height / sprite->width) &
                              0xFFFFFF,
                          0u);
            }
        EXPECT_GE(brightest(sprite->pixelAt(sprite->width / 2, sprite->height / 2)), 200);
    }
}

TEST(DatagenPictures, LensPictureHasFineDetailWhereTheLensMoves) {
    // The lens corner runs over x 46..174 and y 24..56 and the lens is 100x100.
    const ImagePtr picture = load("vok_vesk.pcx");
    long long change = 0, pixels = 0;
    for (int y = 24; y < 156; ++y)
        for (int x = 46; x < 273; ++x, ++pixels) {
            const uint32_t a = picture->pixelAt(x, y), b = picture->pixelAt(x + 1, y);
            change += std::abs(red(a) - red(b)) + std::abs(green(a) - green(b)) + std::abs(blue(a) - blue(b));
        }
    EXPECT_GT(change / pixels, 12);
}

TEST(DatagenPicturesExternal, IdentifyReadsEveryPictureAtItsSize) {
    if (!toolAvailable("identify")) GTEST_SKIP() << "ImageMagick's identify is not installed";
    for (const char* name : fullScreenPictures) {
        SCOPED_TRACE(name);
        EXPECT_EQ(commandOutput("identify -format '%m %w %h' '" + dataFile(name) + "' 2>&1"), "PCX 320 240");
    }
    for (const Sprite& s : sprites) {
        const ImagePtr sprite = load(s.name);
        EXPECT_EQ(commandOutput("identify -format '%m %w %h' '" + dataFile(s.name) + "' 2>&1"),
                  "PCX " + std::to_string(sprite->width) + " " + std::to_string(sprite->height));
    }
}

TEST(DatagenPicturesExternal, FfmpegDecodesTheSamePixels) {
    if (!toolAvailable("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    std::vector<std::string> names(std::begin(fullScreenPictures), std::end(fullScreenPictures));
    for (const Sprite& s : sprites) names.push_back(s.name);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string decoded = commandOutput("ffmpeg -v error -i '" + dataFile(name) +
                                                  "' -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
        const std::vector<uint8_t> ours = rgbOf(*load(name));
        ASSERT_EQ(decoded.size(), ours.size());
        EXPECT_TRUE(std::equal(ours.begin(), ours.end(), reinterpret_cast<const uint8_t*>(decoded.data())));
    }
}
