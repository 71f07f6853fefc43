// The scenes of the show, in order. A scene is one row: its name, its end
// bound, the effect stage it needs and its draw step.
#include "demo/scenes.h"

namespace {

// One unit of the show, as a float; every scene bound is a multiple of it.
constexpr float unit = 8.2758f;

// A bound of whole units is rounded to float; a bound of half units stays in double.
constexpr double units(int k) { return static_cast<float>(unit * static_cast<float>(k)); }
constexpr double halfUnits(double k) { return static_cast<double>(unit) * k; }

}  // namespace

const Scene sceneTable[] = {
    {"title fade-in", units(1), 1, fadeScene},
    {"logo wave", units(2), 2, logoWaveScene},
    {"lomur wave", units(3), 2, lomurWaveScene},
    {"letter V", halfUnits(3.5), 2, letterVScene},
    {"letter O", units(4), 2, letterOScene},
    {"letter K", halfUnits(4.5), 2, letterKScene},
    {"letter E", units(5), 2, letterEScene},
    {"sprites", units(6), 2, spriteScene},
    {"channel drift", units(7), 3, channelDriftScene},
    {"masked cross-fade", units(8), 4, crossFadeScene},
    {"lens", units(9), 5, lensScene},
    {"credits jitter", units(10), 6, creditsJitterScene},
    {"object and thanks", units(11), 6, thanksObjectScene},
    {"object and greets", units(12), 6, greetsObjectScene},
};

const int sceneCount = sizeof sceneTable / sizeof sceneTable[0];
const int sceneEnd = sceneCount;
