#pragma once
#include <cstdint>
#include <vector>

// Building blocks of the synthesised samples. Every sample is made at
// kSynthRate, four times the XM base rate of 8363 Hz, so it plays at its own
// pitch on C-4 with relative note +24.

constexpr double kSynthRate = 8363.0 * 4;
constexpr int kSynthRelativeNote = 24;

// A waveform with `length` frames that loops seamlessly: the sum of layers,
// each a stack of harmonics of a base that repeats `cycles` times in the loop.
struct HarmonicLayer {
    int cycles;
    double gain;
};
std::vector<double> additiveLoop(int length, const std::vector<double>& harmonicAmplitudes,
                                 const std::vector<HarmonicLayer>& layers);

// Harmonic amplitudes 1/k^rolloff for k = 1..count; odd harmonics only when
// `oddOnly` (a square-like tone instead of a saw-like one).
std::vector<double> harmonicSeries(int count, double rolloff, bool oddOnly);

// A reproducible white-noise source in [-1, 1).
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
    double next();

private:
    uint32_t state_;
};

// Exponential decay reaching 1/e after `seconds`.
double decay(double timeSeconds, double seconds);

// The signal with its last `seconds` faded linearly to silence, so a one-shot
// sample does not click where it stops.
std::vector<double> fadeOut(std::vector<double> signal, double seconds);

// One-pole filters run over a whole signal, `cutoff` in Hz.
std::vector<double> lowPass(const std::vector<double>& signal, double cutoff);
std::vector<double> highPass(const std::vector<double>& signal, double cutoff);

// The signal scaled so its largest magnitude is `peak` of full scale, as
// 16-bit frames.
std::vector<int16_t> toFrames(const std::vector<double>& signal, double peak);
