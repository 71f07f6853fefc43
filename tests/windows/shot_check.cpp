// Checks a screenshot of the Windows program: the 320x240 area of the window
// (or the whole 320x240 screen) shows the given picture in the desktop's
// format. At 24 and 32 bits per pixel every channel must match exactly; at
// 16 bits (5-6-5) only the bits that survive the conversion are compared.
// With --faded the picture may be dimmed, as during the fade-in, by one factor
// from 0.3 to 1 for the whole picture, give or take one step of each channel.
//
//   vok_shot_check PICTURE.pcx SHOT.rgb WIDTH HEIGHT BITS (--search | --whole-screen) [--faded]
//
// SHOT.rgb holds WIDTH x HEIGHT pixels of three bytes (red, green, blue).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "image/pcx.h"

namespace {

struct Screenshot {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
};

struct Tolerance {
    int redShift, greenShift, blueShift;  // low bits the desktop's format drops
    bool faded = false;                   // the picture may be dimmed
    double fade = 1.0;                    // the dimming measured at the place being looked at
    int steps = 0;                        // how far off each channel may be
};

bool channelMatches(int seen, int expected, int shift, const Tolerance& t) {
    const int want = static_cast<int>(expected * t.fade) >> shift;
    const int difference = (seen >> shift) - want;
    return difference >= -t.steps && difference <= t.steps;
}

bool pixelMatches(const Image& picture, const Screenshot& shot, const Tolerance& t, int px, int py, int x0, int y0) {
    const uint8_t* expected = picture.pixels + 4 * (py * screenWidth + px);  // blue, green, red
    const unsigned char* seen = shot.at(x0 + px, y0 + py);                  // red, green, blue
    return channelMatches(seen[0], expected[2], t.redShift, t) && channelMatches(seen[1], expected[1], t.greenShift, t) &&
           channelMatches(seen[2], expected[0], t.blueShift, t);
}

// For a faded picture: the one factor that best explains the screenshot at
// (x0, y0), measured over a spread of pixels.
void measureFade(const Image& picture, const Screenshot& shot, Tolerance& t, int x0, int y0) {
    if (!t.faded) return;
    double seenTimesExpected = 0, expectedSquared = 0;
    for (int i = 0; i < 997; ++i) {
        int px = (i * 37) % screenWidth, py = (i * 53) % screenHeight;
        const uint8_t* expected = picture.pixels + 4 * (py * screenWidth + px);
        const unsigned char* seen = shot.at(x0 + px, y0 + py);
        for (int c = 0; c < 3; ++c) {
            seenTimesExpected += (seen[c] + 0.5) * expected[2 - c];  // the fade truncates: half a step down on average
            expectedSquared += double(expected[2 - c]) * expected[2 - c];
        }
    }
    t.fade = expectedSquared > 0 ? std::min(1.0, seenTimesExpected / expectedSquared) : 0;
    t.steps = t.fade >= 0.3 ? 1 : -1;  // too dark to tell the picture from black: nothing matches
}

// Counts the pixels of the picture that the screenshot shows differently at (x0, y0).
long mismatches(const Image& picture, const Screenshot& shot, const Tolerance& t, int x0, int y0, long stopAfter) {
    long count = 0;
    for (int y = 0; y < screenHeight; ++y)
        for (int x = 0; x < screenWidth; ++x)
            if (!pixelMatches(picture, shot, t, x, y, x0, y0) && ++count >= stopAfter) return count;
    return count;
}

// A quick look at a few spread-out pixels before the full comparison.
bool samplesMatch(const Image& picture, const Screenshot& shot, Tolerance& t, int x0, int y0) {
    measureFade(picture, shot, t, x0, y0);
    for (int i = 0; i < 97; ++i) {
        int px = (i * 37) % screenWidth, py = (i * 53) % screenHeight;
        if (!pixelMatches(picture, shot, t, px, py, x0, y0)) return false;
    }
    return true;
}

bool readShot(const char* path, Screenshot& shot) {
    std::ifstream in(path, std::ios::binary);
    shot.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return shot.rgb.size() == 3 * static_cast<size_t>(shot.width) * shot.height;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7 && argc != 8) {
        std::fprintf(stderr, "usage: %s PICTURE.pcx SHOT.rgb WIDTH HEIGHT BITS (--search | --whole-screen) [--faded]\n",
                     argv[0]);
        return 2;
    }
    MessageLog messages;
    std::unique_ptr<Image> picture = loadPcx(ShowContext(messages), argv[1]);
    if (!picture->isScreenSized()) {
        std::fprintf(stderr, "%s is not a 320x240 picture\n", argv[1]);
        return 2;
    }
    Screenshot shot;
    shot.width = std::atoi(argv[3]);
    shot.height = std::atoi(argv[4]);
    if (shot.width < screenWidth || shot.height < screenHeight || !readShot(argv[2], shot)) {
        std::fprintf(stderr, "%s is not a %sx%s RGB screenshot\n", argv[2], argv[3], argv[4]);
        return 2;
    }
    int bits = std::atoi(argv[5]);
    Tolerance tolerance = bits == 16 ? Tolerance{3, 2, 3} : Tolerance{0, 0, 0};
    tolerance.faded = argc == 8 && std::strcmp(argv[7], "--faded") == 0;
    bool wholeScreen = std::strcmp(argv[6], "--whole-screen") == 0;

    if (wholeScreen) {
        if (shot.width != screenWidth || shot.height != screenHeight) {
            std::fprintf(stderr, "the screen is %dx%d, not 320x240\n", shot.width, shot.height);
            return 1;
        }
        measureFade(*picture, shot, tolerance, 0, 0);
        long wrong = mismatches(*picture, shot, tolerance, 0, 0, screenPixels);
        std::printf("whole screen: %ld of 76800 pixels differ (fade %.3f)\n", wrong, tolerance.fade);
        return wrong == 0 ? 0 : 1;
    }
    // The window's client area lies near the top left: the window is placed
    // at (10, 10), and its frame and caption come before the client area.
    for (int y0 = 0; y0 <= 120 && y0 + screenHeight <= shot.height; ++y0)
        for (int x0 = 0; x0 <= 120 && x0 + screenWidth <= shot.width; ++x0)
            if (samplesMatch(*picture, shot, tolerance, x0, y0) && mismatches(*picture, shot, tolerance, x0, y0, 1) == 0) {
                std::printf("the picture is shown at (%d, %d) (fade %.3f)\n", x0, y0, tolerance.fade);
                return 0;
            }
    std::printf("the picture is not in the screenshot\n");
    return 1;
}
