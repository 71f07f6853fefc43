#include "synth_voice.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

std::vector<double> additiveLoop(int length, const std::vector<double>& harmonicAmplitudes,
                                 const std::vector<HarmonicLayer>& layers) {
    std::vector<double> signal(size_t(length), 0.0);
    for (const HarmonicLayer& layer : layers) {
        for (size_t h = 0; h < harmonicAmplitudes.size(); ++h) {
            const double amplitude = harmonicAmplitudes[h] * layer.gain;
            const long long turns = (long long)(h + 1) * layer.cycles;  // whole turns per loop
            if (amplitude == 0.0 || 2 * turns >= length) continue;      // stay below Nyquist
            for (int n = 0; n < length; ++n) {
                // Whole turns reduced first, so the phase stays exact over the loop.
                const long long step = (turns * n) % length;
                signal[size_t(n)] += amplitude * std::sin(kTwoPi * double(step) / double(length));
            }
        }
    }
    return signal;
}

std::vector<double> harmonicSeries(int count, double rolloff, bool oddOnly) {
    std::vector<double> amplitudes(size_t(count), 0.0);
    for (int k = 1; k <= count; ++k) {
        if (oddOnly && k % 2 == 0) continue;
        amplitudes[size_t(k - 1)] = 1.0 / std::pow(double(k), rolloff);
    }
    return amplitudes;
}

double Noise::next() {
    // xorshift32: the same sequence on every platform.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return double(state_) / 2147483648.0 - 1.0;
}

double decay(double timeSeconds, double seconds) { return std::exp(-timeSeconds / seconds); }

std::vector<double> fadeOut(std::vector<double> signal, double seconds) {
    const size_t length = std::min(signal.size(), size_t(seconds * kSynthRate));
    for (size_t i = 0; i < length; ++i) signal[signal.size() - 1 - i] *= double(i) / double(length);
    return signal;
}

std::vector<double> lowPass(const std::vector<double>& signal, double cutoff) {
    const double a = 1.0 - std::exp(-kTwoPi * cutoff / kSynthRate);
    std::vector<double> out(signal.size());
    double state = 0.0;
    for (size_t i = 0; i < signal.size(); ++i) {
        state += a * (signal[i] - state);
        out[i] = state;
    }
    return out;
}

std::vector<double> highPass(const std::vector<double>& signal, double cutoff) {
    const std::vector<double> low = lowPass(signal, cutoff);
    std::vector<double> out(signal.size());
    for (size_t i = 0; i < signal.size(); ++i) out[i] = signal[i] - low[i];
    return out;
}

std::vector<int16_t> toFrames(const std::vector<double>& signal, double peak) {
    double largest = 0.0;
    for (double value : signal) largest = std::max(largest, std::fabs(value));
    const double scale = largest > 0.0 ? peak * 32767.0 / largest : 0.0;
    std::vector<int16_t> frames(signal.size());
    for (size_t i = 0; i < signal.size(); ++i) frames[i] = int16_t(std::lround(signal[i] * scale));
    return frames;
}
