// The three overlays of the last scenes: bright text on black, added onto the
// fractal with saturation (and jittered), so every pixel away from the text
// is exactly black and the strokes are thick enough to read over a busy
// background.
#include <string>
#include <vector>

#include "text/font.h"
#include "pictures.h"
#include "text_painter.h"

namespace {

constexpr int width = 320, height = 240;

struct Line {
    std::string text;
    double centreX, top, dot;
    uint32_t colour;  // stroke colour at the top; it warms towards the bottom
    uint32_t glow;
};

void paintLine(Canvas& c, const Line& line) {
    const double reach = line.dot * 4, radius = line.dot * 0.5;
    const TextPlacement place = centredText(line.text, line.centreX, line.top, line.dot);
    const Layer distance = textDistance(width, height, line.text, place, reach);
    addGlow(c, distance, radius, line.dot * 1.2, reach, hexColour(line.glow) * 0.55);
    const Rgb top = hexColour(line.colour), bottom = mix(top, hexColour(0xffb060), 0.35);
    paintStrokes(c, distance, radius, [&](int, int y) {
        return mix(top, bottom, clamp01((y + 0.5 - line.top) / (glyphRows * line.dot)));
    });
}

Canvas paintLines(const std::vector<Line>& lines) {
    Canvas c(width, height);
    for (const Line& line : lines) paintLine(c, line);
    return c;
}

constexpr uint32_t gold = 0xfff0a0, white = 0xf4fbff, cyan = 0x8ff4ff, pink = 0xff9fd8;
constexpr uint32_t blueGlow = 0x2050ff, pinkGlow = 0xd0208f, amberGlow = 0xff7a10;

}  // namespace

Canvas paintCredits() {
    return paintLines({
        {"ZUMBER", 160, 18, 4.0, gold, amberGlow},
        {"BY VOK", 160, 52, 2.0, white, pinkGlow},
        {"CODE", 160, 74, 2.0, cyan, blueGlow},
        {"NOMAD & KRILL", 160, 90, 2.8, white, blueGlow},
        {"GRAPHICS", 160, 122, 2.0, cyan, blueGlow},
        {"PIXELMOTH", 160, 138, 2.8, white, blueGlow},
        {"MUSIC", 160, 170, 2.0, cyan, blueGlow},
        {"SUBTONE", 160, 186, 2.8, white, blueGlow},
        {"SEE YOU AT THE NEXT PARTY", 160, 221, 1.4, pink, pinkGlow},
    });
}

Canvas paintThanks() {
    return paintLines({
        {"THANKS", 160, 20, 4.2, gold, amberGlow},
        {"TO THE PARTY CREW", 160, 70, 2.0, white, pinkGlow},
        {"FOR THE BIG SCREEN", 160, 90, 2.0, white, pinkGlow},
        {"TO OUR FAMILIES", 160, 120, 2.0, cyan, blueGlow},
        {"FOR THE PATIENCE ^", 160, 140, 2.0, cyan, blueGlow},
        {"AND TO YOU", 160, 176, 2.6, gold, amberGlow},
        {"FOR WATCHING!", 160, 200, 2.6, gold, amberGlow},
    });
}

Canvas paintGreetings() {
    std::vector<Line> lines = {{"GREETINGS", 160, 14, 3.6, gold, amberGlow}};
    const std::vector<std::string> groups = {"MOSSBYTE", "ZINKWERK", "PLUMIN",   "NOCTUA",   "TAPIOCA",  "VELOURS",
                                             "OKRA",     "HEXAPOD",  "FJORDLINE", "SALMIAK", "QUADRILLE", "BLINKFABRIK"};
    for (size_t i = 0; i < groups.size(); ++i) {
        const bool left = i % 2 == 0;
        const double top = 62 + static_cast<double>(i / 2) * 26;
        lines.push_back({groups[i], left ? 86.0 : 234.0, top, 1.9, left ? cyan : pink, left ? blueGlow : pinkGlow});
    }
    return paintLines(lines);
}
