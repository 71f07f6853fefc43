#include "synth_instruments.h"

#include <algorithm>
#include <cmath>

#include "synth_voice.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Tonal loops hold a base period of 128 frames: 261.34 Hz at kSynthRate, two
// cents under C-4; a finetune of +2 brings it within half a cent.
constexpr int kBasePeriod = 128;
constexpr int8_t kTonalFinetune = 2;
// Long loops repeat the base 128 times, so a layer of 129 or 127 cycles is
// detuned by about 13.5 cents and beats slowly against it (a chorus).
constexpr int kChorusLength = kBasePeriod * 128;

int frames(double seconds) { return int(seconds * kSynthRate); }

// Samples keep the default volume 64: the score gives every note its volume.
XmSample drumSample(const char* name, const std::vector<double>& signal, uint8_t panning) {
    XmSample sample;
    sample.name = name;
    sample.data = toFrames(fadeOut(signal, 0.02), 0.8);
    sample.panning = panning;
    sample.relativeNote = kSynthRelativeNote;
    return sample;
}

XmSample loopedSample(const char* name, const std::vector<double>& loop, uint8_t panning) {
    XmSample sample;
    sample.name = name;
    sample.data = toFrames(loop, 0.8);
    sample.loopStart = 0;
    sample.loopLength = uint32_t(sample.data.size());
    sample.panning = panning;
    sample.finetune = kTonalFinetune;
    sample.relativeNote = kSynthRelativeNote;
    return sample;
}

// Sine whose pitch falls from 150 Hz to 45 Hz, with a short click on top.
std::vector<double> kickSignal() {
    std::vector<double> signal(size_t(frames(0.45)));
    double phase = 0.0;
    for (size_t n = 0; n < signal.size(); ++n) {
        const double t = double(n) / kSynthRate;
        const double pitch = 45.0 + 105.0 * decay(t, 0.035);
        phase += kTwoPi * pitch / kSynthRate;
        const double body = std::sin(phase) * decay(t, 0.16);
        const double click = std::sin(phase * 3.0) * decay(t, 0.006) * 0.4;
        signal[n] = body + click;
    }
    return signal;
}

// Two short tones for the drum's shell and band-limited noise for its wires.
std::vector<double> snareSignal() {
    Noise noise(0x5EED0002);
    std::vector<double> wires(size_t(frames(0.3)));
    for (double& value : wires) value = noise.next();
    wires = highPass(lowPass(wires, 7000.0), 900.0);
    std::vector<double> signal(wires.size());
    for (size_t n = 0; n < signal.size(); ++n) {
        const double t = double(n) / kSynthRate;
        const double shell = (std::sin(kTwoPi * 185.0 * t) + 0.5 * std::sin(kTwoPi * 330.0 * t)) * decay(t, 0.04);
        signal[n] = 0.8 * shell + 1.6 * wires[n] * decay(t, 0.12);
    }
    return signal;
}

// High-passed noise with a touch of metal (inharmonic square partials).
std::vector<double> cymbalSignal(uint32_t seed, double seconds, double decaySeconds, double cutoff) {
    Noise noise(seed);
    std::vector<double> hiss(size_t(frames(seconds)));
    for (double& value : hiss) value = noise.next();
    hiss = highPass(highPass(hiss, cutoff), cutoff);
    static const double partials[] = {3127.0, 4243.0, 5378.0, 6901.0};
    std::vector<double> signal(hiss.size());
    for (size_t n = 0; n < signal.size(); ++n) {
        const double t = double(n) / kSynthRate;
        double metal = 0.0;
        for (double partial : partials) metal += std::sin(kTwoPi * partial * t) > 0.0 ? 0.05 : -0.05;
        signal[n] = (hiss[n] + metal) * decay(t, decaySeconds);
    }
    return signal;
}

// The cymbal backwards, one bar long at 116 BPM: it swells up to the bar line.
std::vector<double> riserSignal() {
    const double barSeconds = 16 * 6 * 2.5 / 116;
    std::vector<double> signal = fadeOut(cymbalSignal(0x5EED0006, barSeconds, 0.6, 2500.0), 0.05);
    return std::vector<double>(signal.rbegin(), signal.rend());
}

XmEnvelope envelope(std::vector<XmEnvelopePoint> points, int sustainPoint) {
    XmEnvelope result;
    result.points = std::move(points);
    result.sustainPoint = sustainPoint;
    return result;
}

XmInstrument drum(const char* name, XmSample sample) {
    XmInstrument instrument;
    instrument.name = name;
    instrument.sample = std::move(sample);
    return instrument;
}

// Saw stack with a strong fundamental: round and punchy two octaves down.
XmInstrument bass() {
    std::vector<double> harmonics = harmonicSeries(28, 1.35, false);
    harmonics[0] = 1.6;
    XmInstrument instrument;
    instrument.name = "bass";
    instrument.sample = loopedSample(
        "bass", additiveLoop(kChorusLength, harmonics, {{128, 1.0}, {129, 0.35}}), 128);
    instrument.volumeEnvelope = envelope({{0, 64}, {6, 50}, {40, 38}, {46, 0}}, 2);
    instrument.fadeout = 2048;
    return instrument;
}

// Between a square and a saw, two detuned layers, delayed vibrato.
XmInstrument lead() {
    std::vector<double> harmonics = harmonicSeries(14, 1.1, false);
    for (size_t k = 1; k < harmonics.size(); k += 2) harmonics[k] *= 0.45;  // even harmonics softer
    XmInstrument instrument;
    instrument.name = "lead";
    instrument.sample = loopedSample(
        "lead", additiveLoop(kChorusLength, harmonics, {{128, 1.0}, {129, 0.6}}), 120);
    instrument.volumeEnvelope = envelope({{0, 0}, {2, 64}, {10, 50}, {60, 42}, {72, 0}}, 3);
    instrument.fadeout = 1024;
    instrument.vibratoType = 0;  // sine
    instrument.vibratoSweep = 48;
    instrument.vibratoDepth = 3;
    instrument.vibratoRate = 10;
    return instrument;
}

// Three detuned soft saws, slow swell and release.
XmInstrument pad() {
    XmInstrument instrument;
    instrument.name = "pad";
    instrument.sample = loopedSample(
        "pad", additiveLoop(kChorusLength, harmonicSeries(22, 1.6, false), {{128, 1.0}, {129, 0.8}, {127, 0.8}}), 128);
    instrument.volumeEnvelope = envelope({{0, 0}, {28, 64}, {40, 56}, {70, 0}}, 2);
    instrument.fadeout = 512;
    return instrument;
}

// Few bright harmonics with a fast decay: a plucked bell for arpeggios.
XmInstrument pluck() {
    XmInstrument instrument;
    instrument.name = "pluck";
    instrument.sample = loopedSample(
        "pluck", additiveLoop(kChorusLength, {1.0, 0.55, 0.35, 0.2, 0.12, 0.08}, {{128, 1.0}, {129, 0.5}}), 80);
    instrument.volumeEnvelope = envelope({{0, 64}, {4, 40}, {16, 14}, {40, 0}}, -1);
    return instrument;
}

}  // namespace

std::vector<XmInstrument> makeInstruments() {
    std::vector<XmInstrument> instruments;
    instruments.push_back(drum("kick", drumSample("kick", kickSignal(), 128)));
    instruments.push_back(drum("snare", drumSample("snare", snareSignal(), 136)));
    instruments.push_back(drum("closed hat", drumSample("closed hat", cymbalSignal(0x5EED0003, 0.09, 0.025, 6000.0), 168)));
    instruments.push_back(drum("open hat", drumSample("open hat", cymbalSignal(0x5EED0004, 0.4, 0.12, 5500.0), 168)));
    instruments.push_back(drum("crash", drumSample("crash", cymbalSignal(0x5EED0005, 2.2, 0.7, 3500.0), 100)));
    instruments.push_back(bass());
    instruments.push_back(lead());
    instruments.push_back(pad());
    instruments.push_back(pluck());
    instruments.push_back(drum("riser", drumSample("riser", riserSignal(), 128)));
    return instruments;
}
