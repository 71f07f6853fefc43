// The scenes of the show, in order. A scene is one row: its name, its end
// bound, the effect stage it needs, its draw step, the data files it draws
// and, for a 3D scene, how it turns its mesh. docs/architecture.md says how
// to add one.
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
    {"title fade-in", units(1), EffectStage::Fader, fadeScene, {"vok_zumber.pcx"}},
    {"logo wave", units(2), EffectStage::FaderGone, growingWaveScene, {"vok_logo.pcx"}},
    {"lomur wave", units(3), EffectStage::FaderGone, shrinkingWaveScene, {"vok_lomur.pcx"}},
    {"letter V", halfUnits(3.5), EffectStage::FaderGone, letterScene, {"vok_lomur.pcx", "v.ase"}, letter(300.0)},
    {"letter O", units(4), EffectStage::FaderGone, letterScene, {"vok_lomur.pcx", "o.ase"}, letter(300.0)},
    {"letter K", halfUnits(4.5), EffectStage::FaderGone, letterScene, {"vok_lomur.pcx", "k.ase"}, letter(300.0)},
    {"letter E", units(5), EffectStage::FaderGone, letterScene, {"vok_lomur.pcx", "e.ase"}, letter(200.0)},
    {"sprites", units(6), EffectStage::FaderGone, spriteScene, {"vok_girl.pcx", "part1.pcx", "part2.pcx", "part3.pcx"}},
    {"channel drift", units(7), EffectStage::ChannelDrift, channelDriftScene, {"vok_girl.pcx", "vok_zumber.pcx"}},
    {"masked cross-fade", units(8), EffectStage::CrossFade, crossFadeScene,
     {"vok_vesk.pcx", "vok_girl.pcx", "vok_mask.pcx"}},
    {"lens", units(9), EffectStage::Lens, lensScene, {"vok_vesk.pcx"}},
    {"credits jitter", units(10), EffectStage::AllGone, jitterScene, {"vok_vesk.pcx", "vok_credit.pcx"}},
    {"object and thanks", units(11), EffectStage::AllGone, objectJitterScene,
     {"vok_vesk.pcx", "vok_thanks.pcx", "test.ase"}, object(200.0, 100)},
    {"object and greets", units(12), EffectStage::AllGone, objectOverlayScene,
     {"vok_vesk.pcx", "vok_greets.pcx", "test.ase"}, object(150.0, 150)},
};

const int sceneCount = sizeof sceneTable / sizeof sceneTable[0];
const int sceneEnd = sceneCount;
