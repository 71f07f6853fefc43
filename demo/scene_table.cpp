// The scenes of the show, in order. A scene is one row: its name, its end
// bound, the effect stage it needs, its draw step and, for a 3D scene, how
// it turns its mesh. docs/architecture.md says how to add one.
#include "demo/scenes.h"

namespace {

// One unit of the show, as a float; every scene bound is a multiple of it.
constexpr float unit = 8.2758f;

// A bound of whole units is rounded to float; a bound of half units stays in double.
constexpr double units(int k) { return static_cast<float>(unit * static_cast<float>(k)); }
constexpr double halfUnits(double k) { return static_cast<double>(unit) * k; }

constexpr SceneMesh letter(double depth) { return {MeshTurn::Letter, depth, 1}; }
constexpr SceneMesh object(double nearest, int32_t range) { return {MeshTurn::Object, nearest, range}; }

}  // namespace

const Scene sceneTable[] = {
    {"title fade-in", units(1), EffectStage::Fader, fadeScene},
    {"logo wave", units(2), EffectStage::FaderGone, logoWaveScene},
    {"lomur wave", units(3), EffectStage::FaderGone, lomurWaveScene},
    {"letter V", halfUnits(3.5), EffectStage::FaderGone, letterScene, letter(300.0)},
    {"letter O", units(4), EffectStage::FaderGone, letterScene, letter(300.0)},
    {"letter K", halfUnits(4.5), EffectStage::FaderGone, letterScene, letter(300.0)},
    {"letter E", units(5), EffectStage::FaderGone, letterScene, letter(200.0)},
    {"sprites", units(6), EffectStage::FaderGone, spriteScene},
    {"channel drift", units(7), EffectStage::ChannelDrift, channelDriftScene},
    {"masked cross-fade", units(8), EffectStage::CrossFade, crossFadeScene},
    {"lens", units(9), EffectStage::Lens, lensScene},
    {"credits jitter", units(10), EffectStage::AllGone, creditsJitterScene},
    {"object and thanks", units(11), EffectStage::AllGone, thanksObjectScene, object(200.0, 100)},
    {"object and greets", units(12), EffectStage::AllGone, greetsObjectScene, object(150.0, 150)},
};

const int sceneCount = sizeof sceneTable / sizeof sceneTable[0];
const int sceneEnd = sceneCount;
