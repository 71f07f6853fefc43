// Checks a screenshot of the Windows program: the picture shows in the
// desktop's format, each of its pixels a square of SCALE x SCALE, either
// somewhere near the top left (a window: --search) or at (X, Y) with every
// other pixel of the screen black (full screen: --at). At 24 and 32 bits per
// pixel every channel must match exactly; at 16 bits (5-6-5) only the bits
// that survive the conversion are compared. With --faded the picture may be
// dimmed, as during the fade-in, by one factor from 0.3 to 1 for the whole
// picture, give or take one step of each channel.
//
//   vok_shot_check PICTURE.pcx SHOT.rgb WIDTH HEIGHT BITS (--search SCALE | --at X Y SCALE) [--faded]
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

// Where the picture is looked for: its top-left corner and its scale.
struct Place {
    int x = 0, y = 0, scale = 1;
    bool inside(const Screenshot& shot) const {
        return x >= 0 && y >= 0 && x + screenWidth * scale <= shot.width && y + screenHeight * scale <= shot.height;
    }
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

bool matchesAt(const uint8_t* expected, const unsigned char* seen, const Tolerance& t) {  // BGR against RGB
    return channelMatches(seen[0], expected[2], t.redShift, t) && channelMatches(seen[1], expected[1], t.greenShift, t) &&
           channelMatches(seen[2], expected[0], t.blueShift, t);
}

// Every screen pixel of picture pixel (px, py) shows it.
bool pixelMatches(const Image& picture, const Screenshot& shot, const Tolerance& t, int px, int py, const Place& p) {
    const uint8_t* expected = picture.pixels + 4 * (py * screenWidth + px);
    for (int dy = 0; dy < p.scale; ++dy)
        for (int dx = 0; dx < p.scale; ++dx)
            if (!matchesAt(expected, shot.at(p.x + px * p.scale + dx, p.y + py * p.scale + dy), t)) return false;
    return true;
}

// For a faded picture: the one factor that best explains the screenshot at
// the place, measured over a spread of pixels.
void measureFade(const Image& picture, const Screenshot& shot, Tolerance& t, const Place& p) {
    if (!t.faded) return;
    double seenTimesExpected = 0, expectedSquared = 0;
    for (int i = 0; i < 997; ++i) {
        int px = (i * 37) % screenWidth, py = (i * 53) % screenHeight;
        const uint8_t* expected = picture.pixels + 4 * (py * screenWidth + px);
        const unsigned char* seen = shot.at(p.x + px * p.scale, p.y + py * p.scale);
        for (int c = 0; c < 3; ++c) {
            seenTimesExpected += (seen[c] + 0.5) * expected[2 - c];  // the fade truncates: half a step down on average
            expectedSquared += double(expected[2 - c]) * expected[2 - c];
        }
    }
    t.fade = expectedSquared > 0 ? std::min(1.0, seenTimesExpected / expectedSquared) : 0;
    t.steps = t.fade >= 0.3 ? 1 : -1;  // too dark to tell the picture from black: nothing matches
}

// Counts the pixels of the picture that the screenshot shows differently at the place.
long mismatches(const Image& picture, const Screenshot& shot, const Tolerance& t, const Place& p, long stopAfter) {
    long count = 0;
    for (int y = 0; y < screenHeight; ++y)
        for (int x = 0; x < screenWidth; ++x)
            if (!pixelMatches(picture, shot, t, x, y, p) && ++count >= stopAfter) return count;
    return count;
}

// Pixels of the screen outside the picture that are not black.
long litOutside(const Screenshot& shot, const Place& p) {
    long count = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const bool inPicture = x >= p.x && y >= p.y && x < p.x + screenWidth * p.scale && y < p.y + screenHeight * p.scale;
            const unsigned char* seen = shot.at(x, y);
            if (!inPicture && (seen[0] | seen[1] | seen[2]) != 0) ++count;
        }
    return count;
}

// A quick look at a few spread-out pixels before the full comparison.
bool samplesMatch(const Image& picture, const Screenshot& shot, Tolerance& t, const Place& p) {
    measureFade(picture, shot, t, p);
    for (int i = 0; i < 97; ++i) {
        int px = (i * 37) % screenWidth, py = (i * 53) % screenHeight;
        if (!pixelMatches(picture, shot, t, px, py, p)) return false;
    }
    return true;
}

bool readShot(const char* path, Screenshot& shot) {
    std::ifstream in(path, std::ios::binary);
    shot.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return shot.rgb.size() == 3 * static_cast<size_t>(shot.width) * shot.height;
}

int checkAt(const Image& picture, const Screenshot& shot, Tolerance& t, const Place& p) {
    if (!p.inside(shot)) {
        std::printf("the picture at (%d, %d) x%d does not fit a %dx%d screen\n", p.x, p.y, p.scale, shot.width, shot.height);
        return 1;
    }
    measureFade(picture, shot, t, p);
    const long wrong = mismatches(picture, shot, t, p, screenPixels);
    const long lit = litOutside(shot, p);
    std::printf("at (%d, %d) x%d: %ld of 76800 pixels differ (fade %.3f), %ld lit pixels around it\n", p.x, p.y, p.scale,
                wrong, t.fade, lit);
    return wrong == 0 && lit == 0 ? 0 : 1;
}

// The window's client area lies near the top left: the window is placed at
// (10, 10), and its frame and caption come before the client area.
int search(const Image& picture, const Screenshot& shot, Tolerance& t, int scale) {
    for (int y0 = 0; y0 <= 120; ++y0)
        for (int x0 = 0; x0 <= 120; ++x0) {
            const Place p{x0, y0, scale};
            if (p.inside(shot) && samplesMatch(picture, shot, t, p) && mismatches(picture, shot, t, p, 1) == 0) {
                std::printf("the picture is shown at (%d, %d) x%d (fade %.3f)\n", x0, y0, scale, t.fade);
                return 0;
            }
        }
    std::printf("the picture is not in the screenshot at x%d\n", scale);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool at = argc >= 7 && std::strcmp(argv[6], "--at") == 0;
    const int placeArguments = at ? 4 : 2;
    if (argc < 6 + placeArguments || argc > 7 + placeArguments) {
        std::fprintf(stderr, "usage: %s PICTURE.pcx SHOT.rgb WIDTH HEIGHT BITS (--search SCALE | --at X Y SCALE) [--faded]\n",
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
    Tolerance tolerance = std::atoi(argv[5]) == 16 ? Tolerance{3, 2, 3} : Tolerance{0, 0, 0};
    tolerance.faded = argc == 7 + placeArguments && std::strcmp(argv[argc - 1], "--faded") == 0;
    if (at) return checkAt(*picture, shot, tolerance, Place{std::atoi(argv[7]), std::atoi(argv[8]), std::atoi(argv[9])});
    const int scale = std::atoi(argv[7]);
    return scale >= 1 ? search(*picture, shot, tolerance, scale) : 2;
}
